// The contrast line under the colour-list image, and the palette file a save
// dialog's name and type ask for.
#include <gtest/gtest.h>

#include "picking/list_contrast.h"
#include "picking/palette_files.h"

using namespace hueloom;
using namespace hueloom::picking;

namespace {

TEST(ListContrast, NewestAgainstTheOneBeforeAndWhiteAndBlack) {
    PickedColours list;
    using Lines = std::vector<std::string>;
    EXPECT_EQ(listContrastLines(list), Lines{});
    list.pick("rgb(119,119,119)", Rgb{119, 119, 119});  // #777777 on white: 4.478, cut to 4.47
    EXPECT_EQ(listContrastLines(list), (Lines{"C1/white 4.47:1 AA large", "C1/black 4.68:1 AA"}));
    list.pick("#FFFFFF", Rgb{255, 255, 255});
    const Lines two{"C2/C1 4.47:1 AA large", "C2/white 1.00:1 fail", "C2/black 21.00:1 AAA"};
    EXPECT_EQ(listContrastLines(list), two);
}

TEST(ListContrast, MarksFollowTheUnroundedRatio) {
    EXPECT_STREQ(contrastMark(7.0), "AAA");
    EXPECT_STREQ(contrastMark(6.999), "AA");
    EXPECT_STREQ(contrastMark(4.5), "AA");
    EXPECT_STREQ(contrastMark(4.499), "AA large");
    EXPECT_STREQ(contrastMark(3.0), "AA large");
    EXPECT_STREQ(contrastMark(2.999), "fail");
}

TEST(PaletteTarget, TheNamesExtensionFirstThenTheChosenType) {
    EXPECT_EQ(paletteTarget("C:\\p\\a.JSON", 1).kind, PaletteKind::Json);
    EXPECT_EQ(paletteTarget("C:\\p\\a.JSON", 1).fileName, "C:\\p\\a.JSON");
    EXPECT_EQ(paletteTarget("C:\\p\\a", 2).kind, PaletteKind::Css);
    EXPECT_EQ(paletteTarget("C:\\p\\a", 2).fileName, "C:\\p\\a.css");
    EXPECT_EQ(paletteTarget("C:\\p.v2\\a", 3).fileName, "C:\\p.v2\\a.json");  // a dot in a folder is no extension
    EXPECT_EQ(paletteTarget("a.txt", 1).fileName, "a.txt.gpl");
    EXPECT_EQ(paletteTarget("a", 9).kind, PaletteKind::Gimp);
    const std::vector<PaletteEntry> one{{"C1", {255, 128, 0}}};
    EXPECT_EQ(paletteBytes(PaletteKind::Json, one, "x"), jsonPaletteBytes(one));
    EXPECT_EQ(paletteBytes(PaletteKind::Css, one, "x"), cssPaletteBytes(one));
    EXPECT_EQ(paletteBytes(PaletteKind::Gimp, one, "x"), gimpPaletteBytes(one, "x"));
}

}  // namespace
