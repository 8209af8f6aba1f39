// The peer of our PNG encoder: libpng writing the same 24-bit picture to
// memory at the same zlib level, window, memory level and strategy, once
// with filter type none on every row and once with libpng's own choice of
// filter per row (all five tried, its default for truecolour). Built when
// libpng is found.
#ifdef HUELOOM_BENCH_HAVE_LIBPNG
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "image_synth.h"

namespace {

using hueloom::image::Dib;

const Dib& peerPicture(int kind) {
    static Dib cache[2];
    if (cache[kind].isNull()) cache[kind] = kind == 0 ? hueloom::bench::screenshot() : hueloom::bench::photo();
    return cache[kind];
}

void appendData(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void noFlush(png_structp) {}

std::size_t libpngEncode(const Dib& d, int level, bool adaptive, std::vector<std::uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &out, appendData, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(d.width()), static_cast<png_uint_32>(d.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, adaptive ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
    png_set_compression_level(png, level);
    png_set_compression_window_bits(png, 15);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_gAMA_fixed(png, info, 45455);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < d.height(); ++y) png_write_row(png, const_cast<png_bytep>(d.scanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out.size();
}

void BM_PeerLibpngEncode(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const int level = static_cast<int>(state.range(1));
    const bool adaptive = state.range(2) != 0;
    const Dib& src = peerPicture(kind);
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(src.width()) * src.height() * 3 / 2);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = libpngEncode(src, level, adaptive, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel(std::string(kind == 0 ? "screenshot" : "photo") + " level " + std::to_string(level) +
                   (adaptive ? " adaptive filters" : " filter none"));
}
BENCHMARK(BM_PeerLibpngEncode)
    ->ArgsProduct({{0, 1}, {0, 1, 6, 9}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
#endif
