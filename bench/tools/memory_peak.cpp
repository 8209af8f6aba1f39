// Peak memory of the image commands on a big picture. One operation per
// process, so each peak is its own: the program makes a 32-bit picture
// (16384 × 16384 by default, a screen capture's format), notes its resident
// size, runs the operation as the program runs it (the result replaces the
// picture) and prints the peak resident size (VmHWM) above what it had
// before, in bytes and as a multiple of the picture's size.
//
//   hueloom_bench_memory OPERATION [SIZE] [FOLDER]
//
// Operations: invert, grayscale, reduce256, snapshot-undo, save-bmp, and
// for comparison the whole-file way that the streamed ones replaced:
// snapshot-undo-in-memory, save-bmp-in-memory.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "editing/region_edits.h"
#include "image/bmp.h"
#include "image/file_io.h"
#include "image/filters.h"
#include "image/reduce.h"
#include "image_synth.h"

namespace {

using hueloom::image::Dib;

long statusBytes(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string k, unit;
    while (in >> k) {
        if (k == key) {
            long kb = 0;
            in >> kb;
            return kb * 1024;
        }
        std::getline(in, unit);
    }
    return -1;
}

// Resets the peak to the current resident size (Linux 4.0 and later).
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

Dib bigPicture(int size) {
    // Screenshot-like: the same desktop gradient and windows as the timing
    // benchmarks, tiled up to the size.
    const Dib tile = hueloom::bench::screenshot(32, 2048, 2048);
    Dib d(size, size, 32);
    for (int y = 0; y < size; ++y)
        std::memcpy(d.scanLine(y), tile.scanLine(y % tile.height()),
                    static_cast<std::size_t>(std::min(size, tile.width())) * 4);
    for (int y = 0; y < size; ++y)
        for (int x = tile.width(); x < size; x += tile.width())
            std::memcpy(d.scanLine(y) + static_cast<std::size_t>(x) * 4, d.scanLine(y),
                        static_cast<std::size_t>(std::min(tile.width(), size - x)) * 4);
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OPERATION [SIZE] [FOLDER]\n", argv[0]);
        return 2;
    }
    const std::string op = argv[1];
    const int size = argc > 2 ? std::atoi(argv[2]) : 16384;
    const std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
    const std::filesystem::path file = folder / "hueloom-memory-bench.bmp";

    Dib picture = bigPicture(size);
    const double pictureBytes = static_cast<double>(picture.imageSize());
    resetPeak();
    const long before = statusBytes("VmRSS:");

    if (op == "invert") {
        picture = hueloom::image::invert(picture);
    } else if (op == "grayscale") {
        picture = hueloom::image::grayscale(picture);
    } else if (op == "reduce256") {
        picture = hueloom::image::reduceTo256(picture);
    } else if (op == "fill-1000") {
        hueloom::editing::fillRect(picture, hueloom::Rect{size / 3, size / 3, size / 3 + 1000, size / 3 + 1000}, 0, 0,
                                   0);
    } else if (op == "pixelate-1000") {
        hueloom::editing::pixelate(picture, hueloom::Rect{size / 3, size / 3, size / 3 + 1000, size / 3 + 1000}, 12);
    } else if (op == "snapshot-undo") {
        hueloom::image::saveBmp(picture, file);
        picture = hueloom::image::loadBmp(file);
    } else if (op == "save-bmp") {
        hueloom::image::saveBmp(picture, file);
    } else if (op == "snapshot-undo-in-memory") {
        hueloom::image::writeFileBytes(file, hueloom::image::writeBmp(picture));
        picture = hueloom::image::readBmp(hueloom::image::readFileBytes(file, UINT64_MAX));
    } else if (op == "save-bmp-in-memory") {
        hueloom::image::writeFileBytes(file, hueloom::image::writeBmp(picture));
    } else {
        std::fprintf(stderr, "unknown operation %s\n", op.c_str());
        return 2;
    }
    const long peak = statusBytes("VmHWM:");
    std::filesystem::remove(file);
    std::printf(
        "%-24s %5d x %-5d picture %7.1f MiB  peak %7.1f MiB above  = %.2f x the picture  (+ the picture itself: %.2f "
        "x)\n",
        op.c_str(), size, size, pictureBytes / 1048576.0, (peak - before) / 1048576.0, (peak - before) / pictureBytes,
        peak > 0 ? (peak - before + pictureBytes) / pictureBytes : 0.0);
    return 0;
}
