// TfrmMagnify's colour management: each monitor's colour profile, the
// content's colour of the pixel under the pointer where the profile is not
// sRGB, the switch to the screen's own values, and the profile a capture
// carries (or its conversion to sRGB).
#include "main/magnify_win.h"

#include "colour_management/icc_profile.h"
#include "dialogs/infobox/info_box_win.h"
#include "toolkit/application_win.h"
#include "core/texts.h"

namespace hueloom::app {

namespace cm = hueloom::colour_management;

void TfrmMagnify::loadProfiles(bool report) {
    static_assert(cm::MonitorProfiles::kKeys == hueloom::settings::kProfileKeys);
    const std::vector<std::string> problems = profiles_.load(settings.Profile, tk::modulePath());
    if (!report || problems.empty()) return;
    std::wstring text = hueloom::wideText("main.colour.1");
    for (const std::string& p : problems) text += L"\n[ColorManagement] " + tk::widen(p, CP_UTF8) + L"\n";
    hueloom::dialogs::ShowInfoBox(hueloom::wideText("main.colour.2"), text, -1, -1, false, settings.ActiveColor);
}

std::optional<ContentColour> TfrmMagnify::contentColour(hueloom::Rgb screen, hueloom::Point p) const {
    const cm::MonitorColours* m = profiles_.at(p);
    if (!m || !m->managed()) return std::nullopt;
    ContentColour c;
    c.srgb = m->transform->toSrgb(screen);
    c.profile = m->embedded->name;
    if (m->profile->hasMatrixShaper()) {
        const cm::ExactColour exact = cm::exactColour(*m->profile, screen);
        c.outsideSrgb = exact.outsideSrgb;
        c.displayP3 = hueloom::css::displayP3FromXyzD50(exact.xyzD50);
    }
    return c;
}

void TfrmMagnify::showValueTip() {
    std::wstring tip = star2Hint();
    const auto& sample = model_.sample();
    if (sample && sample->content) {
        const std::wstring profile = tk::widen(sample->content->profile, CP_UTF8);
        if (model_.screenValues()) {
            tip += hueloom::wideText("main.colour.3") + profile + hueloom::wideText("main.colour.4");
        } else {
            tip += L"\r\n" + profile + hueloom::wideText("main.colour.5");
            if (sample->content->outsideSrgb) tip += hueloom::wideText("main.colour.6");
            tip += hueloom::wideText("main.colour.7") +
                   tk::widen(model_.text(sample->colour, hueloom::ColourFormat::Decimal), CP_UTF8);
        }
    }
    CuteButton2.setHint(tip);
}

void TfrmMagnify::mnuScreenValuesClick() {
    model_.setScreenValues(!model_.screenValues());
    settings.ScreenValues = model_.screenValues();
    syncMenuChecks();
    showValue();
}

void TfrmMagnify::prepareCapture(hueloom::image::Dib& picture, const hueloom::Rect& area) const {
    if (!picture.isNull()) profiles_.prepareCapture(picture, area, settings.captureToSrgb());
}

}  // namespace hueloom::app
