// The image engine's own time for the image-edit commands on a given picture
// (the capture bench/ui_bench.py saved), as the program runs them on a
// 32-bit capture: median milliseconds of 5 runs for each, one line
//     reduce256 <ms> invert <ms> grayscale <ms> undo <ms>
// where undo is reading the snapshot back (the snapshot is written before
// the command is reported done).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "image/bmp.h"
#include "image/codecs/png_decoder.h"
#include "image/file_io.h"
#include "image/filters.h"
#include "image/reduce.h"

using hueloom::image::Dib;

namespace {

double medianMs(const std::function<void()>& fn) {
    std::vector<double> t;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    return t[2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PICTURE.png WORK-FOLDER\n", argv[0]);
        return 2;
    }
    const Dib png = hueloom::codecs::decodePng(hueloom::image::readFileBytes(argv[1], UINT64_MAX));
    const Dib wide = hueloom::image::toBpp24(png);
    Dib capture(wide.width(), wide.height(), 32);  // as a screen capture holds it
    std::vector<std::uint8_t> row(static_cast<std::size_t>(wide.width()) * 3);
    for (int y = 0; y < wide.height(); ++y) {
        const std::uint8_t* s = wide.scanLine(y);
        std::uint8_t* d = capture.scanLine(y);
        for (int x = 0; x < wide.width(); ++x) std::memcpy(d + 4 * x, s + 3 * x, 3);
    }
    const std::filesystem::path snapshot = std::filesystem::path(argv[2]) / "engine-undo.tmp";
    hueloom::image::saveBmp(capture, snapshot);
    Dib out;
    std::printf("reduce256 %.1f", medianMs([&] { out = hueloom::image::reduceTo256(capture); }));
    std::printf(" invert %.1f", medianMs([&] { out = hueloom::image::invert(capture); }));
    std::printf(" grayscale %.1f", medianMs([&] { out = hueloom::image::grayscale(capture); }));
    std::printf(" undo %.1f\n", medianMs([&] { out = hueloom::image::loadBmp(snapshot); }));
    std::filesystem::remove(snapshot);
    return 0;
}
