#include "picking/colour_chart.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace hueloom::picking;
using hueloom::Rgb;

namespace {

// The chart raster read like the window reads its image.
struct ChartPixels {
    std::vector<uint32_t> px = drawChart();
    int reads = 0;
    Rgb operator()(int x, int y) {
        ++reads;
        const uint32_t v = px.at(static_cast<size_t>(y) * kChartWidth + x);
        return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    }
};

uint32_t rgbOf(Rgb c) { return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b; }

}  // namespace

TEST(ColourChart, TableHasTheWebSafeColoursAtTheirPlaces) {
    EXPECT_EQ(chartCellRgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(chartCellRgb(1, 1), 0x99FFFFu);
    EXPECT_EQ(chartCellRgb(38, 0), 0xFFCC99u);
    EXPECT_EQ(chartCellRgb(0, 8), 0x000000u);
    EXPECT_EQ(chartCellRgb(38, 8), 0xFF6633u);
    EXPECT_EQ(chartCellRgb(16, 4), 0xFF0000u);
    EXPECT_EQ(chartCellRgb(25, 4), 0x00FF00u);
    EXPECT_EQ(chartCellRgb(5, 4), 0x0000FFu);
    EXPECT_EQ(chartCellRgb(31, 4), 0x333399u);
    EXPECT_EQ(chartCellRgb(35, 1), 0x00CC99u);
    EXPECT_EQ(chartCellColour(1, 1), (Rgb{0x99, 0xFF, 0xFF}));
    // Outside the chart: nothing.
    EXPECT_EQ(chartCellRgb(39, 0), 0u);
    EXPECT_EQ(chartCellRgb(0, 9), 0u);
    EXPECT_EQ(chartCellRgb(-1, 3), 0u);

    // Every component is a multiple of 0x33; the greys run down column 0.
    std::set<uint32_t> distinct;
    for (int r = 0; r < kChartRows; ++r)
        for (int c = 0; c < kChartColumns; ++c) {
            const Rgb v = chartCellColour(c, r);
            EXPECT_EQ(v.r % 0x33, 0) << c << "," << r;
            EXPECT_EQ(v.g % 0x33, 0) << c << "," << r;
            EXPECT_EQ(v.b % 0x33, 0) << c << "," << r;
            distinct.insert(chartCellRgb(c, r));
        }
    const uint32_t greys[] = {0xFFFFFF, 0xCCCCCC, 0xCCCCCC, 0x999999, 0x999999, 0x666666, 0x666666, 0x333333, 0x000000};
    for (int r = 0; r < kChartRows; ++r) EXPECT_EQ(chartCellRgb(0, r), greys[r]) << r;
    EXPECT_GT(distinct.size(), 150u);
    EXPECT_LE(distinct.size(), 216u);
}

TEST(ColourChart, RasterHasNineByNineInteriorsAndBlackGridLines) {
    const std::vector<uint32_t> px = drawChart();
    ASSERT_EQ(px.size(), size_t(390 * 90));
    auto at = [&](int x, int y) { return px[size_t(y) * 390 + x]; };
    // Grid: x = 0, 9, 19, …, 389 and y = 0, 9, …, 89 are black everywhere.
    for (int y = 0; y < 90; ++y) {
        EXPECT_EQ(at(0, y), 0u);
        for (int i = 1; i <= 39; ++i) ASSERT_EQ(at(10 * i - 1, y), 0u) << i << "," << y;
    }
    for (int x = 0; x < 390; ++x) {
        EXPECT_EQ(at(x, 0), 0u);
        for (int i = 1; i <= 9; ++i) ASSERT_EQ(at(x, 10 * i - 1), 0u) << x << "," << i;
    }
    // Interiors: cell (c, r) fills x 10c..10c+8 (1..8 for column 0), same for y.
    int black = 0;
    for (int r = 0; r < kChartRows; ++r)
        for (int c = 0; c < kChartColumns; ++c) {
            const int x0 = c == 0 ? 1 : 10 * c, y0 = r == 0 ? 1 : 10 * r;
            for (int y = y0; y <= 10 * r + 8; ++y)
                for (int x = x0; x <= 10 * c + 8; ++x) ASSERT_EQ(at(x, y), chartCellRgb(c, r)) << x << "," << y;
        }
    for (uint32_t p : px) black += p == 0;
    // Grid pixels: 10 rows × 390 + 40 columns × 90 − 400 crossings; plus the
    // interior of the black cell (0, 8): 8 × 9.
    EXPECT_EQ(black, 10 * 390 + 40 * 90 - 400 + 8 * 9);
}

TEST(ColourChart, AtAnotherDpiCellsAreWholeSquaresBetweenOnePixelLines) {
    const int cell = 15;  // 144 dpi
    const std::vector<uint32_t> px = drawChart(cell);
    ASSERT_EQ(px.size(), size_t(39 * cell * 9 * cell));
    const std::vector<uint32_t> at96 = drawChart();
    auto at = [&](int x, int y) { return px[size_t(y) * 39 * cell + x]; };
    // Cell (3, 2) holds the colour of the 96-dpi cell over its whole inside.
    for (int y = 2 * cell + 1; y < 3 * cell - 1; ++y)
        for (int x = 3 * cell + 1; x < 4 * cell - 1; ++x) ASSERT_EQ(at(x, y), at96[size_t(25) * 390 + 35]);
    EXPECT_EQ(at(4 * cell - 1, 2 * cell + 5), 0u);  // grid line
    EXPECT_TRUE(chartPointReadable(4 * cell - 2, 5, cell));
    EXPECT_FALSE(chartPointReadable(4 * cell - 1, 5, cell));
    EXPECT_FALSE(chartPointReadable(39 * cell, 5, cell));
}

TEST(ColourChart, HoverRuleIgnoresGridLinesAndBorder) {
    EXPECT_TRUE(chartPointReadable(15, 15));
    EXPECT_TRUE(chartPointReadable(1, 1));
    EXPECT_TRUE(chartPointReadable(388, 88));
    EXPECT_FALSE(chartPointReadable(19, 5));  // vertical grid line
    EXPECT_FALSE(chartPointReadable(5, 9));  // horizontal grid line
    EXPECT_FALSE(chartPointReadable(0, 5));  // border
    EXPECT_FALSE(chartPointReadable(5, 0));
    EXPECT_FALSE(chartPointReadable(389, 5));
    EXPECT_FALSE(chartPointReadable(390, 5));  // outside
    EXPECT_FALSE(chartPointReadable(5, 90));
    EXPECT_FALSE(chartPointReadable(-3, 5));
    // Exactly the non-black grid positions read: every readable point lies
    // inside a cell interior of the raster.
    const std::vector<uint32_t> px = drawChart();
    int readable = 0;
    for (int y = -1; y <= 91; ++y)
        for (int x = -1; x <= 391; ++x)
            if (chartPointReadable(x, y)) {
                ++readable;
                ASSERT_EQ(px[size_t(y) * 390 + x], chartCellRgb(x / 10, y / 10));
            }
    EXPECT_EQ(readable, 351 * 81 - (39 + 9) * 9 + 1);  // column 0 and row 0 cells are one pixel narrower
}

TEST(ColourChart, StrictlyInsideCountsEdgePixelsAsOutside) {
    // The chart control at (24, 32), 390 × 90: pixels 24..413 × 32..121.
    EXPECT_TRUE(strictlyInside(25, 33, 24, 32, 390, 90));
    EXPECT_TRUE(strictlyInside(412, 120, 24, 32, 390, 90));
    EXPECT_FALSE(strictlyInside(24, 60, 24, 32, 390, 90));
    EXPECT_FALSE(strictlyInside(413, 60, 24, 32, 390, 90));
    EXPECT_FALSE(strictlyInside(100, 32, 24, 32, 390, 90));
    EXPECT_FALSE(strictlyInside(100, 121, 24, 32, 390, 90));
    EXPECT_FALSE(strictlyInside(5, 5, 24, 32, 390, 90));
}

TEST(ColourChart, ValueAndWindowTexts) {
    EXPECT_EQ(chartValueText({153, 255, 255}, true), "rgb(153,255,255)");
    EXPECT_EQ(chartValueText({153, 255, 255}, false), "#99FFFF");
    EXPECT_EQ(chartValueText({0, 10, 171}, false), "#000AAB");
    EXPECT_EQ(dialogValueText({12, 0, 255}, true), "R: 12, G: 0, B: 255");
    EXPECT_EQ(dialogValueText({12, 0, 255}, false), "#0C00FF");
    EXPECT_EQ(confirmedText("#99FFFF"), "確定色\r\n#99FFFF");
    EXPECT_EQ(sampleWindowCaption(SampleMode::Copy), "Color Sample（クリックすれば色をコピーします）");
    EXPECT_EQ(sampleWindowCaption(SampleMode::Select), "Color選択（クリックすれば色を確定します）");
    EXPECT_EQ(sampleChartHint(SampleMode::Copy), "クリックすれば色をコピーします。");
    EXPECT_EQ(sampleChartHint(SampleMode::Select), "クリックすれば色を確定します。");
    EXPECT_EQ(fullDialogHint(), "詳細なカラー・ダイアログの表示");
    EXPECT_EQ(closeButtonCaption(), "閉じる(&C)");
}

TEST(ColourSampleModel, HoverReadsCellsAndKeepsTheLastValueOnGridLines) {
    ChartPixels chart;
    ColourSampleModel m(SampleMode::Copy, true);
    EXPECT_EQ(m.readout(), Readout{});
    EXPECT_FALSE(m.hover(19, 5, std::ref(chart)));
    EXPECT_EQ(chart.reads, 0);
    EXPECT_TRUE(m.readout().text.empty());

    EXPECT_TRUE(m.hover(15, 15, std::ref(chart)));
    EXPECT_EQ(m.readout(), (Readout{"rgb(153,255,255)", {153, 255, 255}, true}));
    // Grid lines and the border keep the previous value.
    EXPECT_FALSE(m.hover(19, 5, std::ref(chart)));
    EXPECT_FALSE(m.hover(5, 9, std::ref(chart)));
    EXPECT_FALSE(m.hover(0, 0, std::ref(chart)));
    EXPECT_EQ(m.readout().text, "rgb(153,255,255)");
    EXPECT_EQ(chart.reads, 1);

    m.setDecimal(false);
    EXPECT_TRUE(m.hover(165, 45, std::ref(chart)));  // cell (16, 4)
    EXPECT_EQ(m.readout(), (Readout{"#FF0000", {255, 0, 0}, true}));
    EXPECT_EQ(m.valueText(), "#FF0000");
}

TEST(ColourSampleModel, CopyModeClickCopiesTheReadValueAndLeavingEmptiesTheReadout) {
    ChartPixels chart;
    ColourSampleModel m(SampleMode::Copy, true);
    EXPECT_EQ(m.click().kind, SampleAction::None) << "nothing read yet";
    m.hover(165, 45, std::ref(chart));
    SampleAction a = m.click();
    EXPECT_EQ(a.kind, SampleAction::Copy);
    EXPECT_EQ(a.text, "rgb(255,0,0)");
    EXPECT_EQ(a.colour, (Rgb{255, 0, 0}));
    EXPECT_FALSE(m.confirmed());
    EXPECT_EQ(m.readout().text, "rgb(255,0,0)") << "copying leaves the read-out as it is";
    // Each click copies again.
    EXPECT_EQ(m.click().kind, SampleAction::Copy);

    m.leave();
    EXPECT_EQ(m.readout(), Readout{});
    EXPECT_EQ(m.click().kind, SampleAction::None);

    // The colour dialog copies its own text form.
    a = m.dialogColour({12, 0, 255});
    EXPECT_EQ(a.kind, SampleAction::Copy);
    EXPECT_EQ(a.text, "R: 12, G: 0, B: 255");
    EXPECT_EQ(a.colour, (Rgb{12, 0, 255}));
    EXPECT_FALSE(m.confirmed());
    EXPECT_EQ(m.readout(), Readout{});
}

TEST(ColourSampleModel, SelectionModeConfirmsAndShowsTheConfirmationAgainOnLeaving) {
    ChartPixels chart;
    ColourSampleModel m(SampleMode::Select, false);
    EXPECT_FALSE(m.confirmed());
    EXPECT_EQ(m.confirmedColour(), (Rgb{255, 255, 255})) << "white until confirmed";
    m.leave();
    EXPECT_EQ(m.readout(), Readout{}) << "nothing confirmed: transparent and empty";

    m.hover(15, 15, std::ref(chart));
    SampleAction a = m.click();
    EXPECT_EQ(a.kind, SampleAction::Confirm);
    EXPECT_TRUE(m.confirmed());
    EXPECT_EQ(m.confirmedColour(), (Rgb{153, 255, 255}));
    EXPECT_EQ(m.confirmedText(), "確定色\r\n#99FFFF");
    EXPECT_EQ(m.readout(), (Readout{"確定色\r\n#99FFFF", {153, 255, 255}, true}));

    // Moving on shows other colours; the confirmation stays.
    m.hover(165, 45, std::ref(chart));
    EXPECT_EQ(m.readout().text, "#FF0000");
    EXPECT_EQ(m.confirmedColour(), (Rgb{153, 255, 255}));
    m.leave();
    EXPECT_EQ(m.readout(), (Readout{"確定色\r\n#99FFFF", {153, 255, 255}, true}));

    // Clicking while the confirmation is shown confirms the same colour
    // without doubling the prefix.
    a = m.click();
    EXPECT_EQ(a.text, "確定色\r\n#99FFFF");
    EXPECT_EQ(m.confirmedText(), "確定色\r\n#99FFFF");

    // A later click replaces the confirmation.
    m.hover(55, 45, std::ref(chart));  // cell (5, 4): 0000FF
    m.click();
    EXPECT_EQ(m.confirmedColour(), (Rgb{0, 0, 255}));
    EXPECT_EQ(m.confirmedText(), "確定色\r\n#0000FF");

    // So does the colour dialog, with its text form.
    m.setDecimal(true);
    a = m.dialogColour({12, 0, 255});
    EXPECT_EQ(a.kind, SampleAction::Confirm);
    EXPECT_EQ(m.confirmedColour(), (Rgb{12, 0, 255}));
    EXPECT_EQ(m.confirmedText(), "確定色\r\nR: 12, G: 0, B: 255");
    EXPECT_EQ(m.readout(), (Readout{"確定色\r\nR: 12, G: 0, B: 255", {12, 0, 255}, true}));
    m.leave();
    EXPECT_EQ(m.readout().colour, (Rgb{12, 0, 255}));
    EXPECT_EQ(rgbOf(m.confirmedColour()), 0x0C00FFu);
}
