// Information box: size and control layout from the text, and its placement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/infobox/info_box.h"

using namespace hueloom::dialogs;

namespace {

TEST(InfoBoxLayout, OneLineThirteenPixelTextGivesA124PixelBox) {
    const InfoBoxLayout l = layoutInfoBox({60, 15}, {200, 13});
    EXPECT_EQ(l.clientHeight, 124);  // 51 + 13 + 25 + 15 + 20
    EXPECT_EQ(l.clientWidth, 216);  // 8 + 200 + 8
    EXPECT_EQ(l.rule2, (Bounds{5, 64, 205, 2}));
    EXPECT_EQ(l.checkBox, (Bounds{8, 72, 105, 15}));
    EXPECT_EQ(l.okButton, (Bounds{75, 89, 65, 25}));  // (216 - 65) div 2
    EXPECT_EQ(l.content, (Bounds{8, 34, 200, 13}));
    EXPECT_EQ(l.title, (Bounds{32, 6, 60, 15}));
    EXPECT_EQ(l.rule1, (Bounds{5, 26, 124, 2}));  // 2 x 32 + title width
}

TEST(InfoBoxLayout, ShortTextKeepsTheMinimumWidthWithTheButtonCentred) {
    const InfoBoxLayout l = layoutInfoBox({20, 15}, {30, 13});
    EXPECT_EQ(l.clientWidth, 121);
    EXPECT_EQ(l.okButton.left, 28);  // (121 - 65) div 2
    EXPECT_EQ(l.rule2.width, 110);
    const InfoBoxLayout edge = layoutInfoBox({20, 15}, {105, 13});
    EXPECT_EQ(edge.clientWidth, 121);  // exactly the minimum
    EXPECT_EQ(layoutInfoBox({20, 15}, {106, 13}).clientWidth, 122);
}

TEST(InfoBoxLayout, HeightGrowsWithTheText) {
    for (int h : {0, 13, 26, 247, 400}) {
        const InfoBoxLayout l = layoutInfoBox({50, 15}, {300, h});
        EXPECT_EQ(l.clientHeight, 51 + h + 60) << h;
        EXPECT_EQ(l.rule2.top, 51 + h);
        EXPECT_EQ(l.checkBox.top, 59 + h);
        EXPECT_EQ(l.okButton.top, 76 + h);
        EXPECT_EQ(l.okButton.top + l.okButton.height + 10, l.clientHeight);
    }
}

TEST(InfoBoxMeasure, WidestLineAndOneLineHeightPerLine) {
    const auto width = [](std::string_view line) { return static_cast<int>(line.size()) * 7; };
    TextExtent e = measureLines("one\r\nthree", 13, width);
    EXPECT_EQ(e.width, 35);
    EXPECT_EQ(e.height, 26);
    e = measureLines("a\r\n\r\nlongest line\r\nb", 13, width);  // empty lines count
    EXPECT_EQ(e.width, 84);
    EXPECT_EQ(e.height, 52);
    e = measureLines("x\ny\rz", 10, width);
    EXPECT_EQ(e.height, 30);
    e = measureLines("", 13, width);
    EXPECT_EQ(e.width, 0);
    EXPECT_EQ(e.height, 13);
    e = measureLines("< C:\\a.png > saved\r\n", 13, width);
    EXPECT_EQ(e.height, 13);
    std::vector<std::string> seen;
    measureLines("ab\r\ncd", 13, [&](std::string_view line) {
        seen.emplace_back(line);
        return 0;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"ab", "cd"}));
}

TEST(InfoBoxPlacement, NegativeCoordinatesKeepTheBoxCentred) {
    EXPECT_FALSE(placeInfoBox(-1, -1, 200, 124, 1920, 1080).has_value());
    EXPECT_FALSE(placeInfoBox(-1, 100, 200, 124, 1920, 1080).has_value());
    EXPECT_FALSE(placeInfoBox(100, -1, 200, 124, 1920, 1080).has_value());
}

TEST(InfoBoxPlacement, FlushWithTheScreenEdges) {
    EXPECT_EQ(placeInfoBox(500, 300, 200, 124, 1920, 1080), (ScreenPoint{500, 300}));
    EXPECT_EQ(placeInfoBox(1720, 956, 200, 124, 1920, 1080), (ScreenPoint{1720, 956}));  // just fits
    EXPECT_EQ(placeInfoBox(1900, 300, 200, 124, 1920, 1080), (ScreenPoint{1720, 300}));
    EXPECT_EQ(placeInfoBox(500, 1000, 200, 124, 1920, 1080), (ScreenPoint{500, 956}));
    EXPECT_EQ(placeInfoBox(1920, 1080, 200, 124, 1920, 1080), (ScreenPoint{1720, 956}));
    EXPECT_EQ(placeInfoBox(0, 0, 200, 124, 1920, 1080), (ScreenPoint{0, 0}));
}

}  // namespace

TEST(InfoBoxLayout, AtAnotherDpiTheFixedLengthsScaleAroundTheMeasuredText) {
    // The one-line 13-pixel text at 144 dpi: 20 pixels high, measured so.
    const InfoBoxLayout l = layoutInfoBox({60, 23}, {100, 20}, 144);
    EXPECT_EQ(l.title.left, 48);
    EXPECT_EQ(l.content.left, 12);
    EXPECT_EQ(l.clientWidth, 182);  // the scaled minimum, 121 at 96 dpi
    EXPECT_EQ(l.clientHeight, 76 + 20 + 38 + 23 + 30);
    EXPECT_EQ(l.okButton.width, 98);
    EXPECT_EQ(l.okButton.height, 38);
    EXPECT_EQ(l.okButton.top, l.checkBox.top + l.checkBox.height + 3);
    EXPECT_EQ(layoutInfoBox({60, 15}, {100, 13}).clientHeight, layoutInfoBox({60, 15}, {100, 13}, 96).clientHeight);
}
