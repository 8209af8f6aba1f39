#include "settings/settings.h"

#include <algorithm>
#include <optional>

namespace hueloom::settings {

namespace {

constexpr const char* kWindow = "Window";
constexpr const char* kDisplay = "Display";
constexpr const char* kOption = "Option";
constexpr const char* kMessage = "Message";
constexpr const char* kCapture = "Capture";
constexpr const char* kFileDir = "FileDir";
constexpr const char* kFormat = "Format";
constexpr const char* kColorManagement = "ColorManagement";

std::string msgKey(size_t i) { return "Msg_ID" + std::to_string(i + 1); }

// Reads the key as text; the default text stands in for a missing key.
class Reader {
public:
    explicit Reader(Profile& p) : p_(p) {}

    std::string text(const char* section, const char* key, const std::string& def) {
        return p_.readString(section, key, def);
    }

    int integer(const char* section, const char* key, int def) {
        return parseSettingsInteger(p_.readString(section, key, std::to_string(def))).value_or(def);
    }

    int integerInRange(const char* section, const char* key, int def, int lo, int hi) {
        const int v = integer(section, key, def);
        return (v >= lo && v <= hi) ? v : def;
    }

    bool flag(const char* section, const char* key) { return integer(section, key, 0) != 0; }

    uint32_t colour(const char* section, const char* key, uint32_t def) {
        const std::optional<uint32_t> v = parseColourKey(p_.readString(section, key, colourToKeyText(def)));
        return v && isColourValue(*v) ? *v : def;
    }

