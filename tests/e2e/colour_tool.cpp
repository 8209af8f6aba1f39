// colour_tool PROFILE IN OUT: the "r g b" lines of IN converted from PROFILE
// to sRGB as the magnifier converts them, written to OUT (test_colour.py).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <vector>

#include "colour_management/colour_transform_win.h"
#include "image/file_io.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: colour_tool PROFILE IN OUT\n");
        return 2;
    }
    try {
        using namespace hueloom;
        const colour_management::ColourTransform transform(
            image::readFileBytes(std::filesystem::path(argv[1]), 16u << 20));
        std::vector<Rgb> colours;
        FILE* in = _wfopen(argv[2], L"r");
        if (!in) throw std::runtime_error("cannot read the colours");
        for (int r, g, b; std::fscanf(in, "%d %d %d", &r, &g, &b) == 3;)
            colours.push_back({static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)});
        std::fclose(in);
        transform.toSrgb(colours);
        FILE* out = _wfopen(argv[3], L"w");
        if (!out) throw std::runtime_error("cannot write the results");
        for (const Rgb& c : colours) std::fprintf(out, "%d %d %d\n", c.r, c.g, c.b);
        std::fclose(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
