// Writes the palette files of a fixed picked-colour list into a folder, so
// that palette_readers.py can read them with other programs' parsers.
//
//   palette_tool DIR   DIR/picked.gpl, DIR/picked.css, DIR/picked.json
#include <cstdio>
#include <exception>
#include <filesystem>

#include "image/file_io.h"
#include "picking/palette_files.h"

using namespace hueloom;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: palette_tool DIR\n");
        return 2;
    }
    try {
        picking::PickedColours list;
        list.pick("rgb(255,0,0)", Rgb{255, 0, 0});
        list.pick("#FF8000", Rgb{255, 128, 0});
        list.pick("rgb(0,0,0)", Rgb{0, 0, 0});
        list.pick("#FFFFFF", Rgb{255, 255, 255});
        list.pick("rgb(12,34,56)", Rgb{12, 34, 56});
        list.pick("#663399", Rgb{102, 51, 153});
        // As the colour sample window adds its colours.
        list.add("C7: rgb(1,2,3)", Rgb{1, 2, 3});

        const std::filesystem::path dir = argv[1];
        const auto entries = picking::paletteEntries(list);
        image::writeFileBytes(dir / "picked.gpl", picking::gimpPaletteBytes(entries, "Hueloom picked colours", 4));
        image::writeFileBytes(dir / "picked.css", picking::cssPaletteBytes(entries));
        image::writeFileBytes(dir / "picked.json", picking::jsonPaletteBytes(entries));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "palette_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
