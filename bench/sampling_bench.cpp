// The magnifier's sampling step, without the screen copy itself: a step with
// the pointer at rest (which must cost next to nothing) against one after the
// pointer moved (enlarge 15 × 15 → 150 × 150, average, marks).
#include <benchmark/benchmark.h>

#include <vector>

#include "magnifier/sampling.h"

using namespace hueloom::magnifier;

namespace {

struct Fixture {
    std::vector<uint8_t> source = std::vector<uint8_t>(15 * 48);
    std::vector<uint8_t> viewBits = std::vector<uint8_t>(150 * 452);
    ViewBits view{viewBits.data(), 150, 150, 452};
    Fixture() {
        for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 37);
    }
};

void BM_SamplingStep_PointerAtRest(benchmark::State& state) {
    PointerTracker tracker;
    tracker.moved({500, 300});
    for (auto _ : state) {
        bool m = tracker.moved({500, 300});
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_SamplingStep_PointerAtRest);

void BM_SamplingStep_PointerMoved(benchmark::State& state) {
    Fixture f;
    PointerTracker tracker;
    const int n = static_cast<int>(state.range(0));
    int x = 0;
    for (auto _ : state) {
        if (!tracker.moved({++x, 300})) continue;
        enlarge(f.source.data(), 48, f.view);
        Sample s = sampleView(f.view, n);
        drawMarks(f.view, n, s.marker);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(f.viewBits.data());
    }
}
BENCHMARK(BM_SamplingStep_PointerMoved)->Arg(1)->Arg(3)->Arg(15);

}  // namespace
