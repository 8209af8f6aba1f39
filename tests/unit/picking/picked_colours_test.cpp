// The picked-colour list: numbering, entry and colour texts, clearing, memo.
#include <gtest/gtest.h>

#include "picking/picked_colours.h"
#include "settings/colour_key.h"

using hueloom::rgbColour;
using hueloom::picking::PickedColours;
using hueloom::picking::pickedEntryText;
using hueloom::settings::parseColourKey;

namespace {

TEST(PickedColours, FirstPickBuildsEntryAndColourText) {
    PickedColours list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.pick("rgb(12,34,56)", rgbColour(12, 34, 56)), "C1: rgb(12,34,56)");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"C1: rgb(12,34,56)"}));
    EXPECT_EQ(list.colourTexts(), (std::vector<std::string>{"$0038220C"}));
}

TEST(PickedColours, TableColoursUseTheirNamesAndFormatsCanMix) {
    PickedColours list;
    list.pick("rgb(255,255,255)", rgbColour(255, 255, 255));
    list.pick("#000000", rgbColour(0, 0, 0));
    list.pick("rgb(255,0,0)", rgbColour(255, 0, 0));
    list.pick("#FF8000", rgbColour(255, 128, 0));
    EXPECT_EQ(list.entries(),
              (std::vector<std::string>{"C1: rgb(255,255,255)", "C2: #000000", "C3: rgb(255,0,0)", "C4: #FF8000"}));
    EXPECT_EQ(list.colourTexts(), (std::vector<std::string>{"clWhite", "clBlack", "clRed", "$000080FF"}));
    // The colour-list image reads them back.
    EXPECT_EQ(parseColourKey(list.colourTexts()[3]), rgbColour(255, 128, 0));
}

TEST(PickedColours, EmptyValueTextPicksNothing) {
    PickedColours list;
    list.pick("rgb(1,2,3)", rgbColour(1, 2, 3));
    EXPECT_EQ(list.pick("", rgbColour(9, 9, 9)), "");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries().size(), 1u);
    EXPECT_EQ(list.pick("rgb(4,5,6)", rgbColour(4, 5, 6)), "C2: rgb(4,5,6)");
}

TEST(PickedColours, ClearingRestartsNumberingAtOne) {
    PickedColours list;
    for (int i = 0; i < 5; ++i) list.pick("rgb(0,0,0)", 0);
    EXPECT_EQ(list.entries().back(), "C5: rgb(0,0,0)");
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.colourTexts().empty());
    EXPECT_EQ(list.memoText(), "");
    EXPECT_EQ(list.pick("#0A0B0C", rgbColour(10, 11, 12)), "C1: #0A0B0C");
    EXPECT_EQ(list.colourTexts(), (std::vector<std::string>{"$000C0B0A"}));
}

TEST(PickedColours, AddKeepsTextsAndLeavesTheCountAlone) {
    PickedColours list;
    list.add("C7: custom", "clAqua");
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"C7: custom"}));
    EXPECT_EQ(list.colourTexts(), (std::vector<std::string>{"clAqua"}));
    EXPECT_EQ(pickedEntryText(12, "R: 12, G: 0, B: 255"), "C12: R: 12, G: 0, B: 255");
}

TEST(PickedColours, MemoHasOneCrLfLinePerEntryAndNumberingGoesOnAfterSaving) {
    PickedColours list;
    list.pick("rgb(255,0,0)", rgbColour(255, 0, 0));
    list.pick("rgb(0,128,255)", rgbColour(0, 128, 255));
    list.pick("#00FF00", rgbColour(0, 255, 0));
    EXPECT_EQ(list.memoText(), "C1: rgb(255,0,0)\r\nC2: rgb(0,128,255)\r\nC3: #00FF00\r\n");
    list.pick("#FFFFFF", rgbColour(255, 255, 255));  // the memo does not reset anything
    EXPECT_EQ(list.entries().back(), "C4: #FFFFFF");
}

}  // namespace
