// The picked-colour list as palette files: names and colours taken from the
// list, and each file's exact bytes. Other programs read the files in
// palette_readers.py.
#include <gtest/gtest.h>

#include <string>

#include "picking/palette_files.h"

using namespace hueloom;
using namespace hueloom::picking;

namespace {

std::string text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

PickedColours twoPicks() {
    PickedColours list;
    list.pick("rgb(255,0,0)", Rgb{255, 0, 0});
    list.pick("#FF8000", Rgb{255, 128, 0});
    return list;
}

TEST(PaletteFiles, EntriesAreNamedAsTheListNumbersThem) {
    PickedColours list = twoPicks();
    list.add("C3: rgb(1,2,3)", Rgb{1, 2, 3});
    list.add("odd\tname", Rgb{255, 255, 255});
    EXPECT_EQ(paletteEntries(list),
              (std::vector<PaletteEntry>{
                  {"C1", {255, 0, 0}}, {"C2", {255, 128, 0}}, {"C3", {1, 2, 3}}, {"odd_name", {255, 255, 255}}}));
    list.clear();
    list.pick("#0A0B0C", Rgb{10, 11, 12});
    EXPECT_EQ(paletteEntries(list), (std::vector<PaletteEntry>{{"C1", {10, 11, 12}}}));
}

TEST(PaletteFiles, MemoInAnotherFormatRewritesTheValuesAndKeepsOtherLines) {
    PickedColours list = twoPicks();
    list.add("no colon", Rgb{1, 2, 3});
    EXPECT_EQ(memoTextIn(list, ColourFormat::Hsl), "C1: hsl(0 100% 50%)\r\nC2: hsl(30.1 100% 50%)\r\nno colon\r\n");
    EXPECT_EQ(memoTextIn(list, ColourFormat::ColorRefHex), "C1: 0x000000FF\r\nC2: 0x000080FF\r\nno colon\r\n");
}

TEST(PaletteFiles, GimpPalette) {
    const auto entries = paletteEntries(twoPicks());
    EXPECT_EQ(text(gimpPaletteBytes(entries, "Picked", 8)),
              "GIMP Palette\nName: Picked\nColumns: 8\n#\n"
              "255   0   0\tC1\n"
              "255 128   0\tC2\n");
    EXPECT_EQ(text(gimpPaletteBytes({}, "Two\nlines")), "GIMP Palette\nName: Two_lines\nColumns: 0\n#\n");
}

TEST(PaletteFiles, CssCustomProperties) {
    auto entries = paletteEntries(twoPicks());
    EXPECT_EQ(text(cssPaletteBytes(entries)), ":root {\n  --c1: #FF0000;\n  --c2: #FF8000;\n}\n");
    entries.push_back({"a b;c", {1, 2, 3}});
    entries.push_back({"", {4, 5, 6}});
    EXPECT_EQ(text(cssPaletteBytes(entries)),
              ":root {\n  --c1: #FF0000;\n  --c2: #FF8000;\n  --a_b_c: #010203;\n  --_: #040506;\n}\n");
    EXPECT_EQ(text(cssPaletteBytes({})), ":root {\n}\n");
}

TEST(PaletteFiles, Json) {
    auto entries = paletteEntries(twoPicks());
    EXPECT_EQ(text(jsonPaletteBytes(entries)),
              "[\n"
              "  {\"name\": \"C1\", \"hex\": \"#FF0000\", \"rgb\": [255, 0, 0]},\n"
              "  {\"name\": \"C2\", \"hex\": \"#FF8000\", \"rgb\": [255, 128, 0]}\n"
              "]\n");
    EXPECT_EQ(text(jsonPaletteBytes({{"say \"hi\" \\", {0, 0, 0}}})),
              "[\n  {\"name\": \"say \\\"hi\\\" \\\\\", \"hex\": \"#000000\", \"rgb\": [0, 0, 0]}\n]\n");
    EXPECT_EQ(text(jsonPaletteBytes({})), "[]\n");
}

}  // namespace
