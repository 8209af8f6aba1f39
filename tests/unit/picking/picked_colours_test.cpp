// The picked-colour list: numbering, entries and colours, clearing, memo.
#include <gtest/gtest.h>

#include "picking/picked_colours.h"

using hueloom::Rgb;
using hueloom::picking::PickedColours;
using hueloom::picking::pickedEntryText;

namespace {

TEST(PickedColours, FirstPickBuildsEntryAndColourText) {
    PickedColours list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.pick("rgb(12,34,56)", Rgb{12, 34, 56}), "C1: rgb(12,34,56)");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"C1: rgb(12,34,56)"}));
    EXPECT_EQ(list.colours(), (std::vector<Rgb>{{12, 34, 56}}));
}

TEST(PickedColours, FormatsCanMixAndTheColoursStayValues) {
    PickedColours list;
    list.pick("rgb(255,255,255)", Rgb{255, 255, 255});
    list.pick("#000000", Rgb{0, 0, 0});
    list.pick("rgb(255,0,0)", Rgb{255, 0, 0});
    list.pick("#FF8000", Rgb{255, 128, 0});
    EXPECT_EQ(list.entries(),
              (std::vector<std::string>{"C1: rgb(255,255,255)", "C2: #000000", "C3: rgb(255,0,0)", "C4: #FF8000"}));
    EXPECT_EQ(list.colours(), (std::vector<Rgb>{{255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {255, 128, 0}}));
}

TEST(PickedColours, EmptyValueTextPicksNothing) {
    PickedColours list;
    list.pick("rgb(1,2,3)", Rgb{1, 2, 3});
    EXPECT_EQ(list.pick("", Rgb{9, 9, 9}), "");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries().size(), 1u);
    EXPECT_EQ(list.pick("rgb(4,5,6)", Rgb{4, 5, 6}), "C2: rgb(4,5,6)");
}

TEST(PickedColours, ClearingRestartsNumberingAtOne) {
    PickedColours list;
    for (int i = 0; i < 5; ++i) list.pick("rgb(0,0,0)", Rgb{});
    EXPECT_EQ(list.entries().back(), "C5: rgb(0,0,0)");
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.colours().empty());
    EXPECT_EQ(list.memoText(), "");
    EXPECT_EQ(list.pick("#0A0B0C", Rgb{10, 11, 12}), "C1: #0A0B0C");
    EXPECT_EQ(list.colours(), (std::vector<Rgb>{{10, 11, 12}}));
}

TEST(PickedColours, AddKeepsTextsAndLeavesTheCountAlone) {
    PickedColours list;
    list.add("C7: custom", Rgb{0, 255, 255});
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"C7: custom"}));
    EXPECT_EQ(list.colours(), (std::vector<Rgb>{{0, 255, 255}}));
    EXPECT_EQ(pickedEntryText(12, "R: 12, G: 0, B: 255"), "C12: R: 12, G: 0, B: 255");
}

TEST(PickedColours, MemoHasOneCrLfLinePerEntryAndNumberingGoesOnAfterSaving) {
    PickedColours list;
    list.pick("rgb(255,0,0)", Rgb{255, 0, 0});
    list.pick("rgb(0,128,255)", Rgb{0, 128, 255});
    list.pick("#00FF00", Rgb{0, 255, 0});
    EXPECT_EQ(list.memoText(), "C1: rgb(255,0,0)\r\nC2: rgb(0,128,255)\r\nC3: #00FF00\r\n");
    list.pick("#FFFFFF", Rgb{255, 255, 255});  // the memo does not reset anything
    EXPECT_EQ(list.entries().back(), "C4: #FFFFFF");
}

}  // namespace
