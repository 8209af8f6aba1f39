// The main window's state, without the window: whether the magnifier runs,
// the layout and display mode, the value format shown and the one copied, the
// averaging size, the switches kept in the settings file, the colour under
// the pointer and the picked colours. TfrmMagnify sends it the user's
// commands and draws from it; its menus take their check marks from here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/colour.h"
#include "core/colour_format.h"
#include "core/colour_template.h"
#include "core/css_colour.h"
#include "core/geometry.h"
#include "magnifier/magnifier.h"
#include "picking/picked_colours.h"
#include "settings/settings.h"

namespace hueloom::app {

enum class Layout { Magnifier, Image };
enum class HotKeyScope { ActiveOnly, Always };

// The colour of the content behind a screen pixel, where the monitor's
// colour profile is not sRGB: the pixel converted from the profile to sRGB,
// whether it lies outside sRGB (then the sRGB value is the nearest), its
// exact display-p3 coordinates when the profile tells them, and the
// profile's name.
struct ContentColour {
    Rgb srgb;
    bool outsideSrgb = false;
    std::optional<css::Coords> displayP3;
    std::string profile;
    friend bool operator==(const ContentColour& a, const ContentColour& b) {
        return a.srgb == b.srgb && a.outsideSrgb == b.outsideSrgb && a.profile == b.profile &&
               a.displayP3.has_value() == b.displayP3.has_value() &&
               (!a.displayP3 || (a.displayP3->a == b.displayP3->a && a.displayP3->b == b.displayP3->b &&
                                 a.displayP3->c == b.displayP3->c));
    }
};

// The colour under the pointer: its value as the screen has it, the marks'
// colour drawn over the view, where the pointer was (physical screen pixels)
// and on which monitor (1-based, in the system's order; 0 when unknown), and
// the content's colour where the monitor's profile converts it.
struct ViewSample {
    Rgb colour;
    Rgb marker;
    Point pointer;
    int monitor = 0;
    std::optional<ContentColour> content;
    friend bool operator==(const ViewSample&, const ViewSample&) = default;
};

class MagnifyModel {
public:
    // The sampling timer's interval doubles as the magnifier's state: 100 ms
    // while it runs, 0 while it is stopped.
    static constexpr int kSamplingInterval = 100;

    bool running() const { return running_; }
    int samplingInterval() const { return running_ ? kSamplingInterval : 0; }
    void setRunning(bool on) { running_ = on; }

    Layout layout() const { return layout_; }
    int displayMode() const { return displayMode_; }
    // The image layout's display mode is magnifier::ImageLayout; entering
    // the magnifier layout starts in Normal.
    void setLayout(Layout which);
    void setDisplayMode(int mode) { displayMode_ = mode; }

    // The user's templates (Custom1 .. Custom9), from the settings file.
    const ColourTemplates& templates() const { return templates_; }
    // The text of a colour in a format, a template's included (UTF-8).
    std::string text(Rgb c, ColourFormat format) const { return formatColour(c, format, &templates_); }

    // The format shown; none while no format is chosen (an unknown ColorMode),
    // and then nothing is shown or copied. A template that is not there is
    // no format.
    std::optional<ColourFormat> shownFormat() const { return shown_; }
    void setShownFormat(std::optional<ColourFormat> format);
    // The format the copy key copies; none: "表示と同じ", what is shown.
    std::optional<ColourFormat> copyFormat() const { return copy_; }
    void setCopyFormat(std::optional<ColourFormat> format) { copy_ = format; }

    // 1 (standard mode) or an odd size up to 15; anything else is refused.
    int averaging() const { return averaging_; }
    bool setAveraging(int n);

    // Always on top: on, off, or neither chosen (TOPMOST neither "On" nor "Off").
    std::optional<bool> topmost() const { return topmost_; }
    void setTopmost(bool on) { topmost_ = on; }
    HotKeyScope hotKeyScope() const { return scope_; }
    void setHotKeyScope(HotKeyScope scope) { scope_ = scope; }

    // The screen's own values instead of the content's, where a monitor's
    // profile tells them apart ("画面の値を表示").
    bool screenValues() const { return screenValues_; }
    void setScreenValues(bool on);

    // A new sample: its value text is built here, once per change of colour
    // or format. True when what is shown changed.
    bool setSample(const ViewSample& sample);
    // Nothing under the pointer to show (the view is cut out, or the
    // magnifier stopped).
    void clearSample();
    const std::optional<ViewSample>& sample() const { return sample_; }
    // The sample's value as shown and copied: the content's colour where the
    // monitor's profile converts it (unless screenValues), else the screen's.
    std::optional<Rgb> value() const;
    // The content's colour in use (nullptr: the screen's value is shown).
    const ContentColour* content() const;
    // The text shown for the sample (UTF-8), "≈" before it for a colour
    // outside sRGB; empty when nothing is shown.
    const std::string& shownText() const { return shownText_; }
    // What the copy key copies: the sample in the copy format, or in the one
    // shown, never marked; empty when nothing is shown.
    std::string copyText() const;

    // The picked colours, as colours; an entry's text is the value as copied.
    const picking::PickedColours& picked() const { return picked_; }
    // Call once the text is on the clipboard; returns the new entry's text.
    std::string pick(std::string_view valueText, Rgb colour) { return picked_.pick(valueText, colour); }
    void clearPicked() { picked_.clear(); }

    // The choices the settings file keeps (TOPMOST, ColorMode, CopyColorMode,
    // HookHotKey), taken as the program has always read them: exact spelling,
    // an unknown text chooses nothing.
    void applySettings(const settings::Settings& s);
    // The same choices, as saveSettings writes them.
    settings::MenuState menuState() const;

private:
    void rebuildText();
    std::string valueText(ColourFormat format) const;

    bool running_ = true;
    Layout layout_ = Layout::Magnifier;
    int displayMode_ = magnifier::Normal;
    std::optional<ColourFormat> shown_;
    std::optional<ColourFormat> copy_;
    int averaging_ = 1;
    std::optional<bool> topmost_;
    HotKeyScope scope_ = HotKeyScope::ActiveOnly;
    ColourTemplates templates_;
    bool screenValues_ = false;
    std::optional<ViewSample> sample_;
    std::string shownText_;
    picking::PickedColours picked_;
};

}  // namespace hueloom::app
