#include "picking/colour_chart.h"

#include <cstdio>
#include "core/texts.h"

namespace hueloom::picking {

namespace {

// The web-safe colours of the chart, 0xRRGGBB, row by row, column 0 first.
// clang-format off
constexpr uint32_t kChart[kChartRows * kChartColumns] = {
    // row 0
    0xFFFFFF, 0xCCFFFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xCCCCFF, 0xFFCCFF, 0xFFCCCC,
    0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFCCCC, 0xFFFFCC, 0xCCFFCC, 0xCCFFCC, 0xCCFFCC, 0xCCFFCC,
    0xCCFFCC, 0xCCFFCC, 0xCCFFCC, 0xCCFFCC, 0xCCFFCC, 0x33CCCC, 0x66CCCC, 0x99CCCC, 0xCCCCCC, 0xCCCC99, 0xCCCC99, 0xFFCC99, 0xFFCC99,
    // row 1
    0xCCCCCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9999FF, 0x9999FF, 0x9999FF, 0x9999FF, 0x9999FF, 0x9999FF, 0xCC99FF, 0xFF99FF, 0xFF99CC,
    0xFF9999, 0xFF9999, 0xFF9999, 0xFF9999, 0xFF9999, 0xFF9999, 0xFF9999, 0xFFCC99, 0xFFFF99, 0xCCFF99, 0x99FF99, 0x99FF99, 0x99FF99,
    0x99FF99, 0x99FF99, 0x99FF99, 0x99FF99, 0x99FFCC, 0x3399CC, 0x6699CC, 0x9999CC, 0xCC99CC, 0x00CC99, 0x33CC99, 0x66CC99, 0x99CC99,
    // row 2
    0xCCCCCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x6666FF, 0x6666FF, 0x6666FF, 0x6666FF, 0x6666FF, 0x9966FF, 0xCC66FF, 0xFF66FF, 0xFF66CC,
    0xFF6699, 0xFF6666, 0xFF6666, 0xFF6666, 0xFF6666, 0xFF6666, 0xFF9966, 0xFFCC66, 0xFFFF66, 0xCCFF66, 0x99FF66, 0x66FF66, 0x66FF66,
    0x66FF66, 0x66FF66, 0x66FF66, 0x66FF99, 0x66FFCC, 0x3366CC, 0x6666CC, 0x9966CC, 0xCC66CC, 0x99CC66, 0x99CC66, 0xCCCC66, 0xCCCC66,
    // row 3
    0x999999, 0x33FFFF, 0x33CCFF, 0x3399FF, 0x3366FF, 0x3333FF, 0x3333FF, 0x3333FF, 0x6633FF, 0x9933FF, 0xCC33FF, 0xFF33FF, 0xFF33CC,
    0xFF3399, 0xFF3366, 0xFF3333, 0xFF3333, 0xFF3333, 0xFF6633, 0xFF9933, 0xFFCC33, 0xFFFF33, 0xCCFF33, 0x99FF33, 0x66FF33, 0x33FF33,
    0x33FF33, 0x33FF33, 0x33FF66, 0x33FF99, 0x33FFCC, 0x3333CC, 0x6633CC, 0x9933CC, 0xCC33CC, 0x00CC66, 0x33CC66, 0x66CC66, 0x99CC66,
    // row 4
    0x999999, 0x00FFFF, 0x00CCFF, 0x0099FF, 0x0066FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x6600FF, 0x9900FF, 0xCC00FF, 0xFF00FF, 0xFF00CC,
    0xFF0099, 0xFF0066, 0xFF0033, 0xFF0000, 0xFF3300, 0xFF6600, 0xFF9900, 0xFFCC00, 0xFFFF00, 0xCCFF00, 0x99FF00, 0x66FF00, 0x00FF00,
    0x00FF00, 0x00FF00, 0x00FF66, 0x00FF99, 0x00FFCC, 0x333399, 0x663399, 0x993399, 0xCC3399, 0x33CC33, 0x66CC33, 0x99CC33, 0xCCCC33,
    // row 5
    0x666666, 0x00CCCC, 0x00CCCC, 0x0099CC, 0x0066CC, 0x0033CC, 0x0000CC, 0x3300CC, 0x6600CC, 0x9900CC, 0xCC00CC, 0xCC00CC, 0xCC00CC,
    0xCC0099, 0xCC0066, 0xCC0033, 0xCC0000, 0xCC3300, 0xCC6600, 0xCC9900, 0xCCCC00, 0xCCCC00, 0xCCCC00, 0x99CC00, 0x66CC00, 0x33CC00,
    0x00CC00, 0x00CC33, 0x00CC66, 0x00CC99, 0x00CCCC, 0x339999, 0x669999, 0x999999, 0xCC9999, 0x339933, 0x669933, 0x999933, 0xCC9933,
    // row 6
    0x666666, 0x009999, 0x009999, 0x009999, 0x006699, 0x003399, 0x000099, 0x330099, 0x660099, 0x990099, 0x990099, 0x990099, 0x990099,
    0x990099, 0x990066, 0x990033, 0x990000, 0x993300, 0x996600, 0x999900, 0x999900, 0x999900, 0x999900, 0x999900, 0x669900, 0x339900,
    0x009900, 0x009933, 0x009966, 0x009999, 0x009999, 0x336699, 0x666699, 0x996699, 0xCC6699, 0x339966, 0x669966, 0x999966, 0xCC9966,
    // row 7
    0x333333, 0x006666, 0x006666, 0x006666, 0x006666, 0x003366, 0x000066, 0x330066, 0x660066, 0x660066, 0x660066, 0x660066, 0x660066,
    0x660066, 0x660066, 0x660033, 0x660000, 0x663300, 0x666600, 0x666600, 0x666600, 0x666600, 0x666600, 0x666600, 0x666600, 0x336600,
    0x006600, 0x006633, 0x006666, 0x006666, 0x006666, 0x336666, 0x666666, 0x996666, 0xCC6666, 0x336633, 0x666633, 0x996633, 0xCC6633,
    // row 8
    0x000000, 0x003333, 0x003333, 0x003333, 0x003333, 0x003333, 0x000033, 0x330033, 0x330033, 0x330033, 0x330033, 0x330033, 0x330033,
    0x330033, 0x330033, 0x330033, 0x330000, 0x333300, 0x333300, 0x333300, 0x333300, 0x333300, 0x333300, 0x333300, 0x333300, 0x333300,
    0x003300, 0x003333, 0x003333, 0x003333, 0x333333, 0x333366, 0x663366, 0x993366, 0xCC3366, 0x663333, 0x993333, 0xCC3333, 0xFF6633,
};
// clang-format on

constexpr uint32_t kGridPixel = 0x000000;  // BGRX black

uint32_t toBgrx(uint32_t rrggbb) { return rrggbb & 0xFFFFFF; }  // same byte order in memory: B, G, R, X

}  // namespace

uint32_t chartCellRgb(int column, int row) {
    if (column < 0 || column >= kChartColumns || row < 0 || row >= kChartRows) return 0;
    return kChart[row * kChartColumns + column];
}

Rgb chartCellColour(int column, int row) {
    const uint32_t v = chartCellRgb(column, row);
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

std::vector<uint32_t> drawChart(int cell) {
    const int w = kChartColumns * cell, h = kChartRows * cell;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = toBgrx(chartCellRgb(x / cell, y / cell));
    auto hline = [&](int y) {
        for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = kGridPixel;
    };
    auto vline = [&](int x) {
        for (int y = 0; y < h; ++y) px[static_cast<size_t>(y) * w + x] = kGridPixel;
    };
    hline(0);
    for (int i = 1; i <= kChartRows; ++i) hline(cell * i - 1);
    vline(0);
    for (int i = 1; i <= kChartColumns; ++i) vline(cell * i - 1);
    return px;
}

bool chartPointReadable(int x, int y, int cell) {
    return x > 0 && y > 0 && x < kChartColumns * cell && y < kChartRows * cell && (x + 1) % cell != 0 &&
           (y + 1) % cell != 0;
}

bool strictlyInside(int x, int y, int left, int top, int width, int height) {
    return x > left && y > top && x < left + width - 1 && y < top + height - 1;
}

std::string chartValueText(Rgb c, bool decimal) { return decimal ? decimalText(c) : hexadecimalText(c); }

std::string dialogDecimalText(Rgb c) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "R: %u, G: %u, B: %u", c.r, c.g, c.b);
    return buf;
}

