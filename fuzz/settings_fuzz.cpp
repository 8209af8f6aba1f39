// libFuzzer target: arbitrary bytes as the settings file, through the INI
// model the native tests use and the settings model. Whatever the file holds,
// every value read must lie in its range, every shortcut must be one the
// program can write and read back, and writing the settings and reading them
// again must give the same values.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/colour_key.h"
#include "settings/settings.h"
#include "support/ini_file.h"

namespace {

using namespace hueloom;
using namespace hueloom::settings;

void require(bool ok) {
    if (!ok) std::abort();
}

// Two keys named by the platform, as GetKeyNameText would name them.
std::string platformName(uint8_t vk) {
    if (vk == 0xBA) return ";";
    if (vk == 0xDC) return "\\";
    return {};
}

Environment environment() {
    Environment env;
    env.screenWidth = 1920;
    env.screenHeight = 1080;
    // Two monitors side by side, the task bar along the bottom of each.
    env.workAreas = {Rect{0, 0, 1920, 1040}, Rect{1920, -200, 3200, 824}};
    env.programFolder = "C:\\Program";
    env.keyName = platformName;
    return env;
}

bool inRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

void requireShortcut(uint16_t v) {
    const uint16_t modifiers = kShortcutShift | kShortcutCtrl | kShortcutAlt;
    require((v & ~(modifiers | 0xFF)) == 0);  // no bits besides the modifiers and the key
    require((v & 0xFF) != 0 || v == 0);  // modifiers without a key are no shortcut
    require(parseShortcut(shortcutToText(v, platformName), platformName) == v);
}

void requireInRange(const Settings& s, const Environment& env) {
    bool reachable = false;  // some part of the window lies on some work area
    for (const Rect& a : env.workAreas)
        reachable = reachable || (int64_t{s.Left} < a.right && int64_t{s.Left} + env.windowWidth > a.left &&
                                  int64_t{s.Top} < a.bottom && int64_t{s.Top} + env.windowHeight > a.top);
    require(reachable);
    for (uint32_t c : {s.MojiColor, s.MojiBKColor, s.ActiveColor, s.DeactiveColor, s.ImgBKColor, s.MaskColor})
        require(isColourValue(c));
    require(inRange(s.JPGQuality, kJPGQualityMin, kJPGQualityMax));
    require(inRange(s.PNGQuality, kPNGQualityMin, kPNGQualityMax));
    require(inRange(s.OptionRectWidth, kOptionRectWidthMin, kOptionRectWidthMax));
    for (uint16_t k : {s.HotKeyGetColor, s.HotKeyScreenCapture, s.HotKeyWindowCapture, s.HotKeyRectCapture})
        requireShortcut(k);
    require(inRange(s.SleepTime, kSleepTimeMin, kSleepTimeMax));
    require(inRange(s.CaptureCursor, 0, kCursorCount - 1));
    for (const std::string* text : {&s.TOPMOST, &s.ColorMode, &s.HookHotKey, &s.InitialDirTxt, &s.InitialDirImg})
        require(text->find_first_of("\r\n") == std::string::npos);  // a value is one line
}

// Everything the file keeps as a number or a flag.
bool sameValues(const Settings& a, const Settings& b) {
    return a.Top == b.Top && a.Left == b.Left && a.MojiColor == b.MojiColor && a.MojiBKColor == b.MojiBKColor &&
           a.ActiveColor == b.ActiveColor && a.DeactiveColor == b.DeactiveColor && a.ImgBKColor == b.ImgBKColor &&
           a.MaskColor == b.MaskColor && a.JPGQuality == b.JPGQuality && a.PNGQuality == b.PNGQuality &&
           a.OptionRectWidth == b.OptionRectWidth && a.HotKeyGetColor == b.HotKeyGetColor &&
           a.HotKeyScreenCapture == b.HotKeyScreenCapture && a.HotKeyWindowCapture == b.HotKeyWindowCapture &&
           a.HotKeyRectCapture == b.HotKeyRectCapture && a.HookPrintScreenKey == b.HookPrintScreenKey &&
           a.HookAltPrintScreenKey == b.HookAltPrintScreenKey && a.Msg_ID == b.Msg_ID && a.SleepTime == b.SleepTime &&
           a.CaptureCursor == b.CaptureCursor && a.flgCursorCapture == b.flgCursorCapture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Environment env = environment();
    IniFile ini = IniFile::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const Settings first = loadSettings(ini, env);
    requireInRange(first, env);

    // Written back into the same file, as the program does at exit, and read
    // at the next start.
    MenuState menu;
    menu.topmostChecked = first.TOPMOST == "On";
    menu.notTopmostChecked = first.TOPMOST == "Off";
    menu.shownFormat = parseColourFormat(first.ColorMode);
    menu.copyFormat = parseColourFormat(first.CopyColorMode);
    menu.notHookHotKeyChecked = first.HookHotKey != "On";
    menu.hookHotKeyChecked = first.HookHotKey == "On";
    saveSettings(ini, first, menu, platformName);
    IniFile reread = IniFile::parse(ini.serialise());
    const Settings second = loadSettings(reread, env);
    requireInRange(second, env);
    require(sameValues(first, second));
    return 0;
}
