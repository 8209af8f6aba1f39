#pragma once
// Geometry of the information box (TfrmMyDlg): its size from the measured
// title and message text, the positions of its controls, and where it goes
// on the screen. Text measurement needs a device context, so the caller
// measures and passes the sizes in (measureLines helps with multi-line text).

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace hueloom::dialogs {

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

struct TextExtent {
    int width = 0, height = 0;
};

// Fixed geometry of the box.
inline constexpr int kInfoTitleLeft = 32;  // lblTitle
inline constexpr int kInfoTitleTop = 6;
inline constexpr int kInfoContentLeft = 8;  // lblContent
inline constexpr int kInfoContentTop = 34;
inline constexpr int kInfoCheckBoxLeft = 8;  // CheckBox1 "今後表示しない"
inline constexpr int kInfoCheckBoxWidth = 105;
inline constexpr int kInfoCheckBoxHeight = 15;
inline constexpr int kInfoButtonWidth = 65;  // OKBtn
inline constexpr int kInfoButtonHeight = 25;
inline constexpr int kInfoMinWidth = kInfoCheckBoxLeft + kInfoCheckBoxWidth + 8;  // 121
inline constexpr int kInfoCornerEllipse = 30;  // rounded window region, 30 x 30 corners
inline constexpr int kInfoFrameBrush = 3;  // frame of the region, 3 x 3 brush of ActiveColor
inline constexpr uint32_t kInfoButtonFace = 0x99CCFF;  // RGB(255,204,153) as 00BBGGRR

struct InfoBoxLayout {
    int clientWidth = 0;  // the box is borderless: also the window size
    int clientHeight = 0;
    Bounds title;  // lblTitle, sized to its text
    Bounds content;  // lblContent, sized to its text
    Bounds rule1;  // Label1: the olive rule under the title
    Bounds rule2;  // Label2: the 3-D light rule above the check box
    Bounds checkBox;  // CheckBox1 (its room is kept even when hidden)
    Bounds okButton;  // OKBtn, centred
};

// Lays the box out for a title and a message of the given measured sizes:
// width 2 x 8 + text width (at least 121), height 51 + text height + 25 + 15
// + 20; a one-line 13-pixel text gives a 124-pixel box with the rule above
// the check box at y 64, the check box at y 72 and the button at y 89.
// At another dpi every fixed length above is scaled (core/dpi.h); the text
// sizes are measured in the fonts of that dpi.
InfoBoxLayout layoutInfoBox(TextExtent title, TextExtent content, int dpi = 96);

// Size of a label that sizes itself to a multi-line text: the widest line by
// `lineWidth`, and `lineHeight` per line. Lines end at CR LF, CR or LF; a
// final line break does not add a line; empty text is one empty line.
TextExtent measureLines(std::string_view text, int lineHeight,
                        const std::function<int(std::string_view line)>& lineWidth);

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Where the box goes when it becomes active. Empty when x or y is negative:
// the box stays centred on the screen. Otherwise at (x, y), moved left / up
// just enough to lie flush with the screen's right / bottom edge.
std::optional<ScreenPoint> placeInfoBox(int x, int y, int boxWidth, int boxHeight, int screenWidth, int screenHeight);

}  // namespace hueloom::dialogs
