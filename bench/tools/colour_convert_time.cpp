// How long converting a captured picture to sRGB takes (the capture across
// monitors of different profiles, or with "キャプチャ画像をsRGBに変換"):
// colour_convert_time PROFILE W H converts a W x H 32-bit picture of few
// colours, as screens mostly are, and one of noise, and prints both times,
// and what the magnifier pays per sample: one colour converted.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "colour_management/colour_transform_win.h"
#include "image/file_io.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return std::fprintf(stderr, "usage: colour_convert_time PROFILE W H\n"), 2;
    using namespace hueloom;
    const colour_management::ColourTransform transform(image::readFileBytes(std::filesystem::path(argv[1]), 16u << 20));
    for (const bool noise : {false, true}) {
        image::Dib picture(_wtoi(argv[2]), _wtoi(argv[3]), 32);
        std::uint32_t state = 22;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width() * 4; ++x) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                picture.scanLine(y)[x] = static_cast<std::uint8_t>(noise ? state : (x / 256 + y / 64) * 16);
            }
        const auto start = std::chrono::steady_clock::now();
        transform.toSrgb(picture, {0, 0, picture.width(), picture.height()});
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::printf("%s: %.1f ms\n", noise ? "noise" : "few colours", took.count());
    }
    const auto start = std::chrono::steady_clock::now();
    unsigned sum = 0;
    for (int i = 0; i < 10000; ++i) sum += transform.toSrgb({static_cast<std::uint8_t>(i), 90, 30}).r;
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    std::printf("one colour: %.2f us (%u)\n", took.count() / 10000, sum % 10);
    return 0;
}
