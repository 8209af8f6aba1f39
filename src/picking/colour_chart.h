// The colour sample chart and what the colour sample window does with it:
// the 39 × 9 table of web-safe colours, the chart raster with its grid, the
// hover rule, the value texts, and the window's read-out / confirmation
// state. Pure code; TfrmColorSample (picking/colour_sample_win.h) draws it and
// feeds it the window's mouse and dialog events.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/colour.h"

namespace hueloom::picking {

// Chart geometry: cells of 10 × 10 pixels, 39 columns, 9 rows.
constexpr int kChartColumns = 39;
constexpr int kChartRows = 9;
constexpr int kChartCell = 10;
constexpr int kChartWidth = kChartColumns * kChartCell;  // 390
constexpr int kChartHeight = kChartRows * kChartCell;  // 90

// Colour of cell (column, row) as 0xRRGGBB; 0 for a cell outside the chart.
uint32_t chartCellRgb(int column, int row);
Rgb chartCellColour(int column, int row);

// The chart as the window shows it: every cell filled, then black grid
// lines at x = 0 and x = 10·i − 1 (i = 1..39) and at y = 0 and
// y = 10·i − 1 (i = 1..9). Top-down 32-bit BGRX pixels, 390 × 90.
// At another dpi each cell is `cell` pixels square (the scaled chart width
// div kChartColumns), the grid lines stay one pixel.
std::vector<uint32_t> drawChart(int cell = kChartCell);

// Whether hovering at chart point (x, y) reads a colour: strictly inside the
// chart and on neither a grid line nor the border.
bool chartPointReadable(int x, int y, int cell = kChartCell);

// Whether a point in the window's client area is strictly inside the chart
// control at (left, top) of the given size: its edge pixels count as outside.
bool strictlyInside(int x, int y, int left, int top, int width, int height);

// Value texts (UTF-8).
std::string chartValueText(Rgb c, bool decimal);  // "rgb(153,255,255)" or "#99FFFF"
std::string dialogDecimalText(Rgb c);  // "R: 12, G: 0, B: 255"
std::string dialogValueText(Rgb c, bool decimal);  // the above or "#0C00FF"
std::string confirmedText(const std::string& valueText);  // "確定色\r\n" + text

enum class SampleMode { Copy = 0, Select = 1 };

// Window texts (UTF-8).
std::string sampleWindowCaption(SampleMode mode);
std::string sampleChartHint(SampleMode mode);
std::string fullDialogHint();  // the picture button's hint
std::string closeButtonCaption();  // "閉じる(&C)"
std::string valueFormatCaption();  // the radio group's caption
std::string decimalItemCaption();
std::string hexadecimalItemCaption();

// The read-out label `Label1`: opaque in the colour with the inverse text
// colour, or transparent (and then normally empty).
struct Readout {
    std::string text;
    Rgb colour{255, 255, 255};
    bool opaque = false;
    friend bool operator==(const Readout&, const Readout&) = default;
};

// What a click on the chart or a confirmed colour dialog asks of the window.
struct SampleAction {
    enum Kind { None, Copy, Confirm } kind = None;
    std::string text;  // the value text to copy, or the confirmed read-out text
    Rgb colour{};
};

// The colour sample window's state: the read-out, the value format chosen in
// the radio group and, in selection mode, the confirmed colour.
class ColourSampleModel {
public:
    explicit ColourSampleModel(SampleMode mode = SampleMode::Copy, bool decimal = true)
        : mode_(mode), decimal_(decimal) {}

    SampleMode mode() const { return mode_; }
    bool decimal() const { return decimal_; }
    void setDecimal(bool on) { decimal_ = on; }

    const Readout& readout() const { return readout_; }
    // The value text last read (without the confirmation prefix).
    const std::string& valueText() const { return value_; }

    bool confirmed() const { return confirmed_; }
    // White until a colour is confirmed.
    Rgb confirmedColour() const { return confirmed_ ? confirmedColour_ : Rgb{255, 255, 255}; }
    const std::string& confirmedText() const { return confirmedText_; }

    // Pointer over chart point (x, y): reads the colour through pixelAt
    // unless the point is on the grid or the border. True when a colour was
    // read (the read-out then shows it; the main window shows the same text).
    bool hover(int x, int y, const std::function<Rgb(int x, int y)>& pixelAt, int cell = kChartCell);

    // A mouse button went down on the chart. Nothing while the read-out is
    // empty; copy mode asks to copy the read value; selection mode confirms it.
    SampleAction click();

    // The full colour dialog returned colour c.
    SampleAction dialogColour(Rgb c);

    // The pointer left the chart for the window's background: copy mode
    // empties the read-out, selection mode shows the confirmed colour again.
    void leave();

private:
    SampleAction confirm(const std::string& valueText, Rgb c);

    SampleMode mode_;
    bool decimal_;
    Readout readout_;
    std::string value_;
    bool confirmed_ = false;
    Rgb confirmedColour_{255, 255, 255};
    std::string confirmedText_;
    std::string confirmedValue_;
};

}  // namespace hueloom::picking
