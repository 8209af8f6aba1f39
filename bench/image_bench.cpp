// Benchmarks of the image engine on 4K pictures: 256-colour reduction,
// invert, grayscale, PNG and JPEG encoding. bench/compare_image.sh runs the
// peers (ImageMagick, libpng, cjpeg) on the same pixels and prints ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>

#include "editing/region_edits.h"
#include "image/codecs/jpeg_writer.h"
#include "image/codecs/png_writer.h"
#include "image/filters.h"
#include "image/reduce.h"
#include "image_synth.h"

namespace {

using hueloom::image::Dib;

const Dib& picture(int kind, int bpp) {
    // kind 0: screenshot-like, 1: photo-like
    static Dib cache[2][2];
    Dib& d = cache[kind][bpp == 32 ? 1 : 0];
    if (d.isNull()) d = kind == 0 ? hueloom::bench::screenshot(bpp) : hueloom::bench::photo(bpp);
    return d;
}

const char* kindName(int kind) { return kind == 0 ? "screenshot" : "photo"; }

void setPixelRate(benchmark::State& state, const Dib& d) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(d.width()) * d.height());
    state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(d.width()) * d.height() / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// Resident set size and its peak, in bytes (Linux /proc).
long procStatus(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string k;
    long value = -1;
    std::string unit;
    while (in >> k) {
        if (k == key) {
            in >> value >> unit;
            return value * 1024;
        }
        std::getline(in, unit);
    }
    return -1;
}

void BM_Reduce256(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const Dib& src = picture(kind, 24);
    std::size_t colours = 0;
    for (auto _ : state) {
        Dib out = hueloom::image::reduceTo256(src);
        colours = out.palette().size();
        benchmark::DoNotOptimize(out.bits());
    }
    setPixelRate(state, src);
    state.counters["colours"] = static_cast<double>(colours);
    state.SetLabel(kindName(kind));

    // Peak extra memory of one reduction: reset the peak RSS, reduce, read it.
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long base = procStatus("VmRSS:");
    long peak = -1;
    {
        Dib out = hueloom::image::reduceTo256(src);
        peak = procStatus("VmHWM:");
        benchmark::DoNotOptimize(out.bits());
    }
    const double pixels = static_cast<double>(src.width()) * src.height();
    if (base > 0 && peak > 0) {
        state.counters["peak_extra_MB"] = static_cast<double>(peak - base) / 1e6;
        // Allowed: 3 bytes per pixel plus the 8-bit result.
        state.counters["budget_MB"] =
            (3 * pixels + static_cast<double>(Dib(src.width(), 1, 8).stride()) * src.height()) / 1e6;
        state.counters["peak_extra_B/px"] = static_cast<double>(peak - base) / pixels;
    }
}
BENCHMARK(BM_Reduce256)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Invert(benchmark::State& state) {
    const Dib& src = picture(0, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Dib out = hueloom::image::invert(src);
        benchmark::DoNotOptimize(out.bits());
    }
    setPixelRate(state, src);
}
BENCHMARK(BM_Invert)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Grayscale(benchmark::State& state) {
    const Dib& src = picture(0, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Dib out = hueloom::image::grayscale(src);
        benchmark::DoNotOptimize(out.bits());
    }
    setPixelRate(state, src);
}
BENCHMARK(BM_Grayscale)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime();

// The selection's edits: a 1000 × 1000 part of a 4K picture, in place.
void BM_SelectionEdit(benchmark::State& state) {
    Dib d = picture(0, 32);
    const hueloom::Rect part{1000, 500, 2000, 1500};
    for (auto _ : state) {
        if (state.range(0) == 0)
            hueloom::editing::fillRect(d, part, 0, 0, 0);
        else
            hueloom::editing::pixelate(d, part, 12);
        benchmark::DoNotOptimize(d.bits());
    }
    state.SetLabel(state.range(0) == 0 ? "fill" : "pixelate 12");
}
BENCHMARK(BM_SelectionEdit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngEncode(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const int level = static_cast<int>(state.range(1));
    const Dib& src = picture(kind, 24);
    hueloom::codecs::PngWriter writer;
    writer.setCompressionLevel(level);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto out = writer.encode(src);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    setPixelRate(state, src);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel(std::string(kindName(kind)) + " level " + std::to_string(level));

    // Peak memory of one encoding beyond the picture, the file included.
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long base = procStatus("VmRSS:");
    long peak = -1;
    {
        const auto out = writer.encode(src);
        peak = procStatus("VmHWM:");
        benchmark::DoNotOptimize(out.data());
    }
    if (base > 0 && peak > 0) state.counters["peak_extra_MB"] = static_cast<double>(peak - base) / 1e6;
}
// CPU time of the whole process, as for the peer.
BENCHMARK(BM_PngEncode)
    ->ArgsProduct({{0, 1}, {0, 1, 6, 9}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_JpegEncode(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const Dib& src = picture(kind, 24);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto out = hueloom::codecs::writeJpeg(src, 90);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    setPixelRate(state, src);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel(std::string(kindName(kind)) + " quality 90");
}
BENCHMARK(BM_JpegEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