    uint16_t shortcut(const char* section, const char* key, uint16_t def, const KeyNameFn& names) {
        return parseShortcut(p_.readString(section, key, shortcutToText(def, names)), names);
    }

private:
    Profile& p_;
};

}  // namespace

Settings defaultSettings(const Environment& env) {
    Settings s;
    s.Top = (env.screenHeight - env.windowHeight) / 2;
    s.Left = (env.screenWidth - env.windowWidth) / 2;
    s.InitialDirTxt = env.programFolder;
    s.InitialDirImg = env.programFolder;
    return s;
}

void clampWindowPosition(int& top, int& left, const Environment& env) {
    std::vector<Rect> areas = env.workAreas;
    if (areas.empty()) areas.push_back(Rect{0, 0, env.screenWidth, env.screenHeight});
    const Point p = keepReachable(Point{left, top}, env.windowWidth, env.windowHeight, areas);
    left = p.x;
    top = p.y;
}

Settings loadSettings(Profile& profile, const Environment& env) {
    const Settings d = defaultSettings(env);
    Settings s = d;
    Reader r(profile);

    s.Top = r.integer(kWindow, "Top", d.Top);
    s.Left = r.integer(kWindow, "Left", d.Left);
    clampWindowPosition(s.Top, s.Left, env);

    s.TOPMOST = r.text(kDisplay, "TOPMOST", d.TOPMOST);
    s.ColorMode = r.text(kDisplay, "ColorMode", d.ColorMode);
    s.MojiColor = r.colour(kDisplay, "MojiColor", d.MojiColor);
    s.MojiBKColor = r.colour(kDisplay, "MojiBKColor", d.MojiBKColor);
    s.ActiveColor = r.colour(kDisplay, "ActiveColor", d.ActiveColor);
    s.DeactiveColor = r.colour(kDisplay, "DeactiveColor", d.DeactiveColor);
    s.ImgBKColor = r.colour(kDisplay, "ImgBKColor", d.ImgBKColor);
    s.MaskColor = r.colour(kDisplay, "MaskColor", d.MaskColor);
    s.CopyColorMode = r.text(kDisplay, "CopyColorMode", d.CopyColorMode);

    s.HookHotKey = r.text(kOption, "HookHotKey", d.HookHotKey);
    s.JPGQuality = r.integerInRange(kOption, "JPGQuality", d.JPGQuality, kJPGQualityMin, kJPGQualityMax);
    s.PNGQuality = r.integerInRange(kOption, "PNGQuality", d.PNGQuality, kPNGQualityMin, kPNGQualityMax);
    s.OptionRectWidth =
        r.integerInRange(kOption, "OptionRectWidth", d.OptionRectWidth, kOptionRectWidthMin, kOptionRectWidthMax);
    s.HotKeyGetColor = r.shortcut(kOption, "HotKeyGetColor", d.HotKeyGetColor, env.keyName);
    s.HotKeyScreenCapture = r.shortcut(kOption, "HotKeyScreenCapture", d.HotKeyScreenCapture, env.keyName);
    s.HotKeyWindowCapture = r.shortcut(kOption, "HotKeyWindowCapture", d.HotKeyWindowCapture, env.keyName);
    s.HotKeyRectCapture = r.shortcut(kOption, "HotKeyRectCapture", d.HotKeyRectCapture, env.keyName);
    s.HookPrintScreenKey = r.flag(kOption, "HookPrintScreenKey");
    s.HookAltPrintScreenKey = r.flag(kOption, "HookAltPrintScreenKey");
    if (std::string language = r.text(kOption, "Language", ""); !language.empty()) s.Language = std::move(language);

    for (size_t i = 0; i < s.Msg_ID.size(); ++i) s.Msg_ID[i] = r.flag(kMessage, msgKey(i).c_str());

    s.SleepTime = std::clamp(r.integer(kCapture, "SleepTime", d.SleepTime), kSleepTimeMin, kSleepTimeMax);
    s.CaptureCursor = r.integerInRange(kCapture, "CaptureCursor", d.CaptureCursor, 0, kCursorCount - 1);
    s.flgCursorCapture = r.flag(kCapture, "flgCursorCapture");
    if (const auto fill = parseColourKey(r.text(kCapture, "FillColor", "")); fill && isColourValue(*fill))
        s.FillColor = *fill;
    if (const int size = r.integerInRange(kCapture, "MosaicSize", 0, kMosaicSizeMin, kMosaicSizeMax))
        s.MosaicSize = size;

    s.InitialDirTxt = r.text(kFileDir, "InitialDirTxt", d.InitialDirTxt);
    s.InitialDirImg = r.text(kFileDir, "InitialDirImg", d.InitialDirImg);
    for (int i = 0; i < kCustomFormats; ++i)
        s.Custom[static_cast<size_t>(i)] = r.text(kFormat, ("Custom" + std::to_string(i + 1)).c_str(), "");
    for (int i = 0; i < kProfileKeys; ++i)
        s.Profile[static_cast<size_t>(i)] = r.text(kColorManagement, ("Profile" + std::to_string(i + 1)).c_str(), "");
    // "1" or "0"; anything else leaves the switch unset.
    const auto optionalFlag = [&r](const char* key) -> std::optional<bool> {
        const std::string v = r.text(kColorManagement, key, "");
        if (v == "1" || v == "0") return v == "1";
        return std::nullopt;
    };
    s.ScreenValues = optionalFlag("ScreenValues");
    s.CaptureToSrgb = optionalFlag("CaptureToSrgb");
    return s;
}

void saveSettings(Profile& p, const Settings& s, const MenuState& menu, const KeyNameFn& keyName) {
    const auto integer = [&p](const char* section, const char* key, int v) {
        p.writeString(section, key, std::to_string(v));
    };
    const auto flag = [&p](const char* section, const std::string& key, bool v) {
        p.writeString(section, key, v ? "1" : "0");
    };
    const auto colour = [&p](const char* key, uint32_t v) { p.writeString(kDisplay, key, colourToKeyText(v)); };
    const auto shortcut = [&p, &keyName](const char* key, uint16_t v) {
        p.writeString(kOption, key, shortcutToText(v, keyName));
    };
    const auto switchKey = [&p](const char* section, const char* key, bool first, const char* firstText, bool second,
                                const char* secondText) {
        if (first) {
            p.writeString(section, key, firstText);
        } else if (second) {
            p.writeString(section, key, secondText);
        }
    };

    integer(kWindow, "Top", s.Top);
    integer(kWindow, "Left", s.Left);

    switchKey(kDisplay, "TOPMOST", menu.topmostChecked, "On", menu.notTopmostChecked, "Off");
    if (menu.shownFormat) p.writeString(kDisplay, "ColorMode", colourFormatIniName(*menu.shownFormat));
    colour("MojiColor", s.MojiColor);
    colour("MojiBKColor", s.MojiBKColor);
    colour("ActiveColor", s.ActiveColor);
    colour("DeactiveColor", s.DeactiveColor);
    colour("ImgBKColor", s.ImgBKColor);
    colour("MaskColor", s.MaskColor);
    if (menu.copyFormat) {
        p.writeString(kDisplay, "CopyColorMode", colourFormatIniName(*menu.copyFormat));
    } else if (parseColourFormat(s.CopyColorMode)) {
        p.writeString(kDisplay, "CopyColorMode", "");  // back to copying what is shown
    }

    switchKey(kOption, "HookHotKey", menu.notHookHotKeyChecked, "Off", menu.hookHotKeyChecked, "On");
    integer(kOption, "JPGQuality", s.JPGQuality);
    integer(kOption, "PNGQuality", s.PNGQuality);
    integer(kOption, "OptionRectWidth", s.OptionRectWidth);
    shortcut("HotKeyGetColor", s.HotKeyGetColor);
    shortcut("HotKeyScreenCapture", s.HotKeyScreenCapture);
    shortcut("HotKeyWindowCapture", s.HotKeyWindowCapture);
    shortcut("HotKeyRectCapture", s.HotKeyRectCapture);
    flag(kOption, "HookPrintScreenKey", s.HookPrintScreenKey);
    flag(kOption, "HookAltPrintScreenKey", s.HookAltPrintScreenKey);
    if (s.Language) p.writeString(kOption, "Language", *s.Language);

    for (size_t i = 0; i < s.Msg_ID.size(); ++i) flag(kMessage, msgKey(i), s.Msg_ID[i]);

    integer(kCapture, "SleepTime", s.SleepTime);
    integer(kCapture, "CaptureCursor", s.CaptureCursor);
    flag(kCapture, "flgCursorCapture", s.flgCursorCapture);
    if (s.FillColor) p.writeString(kCapture, "FillColor", colourToKeyText(*s.FillColor));
    if (s.MosaicSize) integer(kCapture, "MosaicSize", *s.MosaicSize);

    p.writeString(kFileDir, "InitialDirTxt", s.InitialDirTxt);
    p.writeString(kFileDir, "InitialDirImg", s.InitialDirImg);
    if (s.ScreenValues) flag(kColorManagement, "ScreenValues", *s.ScreenValues);
    if (s.CaptureToSrgb) flag(kColorManagement, "CaptureToSrgb", *s.CaptureToSrgb);
}

}  // namespace hueloom::settings