std::string dialogValueText(Rgb c, bool decimal) { return decimal ? dialogDecimalText(c) : hexadecimalText(c); }

std::string confirmedText(const std::string& valueText) { return hueloom::text("chart.1") + valueText; }

std::string sampleWindowCaption(SampleMode mode) {
    return mode == SampleMode::Copy ? hueloom::text("chart.2") : hueloom::text("chart.3");
}

std::string sampleChartHint(SampleMode mode) {
    return mode == SampleMode::Copy ? hueloom::text("chart.4") : hueloom::text("chart.5");
}

std::string fullDialogHint() { return hueloom::text("chart.6"); }
std::string closeButtonCaption() { return hueloom::text("chart.7"); }
std::string valueFormatCaption() { return hueloom::text("chart.8"); }
std::string decimalItemCaption() { return hueloom::text("chart.9"); }
std::string hexadecimalItemCaption() { return hueloom::text("chart.10"); }

// ---------------------------------------------------------------- the window's state

bool ColourSampleModel::hover(int x, int y, const std::function<Rgb(int x, int y)>& pixelAt, int cell) {
    if (!chartPointReadable(x, y, cell)) return false;
    const Rgb c = pixelAt(x, y);
    value_ = chartValueText(c, decimal_);
    readout_ = {value_, c, true};
    return true;
}

SampleAction ColourSampleModel::click() {
    if (readout_.text.empty()) return {};
    if (mode_ == SampleMode::Copy) return {SampleAction::Copy, value_, readout_.colour};
    // The read-out may already show a confirmation (the pointer came back to
    // the chart over a grid line): confirm its value, not its whole text.
    return confirm(value_, readout_.colour);
}

SampleAction ColourSampleModel::dialogColour(Rgb c) {
    const std::string text = dialogValueText(c, decimal_);
    if (mode_ == SampleMode::Copy) return {SampleAction::Copy, text, c};
    return confirm(text, c);
}

SampleAction ColourSampleModel::confirm(const std::string& valueText, Rgb c) {
    confirmed_ = true;
    confirmedColour_ = c;
    confirmedValue_ = valueText;
    confirmedText_ = picking::confirmedText(valueText);
    value_ = valueText;
    readout_ = {confirmedText_, c, true};
    return {SampleAction::Confirm, confirmedText_, c};
}

void ColourSampleModel::leave() {
    if (mode_ == SampleMode::Select && confirmed_) {
        value_ = confirmedValue_;
        readout_ = {confirmedText_, confirmedColour_, true};
    } else {
        value_.clear();
        readout_ = {};
    }
}

}  // namespace hueloom::picking
