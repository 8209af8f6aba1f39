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
    EXPECT_EQ(listContrastLines(list),
              (Lines{"C1/white 4.47:1 AA large, Lc 71.1 content text", "C1/black 4.68:1 AA, Lc -30.6 spot text"}));
    list.pick("#FFFFFF", Rgb{255, 255, 255});
    // White text on #777777: Lc -76.6; on white nothing to tell apart.
    const Lines two{"C2/C1 4.47:1 AA large, Lc -76.6 body text", "C2/white 1.00:1 fail, Lc 0.0 fail",
                    "C2/black 21.00:1 AAA, Lc -107.9 body text preferred"};
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
