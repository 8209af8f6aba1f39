#pragma once
// The options dialog's arithmetic: its seven pages (captions, colours, which
// page a menu command opens), the copy of the running settings into the
// dialog's controls and back, the delay text, and the window's outline.
// No window code: the dialog (dialogs/options/option_win.h) holds an OptionControls and
// feeds it to and from its controls.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace hueloom::dialogs {

// Pages, in tab order.
enum OptionPage : int {
    kPageJPG = 0,
    kPagePNG = 1,
    kPageColorImage = 2,  // "色の画像": swatch size of the colour-list image
    kPageAverage = 3,  // "平均値モード"
    kPageColors = 4,  // "色の設定"
    kPageHotKeys = 5,  // "ホットキー"
    kPageCapture = 6,  // "ｷｬﾌﾟﾁｬ"
};
inline constexpr int kOptionPageCount = 7;

// Tab caption of a page (UTF-8); empty for an index out of range.
std::string_view optionPageCaption(int page);
// Background colour of a page and of the dialog while it is the active page
// (00BBGGRR); the JPG page's colour for an index out of range.
uint32_t optionPageColour(int page);
// A page index made valid: out-of-range indices give the JPG page.
int validOptionPage(int page);

// The three menu commands that open the dialog, and the page each shows first.
enum class OptionCommand { Setting, Pixels, VariousColor };
int firstOptionPage(OptionCommand command);

// The six display colours, in the order of the colour page.
enum OptionColour : int { kMojiColor, kMojiBKColor, kActiveColor, kDeactiveColor, kImgBKColor, kMaskColor };
inline constexpr int kOptionColourCount = 6;
// The four hot keys, in the order of the hot-key page.
enum OptionHotKey : int { kHotKeyGetColor, kHotKeyScreenCapture, kHotKeyWindowCapture, kHotKeyRectCapture };
inline constexpr int kOptionHotKeyCount = 4;
// The caption of a hot key's row (UTF-8); empty for an index out of range.
std::string_view optionHotKeyCaption(int which);

// Two commands cannot share a key: the first pair of hot keys (first < second)
// set to the same key, or nothing when each key is its own. Empty keys do not
// count.
struct SharedHotKey {
    int first, second;
    uint16_t key;
};
std::optional<SharedHotKey> sharedHotKey(const std::array<uint16_t, kOptionHotKeyCount>& keys);
// What the dialog says when it refuses to close over a shared key (UTF-8);
// `keyText` is the key in shortcut text form.
std::string sharedHotKeyMessage(const SharedHotKey& shared, const std::string& keyText);

// Ranges of the controls.
inline constexpr int kJPGQualityMin = settings::kJPGQualityMin, kJPGQualityMax = settings::kJPGQualityMax;
inline constexpr int kJPGQualityTick = 10;
inline constexpr int kPNGQualityItems = settings::kPNGQualityMax + 1;
inline constexpr int kRectWidthMin = settings::kOptionRectWidthMin, kRectWidthMax = settings::kOptionRectWidthMax;
inline constexpr int kAverageItems = 7;  // 3x3 .. 15x15
using settings::kSleepTimeMax;
using settings::kSleepTimeMin;

// What the dialog's controls hold.
struct OptionControls {
    int jpgPosition = settings::kDefaultJPGQuality;  // JPGBar
    int pngIndex = settings::kDefaultPNGQuality;  // RadioGroupPNG, -1 none
    int rectWidth = settings::kDefaultOptionRectWidth;  // UpDownRectWidth
    int averageIndex = -1;  // RadioGroupAverage, -1 none
    std::array<uint32_t, kOptionColourCount> colours{};  // lblMojiColor .. lblMaskColor
    std::array<uint16_t, kOptionHotKeyCount> hotKeys{};  // sHotKeyGetColor .. sHotKeyRectCapture
    bool hookPrintScreen = false;  // chbxPrintScreen
    bool hookAltPrintScreen = false;  // chbxAltPrintScreen
    std::string sleepText;  // edtSleep
    bool cursorCapture = false;  // CheckCursorCapture
    bool captureToSrgb = false;  // CheckToSrgb
    int languageIndex = 0;  // ComboLanguage: 0 Windows' language, 1 Japanese, 2 English
    int cursorIndex = 0;  // ComboBox1, -1 none
    friend bool operator==(const OptionControls&, const OptionControls&) = default;
};

// Copy in: the running settings and the averaging size (1 = standard mode)
// into the controls. Values a control cannot show are brought into its range
// (quality 1..100, swatch size 1..50); a PNG level, an averaging size or a
// cursor index that is not one of the items selects nothing.
OptionControls optionControlsFrom(const settings::Settings& s, int averagingSize);

// Copy out: every control back into the running settings and the averaging
// size, whatever way the dialog was closed. No averaging item gives 1
// (standard mode); no PNG item keeps the previous level; no cursor entry
// gives cursor 0; the delay text goes through parseSleepTime.
void takeOptionControls(const OptionControls& c, settings::Settings& s, int& averagingSize);

// The delay text as a decimal integer (blanks around it and a sign allowed),
// bounded to kSleepTimeMin..kSleepTimeMax; nothing for any other text.
std::optional<int> parseSleepTime(std::string_view text);

// The language item of a Language setting: 0 for "auto" (and anything not
// "ja" or "en"), 1 for "ja", 2 for "en".
int languageIndexOf(const std::string& setting);

// "JPG品質：" followed by the slider position (UTF-8).
std::string jpgQualityCaption(int position);

// Geometry of the dialog: a borderless 406 x 320 window with the page
// control at (3, 50), 400 x 267.
inline constexpr int kOptionWidth = 406, kOptionHeight = 320;
inline constexpr int kOptionPagesLeft = 3, kOptionPagesTop = 50, kOptionPagesWidth = 400, kOptionPagesHeight = 267;
inline constexpr int kOptionCornerEllipse = 90;
inline constexpr int kOptionFrameBrush = 3;

// The window's outline: a rounded rectangle over the whole window united with
// a plain rectangle from the top of the page control to 3 pixels below its
// bottom, full width; so only the top corners are rounded.
struct OptionOutline {
    int roundLeft, roundTop, roundRight, roundBottom, ellipse;  // the rounded rectangle
    int rectLeft, rectTop, rectRight, rectBottom;  // the plain one
};
OptionOutline optionOutline(int dpi = 96);  // every length scaled to dpi (core/dpi.h)

}  // namespace hueloom::dialogs
