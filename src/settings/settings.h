#pragma once
// The running settings and the settings file (the program's .ini file).
//
// loadSettings reads every key once at start-up, saveSettings writes all of
// them once at close, both in the fixed key order below, through a Profile.
//
//   [Window]   Top, Left
//   [Display]  TOPMOST, ColorMode, MojiColor, MojiBKColor, ActiveColor,
//              DeactiveColor, ImgBKColor, MaskColor, and CopyColorMode once
//              the user has chosen a copy format
//   [Option]   HookHotKey, JPGQuality, PNGQuality, OptionRectWidth,
//              HotKeyGetColor, HotKeyScreenCapture, HotKeyWindowCapture,
//              HotKeyRectCapture, HookPrintScreenKey, HookAltPrintScreenKey, and
//              Language once the user has chosen one
//   [Message]  Msg_ID1 .. Msg_ID5
//   [Capture]  SleepTime, CaptureCursor, flgCursorCapture, and FillColor and
//              MosaicSize once the user has chosen them
//   [FileDir]  InitialDirTxt, InitialDirImg
//   [Format]   Custom1 .. Custom9, read only: the user's value formats
//   [ColorManagement]  Profile1 .. Profile9, read only: a monitor's colour
//              profile where the system names none; ScreenValues and
//              CaptureToSrgb once the user has chosen them
//
// A value that cannot be used never stops start-up: it is replaced by the
// key's default (see loadSettings).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/colour_format.h"
#include "core/geometry.h"
#include "settings/colour_key.h"
#include "settings/profile.h"
#include "core/shortcut_text.h"

