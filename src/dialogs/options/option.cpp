#include "dialogs/options/option.h"

#include "core/dpi.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "magnifier/magnifier.h"
#include "core/texts.h"

namespace hueloom::dialogs {

namespace {

// A page's caption is the text of its key.
struct PageDef {
    const char* captionKey;
    uint32_t colour;
};

constexpr PageDef kPages[kOptionPageCount] = {
    {"options.jpg", hueloom::rgbColour(204, 255, 255)}, {"options.png", hueloom::rgbColour(204, 204, 255)},
    {"options.1", hueloom::rgbColour(255, 204, 255)},   {"options.2", hueloom::rgbColour(255, 204, 204)},
    {"options.3", hueloom::rgbColour(255, 255, 204)},   {"options.4", hueloom::rgbColour(204, 255, 204)},
    {"options.5", hueloom::rgbColour(255, 204, 153)},
};

constexpr const char* kHotKeyCaptionKeys[kOptionHotKeyCount] = {"options.6", "options.7", "options.8", "options.9"};

}  // namespace

std::string_view optionHotKeyCaption(int which) {
    if (which < 0 || which >= kOptionHotKeyCount) return {};
    return hueloom::text(kHotKeyCaptionKeys[which]);
}

std::optional<SharedHotKey> sharedHotKey(const std::array<uint16_t, kOptionHotKeyCount>& keys) {
    for (int i = 0; i < kOptionHotKeyCount; ++i)
        for (int j = i + 1; j < kOptionHotKeyCount; ++j)
            if (keys[i] != 0 && keys[i] == keys[j]) return SharedHotKey{i, j, keys[i]};
    return std::nullopt;
}

std::string sharedHotKeyMessage(const SharedHotKey& shared, const std::string& keyText) {
    return hueloom::text("options.10") + keyText + hueloom::text("options.11") +
           std::string(optionHotKeyCaption(shared.first)) + hueloom::text("options.12") +
           std::string(optionHotKeyCaption(shared.second)) + hueloom::text("options.13");
}

int languageIndexOf(const std::string& setting) {
    const auto l = hueloom::parseLanguageSetting(setting);
    if (!l || !*l) return 0;
    return **l == hueloom::Language::Japanese ? 1 : 2;
}

std::string_view optionPageCaption(int page) {
    if (page < 0 || page >= kOptionPageCount) return {};
    return hueloom::text(kPages[page].captionKey);
}

uint32_t optionPageColour(int page) { return kPages[validOptionPage(page)].colour; }

int validOptionPage(int page) { return page >= 0 && page < kOptionPageCount ? page : kPageJPG; }

int firstOptionPage(OptionCommand command) {
    switch (command) {
    case OptionCommand::Pixels: return kPageAverage;
    case OptionCommand::VariousColor: return kPageColors;
    case OptionCommand::Setting: break;
    }
    return kPageJPG;
}

OptionControls optionControlsFrom(const settings::Settings& s, int averagingSize) {
    OptionControls c;
    c.jpgPosition = std::clamp(s.JPGQuality, kJPGQualityMin, kJPGQualityMax);
    c.pngIndex = s.PNGQuality >= 0 && s.PNGQuality < kPNGQualityItems ? s.PNGQuality : -1;
    c.rectWidth = std::clamp(s.OptionRectWidth, kRectWidthMin, kRectWidthMax);
    // Size 1 (standard mode) selects no item: (1 - 3) / 2 truncates to -1.
    c.averageIndex = magnifier::isValidAveragingSize(averagingSize) ? (averagingSize - 3) / 2 : -1;
    c.colours = {s.MojiColor, s.MojiBKColor, s.ActiveColor, s.DeactiveColor, s.ImgBKColor, s.MaskColor};
    c.hotKeys = {s.HotKeyGetColor, s.HotKeyScreenCapture, s.HotKeyWindowCapture, s.HotKeyRectCapture};
    c.hookPrintScreen = s.HookPrintScreenKey;
    c.hookAltPrintScreen = s.HookAltPrintScreenKey;
    c.sleepText = std::to_string(s.SleepTime);
    c.cursorIndex = s.CaptureCursor >= 0 && s.CaptureCursor < settings::kCursorCount ? s.CaptureCursor : -1;
    c.cursorCapture = s.flgCursorCapture;
    c.captureToSrgb = s.captureToSrgb();
    c.languageIndex = languageIndexOf(s.Language.value_or("auto"));
    return c;
}

void takeOptionControls(const OptionControls& c, settings::Settings& s, int& averagingSize) {
    s.JPGQuality = std::clamp(c.jpgPosition, kJPGQualityMin, kJPGQualityMax);
    if (c.pngIndex >= 0 && c.pngIndex < kPNGQualityItems)
        s.PNGQuality = c.pngIndex;
    else if (s.PNGQuality < 0 || s.PNGQuality >= kPNGQualityItems)
        s.PNGQuality = settings::kDefaultPNGQuality;
    s.OptionRectWidth = std::clamp(c.rectWidth, kRectWidthMin, kRectWidthMax);
    averagingSize =
        c.averageIndex >= 0 && c.averageIndex < kAverageItems ? magnifier::averagingSizeFromIndex(c.averageIndex) : 1;
    s.MojiColor = c.colours[kMojiColor];
    s.MojiBKColor = c.colours[kMojiBKColor];
    s.ActiveColor = c.colours[kActiveColor];
    s.DeactiveColor = c.colours[kDeactiveColor];
    s.ImgBKColor = c.colours[kImgBKColor];
    s.MaskColor = c.colours[kMaskColor];
    s.HotKeyGetColor = c.hotKeys[kHotKeyGetColor];
    s.HotKeyScreenCapture = c.hotKeys[kHotKeyScreenCapture];
    s.HotKeyWindowCapture = c.hotKeys[kHotKeyWindowCapture];
    s.HotKeyRectCapture = c.hotKeys[kHotKeyRectCapture];
    s.HookPrintScreenKey = c.hookPrintScreen;
    s.HookAltPrintScreenKey = c.hookAltPrintScreen;
    if (auto ms = parseSleepTime(c.sleepText)) s.SleepTime = *ms;
    s.CaptureCursor =
        c.cursorIndex >= 0 && c.cursorIndex < settings::kCursorCount ? c.cursorIndex : settings::kDefaultCaptureCursor;
    s.flgCursorCapture = c.cursorCapture;
    // Written once the user has chosen: a file without the key keeps none.
    if (c.captureToSrgb != s.captureToSrgb()) s.CaptureToSrgb = c.captureToSrgb;
    // The language, once another is chosen: it applies from the next start.
    static constexpr const char* kLanguages[] = {"auto", "ja", "en"};
    if (c.languageIndex >= 0 && c.languageIndex < 3 && c.languageIndex != languageIndexOf(s.Language.value_or("auto")))
        s.Language = kLanguages[c.languageIndex];
}

std::optional<int> parseSleepTime(std::string_view text) {
    auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        value = value * 10 + (ch - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;  // not a 32-bit integer
    }
    if (negative) value = -value;
    if (value > INT_MAX) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(value, kSleepTimeMin, kSleepTimeMax));
}

std::string jpgQualityCaption(int position) { return hueloom::text("options.14") + std::to_string(position); }

OptionOutline optionOutline(int dpi) {
    auto s = [dpi](int v) { return hueloom::scale(v, dpi); };
    return {0,
            0,
            s(kOptionWidth),
            s(kOptionHeight),
            s(kOptionCornerEllipse),
            0,
            s(kOptionPagesTop),
            s(kOptionWidth),
            s(kOptionPagesTop + kOptionPagesHeight + 3)};
}

}  // namespace hueloom::dialogs