namespace hueloom::settings {

// Defaults of the keys that do not depend on the machine.
inline constexpr const char* kDefaultTopmost = "On";
inline constexpr const char* kDefaultColorMode = "Decimal";
inline constexpr const char* kDefaultHookHotKey = "Off";
inline constexpr uint32_t kDefaultMojiColor = kClBlack;
inline constexpr uint32_t kDefaultMojiBKColor = kClWhite;
inline constexpr uint32_t kDefaultActiveColor = kClAqua;
inline constexpr uint32_t kDefaultDeactiveColor = kClInactiveBorder;
inline constexpr uint32_t kDefaultImgBKColor = kClBackground;
inline constexpr uint32_t kDefaultMaskColor = kClRed;
inline constexpr int kDefaultJPGQuality = 90;
inline constexpr int kDefaultPNGQuality = 1;
inline constexpr int kDefaultOptionRectWidth = 20;
// The ranges of the numbers the program works with.
inline constexpr int kJPGQualityMin = 1, kJPGQualityMax = 100;
inline constexpr int kPNGQualityMin = 0, kPNGQualityMax = 3;
inline constexpr int kOptionRectWidthMin = 1, kOptionRectWidthMax = 50;
inline constexpr uint16_t kDefaultHotKeyGetColor = kShortcutShift | kShortcutCtrl | 'C';  // 24643
inline constexpr uint16_t kDefaultHotKeyScreenCapture = kShortcutShift | kShortcutCtrl | 'S';  // 24659
inline constexpr uint16_t kDefaultHotKeyWindowCapture = kShortcutShift | kShortcutCtrl | 'W';  // 24663
inline constexpr uint16_t kDefaultHotKeyRectCapture = kShortcutShift | kShortcutCtrl | 'R';  // 24658
inline constexpr int kDefaultSleepTime = 1000;
// The capture delay the program accepts, milliseconds, from the settings file
// as from the options dialog. A negative delay would become an almost endless
// wait once it reaches the system's Sleep, and anything above a minute only
// looks like a hang (every window of the program is hidden meanwhile).
inline constexpr int kSleepTimeMin = 0, kSleepTimeMax = 60000;
inline constexpr int kDefaultCaptureCursor = 0;
inline constexpr int kCursorCount = 20;  // CaptureCursor is an index 0..19
// The selection's fill colour and pixelate square size on the picture.
inline constexpr uint32_t kDefaultFillColor = kClBlack;
inline constexpr int kDefaultMosaicSize = 12;
inline constexpr int kMosaicSizeMin = 2, kMosaicSizeMax = 256;
// Monitors whose profile the settings file can name (Profile1 ..).
inline constexpr int kProfileKeys = 9;

// What loading needs to know about the machine.
struct Environment {
    int screenWidth = 0;  // primary screen, pixels
    int screenHeight = 0;
    // Where a window can be reached: the work areas of all monitors, in
    // screen coordinates. Empty: the primary screen alone.
    std::vector<Rect> workAreas;
    int windowWidth = 177;  // the main window's size when the settings are read
    int windowHeight = 233;
    std::string programFolder;  // folderOf(program file path)
    KeyNameFn keyName;  // platform key names for shortcut texts
};

// The check marks that decide how the switches are written.
struct MenuState {
    bool topmostChecked = false;  // mnuTOPMOST
    bool notTopmostChecked = false;  // mnuNOTOPMOST
    // The value format checked (mnuV10 Decimal, mnuV16 Hexadecimal, mnuVHSL
    // …); none: ColorMode is not written.
    std::optional<ColourFormat> shownFormat;
    // The copy format checked ("コピーする形式"); none: "表示と同じ".
    std::optional<ColourFormat> copyFormat;
    bool notHookHotKeyChecked = false;  // mnuNotHookHotKey (active-only scope)
    bool hookHotKeyChecked = false;  // mnuHookHotKey (always scope)
};

// The notes the information box shows until "今後表示しない" is ticked, by
// their flags: Msg_ID1 the start-up hint, Msg_ID2 the capture note, Msg_ID3
// the "saved" note, Msg_ID4 the colour-list image's note, Msg_ID5 the
// rectangle capture's instructions.
enum class Message { StartHint, CaptureNote, SavedNote, ColourListNote, RectCaptureNote };

// One field per key, named after the key.
struct Settings {
    int Top = 0;  // window position: the caller puts the window here after
    int Left = 0;  // loading and updates these before saving
    std::string TOPMOST = kDefaultTopmost;  // texts as read; compare
    std::string ColorMode = kDefaultColorMode;  // exactly ("On", "Decimal", ...)
    std::string CopyColorMode;  // as read; empty or unknown: copy what is shown
    uint32_t MojiColor = kDefaultMojiColor;
    uint32_t MojiBKColor = kDefaultMojiBKColor;
    uint32_t ActiveColor = kDefaultActiveColor;
    uint32_t DeactiveColor = kDefaultDeactiveColor;
    uint32_t ImgBKColor = kDefaultImgBKColor;
    uint32_t MaskColor = kDefaultMaskColor;
    std::string HookHotKey = kDefaultHookHotKey;
    int JPGQuality = kDefaultJPGQuality;
    int PNGQuality = kDefaultPNGQuality;
    int OptionRectWidth = kDefaultOptionRectWidth;
    uint16_t HotKeyGetColor = kDefaultHotKeyGetColor;
    uint16_t HotKeyScreenCapture = kDefaultHotKeyScreenCapture;
    uint16_t HotKeyWindowCapture = kDefaultHotKeyWindowCapture;
    uint16_t HotKeyRectCapture = kDefaultHotKeyRectCapture;
    bool HookPrintScreenKey = false;
    bool HookAltPrintScreenKey = false;
    // The interface's language: "ja", "en" or "auto" (the user's Windows
    // language), as read; unset until chosen (then "auto"). Read at start,
    // before the windows are made (core/texts.h).
    std::optional<std::string> Language;
    std::array<bool, 5> Msg_ID{};  // Msg_ID[0] is Msg_ID1 ... Msg_ID[4] is Msg_ID5
    bool& message(Message m) { return Msg_ID[static_cast<size_t>(m)]; }
    int SleepTime = kDefaultSleepTime;
    int CaptureCursor = kDefaultCaptureCursor;
    bool flgCursorCapture = false;
    // Written only once set (a usable value read, or the user's choice).
    std::optional<uint32_t> FillColor;
    std::optional<int> MosaicSize;
    uint32_t fillColor() const { return FillColor.value_or(kDefaultFillColor); }
    int mosaicSize() const { return MosaicSize.value_or(kDefaultMosaicSize); }
    std::string InitialDirTxt;
    std::string InitialDirImg;
    // The user's value formats (core/colour_template.h), read and never
    // written: the file keeps them as the user wrote them.
    std::array<std::string, kCustomFormats> Custom;
    // Colour management: the profile file of monitor 1 .. 9 (numbered as the
    // system orders them) as the user wrote it, read and never written; the
    // raw screen values shown instead of the content's; captures converted
    // to sRGB instead of keeping their monitor's profile. The two switches
    // are written only once set.
    std::array<std::string, kProfileKeys> Profile;
    std::optional<bool> ScreenValues;
    std::optional<bool> CaptureToSrgb;
    bool screenValues() const { return ScreenValues.value_or(false); }
    bool captureToSrgb() const { return CaptureToSrgb.value_or(false); }
};

// Every key at its default; Top/Left centre the window on the screen and the
// folders are the program's folder.
Settings defaultSettings(const Environment& env);

// Keeps a window of the environment's size reachable (keepReachable over the
// work areas): a window with any part on some monitor is left alone; one that
// lies on none is moved onto the nearest, per axis to that monitor's start
// (left of or above it) or flush with its end (right of or below it). On a
// single screen: a window entirely left of it goes to 0, entirely right of it
// to screen width - window width, and likewise vertically.
void clampWindowPosition(int& top, int& left, const Environment& env);

// Reads all keys. Missing keys take their defaults. Replaced by the default as
// well: an integer or flag that is not an integer or too large for 32 bits, a
// colour that is neither a table name nor an integer naming a colour value
// (isColourValue), a JPGQuality outside 1..100, a PNGQuality outside 0..3, an
// OptionRectWidth outside 1..50, a CaptureCursor outside 0..19. A shortcut
// text that names no key gives 0 (no key). Top/Left are clamped, SleepTime is
// bounded to kSleepTimeMin..kSleepTimeMax.
Settings loadSettings(Profile& profile, const Environment& env);

// Writes all keys in order. TOPMOST, ColorMode and HookHotKey come from the
// check marks, not from the texts in `s`; a pair with neither item checked is
// not written (nor is ColorMode with no format checked). CopyColorMode is
// written only when a copy format is checked, or emptied when "表示と同じ" is
// checked and the file named a format; a file without it stays without it. Integers are written in decimal, flags as "1"/"0", colours in
// colour-key form, shortcuts in shortcut text form.
void saveSettings(Profile& profile, const Settings& s, const MenuState& menu, const KeyNameFn& keyName = {});

}  // namespace hueloom::settings
