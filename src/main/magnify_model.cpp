#include "main/magnify_model.h"

namespace hueloom::app {

void MagnifyModel::setLayout(Layout which) {
    layout_ = which;
    displayMode_ = which == Layout::Magnifier ? magnifier::Normal : magnifier::ImageLayout;
}

namespace {
bool offered(const ColourTemplates& t, std::optional<ColourFormat> f) {
    return !f || !isCustomFormat(*f) || t.at(customIndex(*f));
}
}  // namespace

void MagnifyModel::setShownFormat(std::optional<ColourFormat> format) {
    if (!offered(templates_, format)) format.reset();
    if (format == shown_) return;
    shown_ = format;
    rebuildText();
}

bool MagnifyModel::setAveraging(int n) {
    if (!magnifier::isValidAveragingSize(n)) return false;
    averaging_ = n;
    return true;
}

void MagnifyModel::setScreenValues(bool on) {
    screenValues_ = on;
    rebuildText();
}

bool MagnifyModel::setSample(const ViewSample& sample) {
    const bool sameColour = sample_ && sample_->colour == sample.colour && sample_->content == sample.content;
    sample_ = sample;
    if (sameColour) return false;
    rebuildText();
    return true;
}

void MagnifyModel::clearSample() {
    sample_.reset();
    shownText_.clear();
}

const ContentColour* MagnifyModel::content() const {
    return sample_ && sample_->content && !screenValues_ ? &*sample_->content : nullptr;
}

std::optional<Rgb> MagnifyModel::value() const {
    if (!sample_) return std::nullopt;
    const ContentColour* c = content();
    return c ? c->srgb : sample_->colour;
}

// The value in a format: display-p3 exactly where the profile tells it.
std::string MagnifyModel::valueText(ColourFormat format) const {
    const ContentColour* c = content();
    if (c && c->displayP3 && format == ColourFormat::DisplayP3) return css::displayP3Text(*c->displayP3);
    return text(*value(), format);
}

void MagnifyModel::rebuildText() {
    shownText_ = sample_ && shown_ ? valueText(*shown_) : std::string();
    const ContentColour* c = content();
    constexpr std::string_view kNear = "≈";
    if (c && c->outsideSrgb && !shownText_.empty() && shownText_.rfind(kNear, 0) != 0 &&
        !(c->displayP3 && shown_ == ColourFormat::DisplayP3))
        shownText_.insert(0, kNear);
}

std::string MagnifyModel::copyText() const {
    if (shownText_.empty()) return {};
    return valueText(copy_ ? *copy_ : *shown_);
}

void MagnifyModel::applySettings(const settings::Settings& s) {
    templates_ = ColourTemplates(s.Custom);
    if (s.TOPMOST == "On")
        topmost_ = true;
    else if (s.TOPMOST == "Off")
        topmost_ = false;
    if (const auto format = parseColourFormat(s.ColorMode)) setShownFormat(*format);
    copy_ = parseColourFormat(s.CopyColorMode);
    if (!offered(templates_, copy_)) copy_.reset();
    screenValues_ = s.screenValues();
    if (s.HookHotKey == "Off")
        scope_ = HotKeyScope::ActiveOnly;
    else if (s.HookHotKey == "On")
        scope_ = HotKeyScope::Always;
}

settings::MenuState MagnifyModel::menuState() const {
    settings::MenuState m;
    m.topmostChecked = topmost_ == true;
    m.notTopmostChecked = topmost_ == false;
    m.shownFormat = shown_;
    m.copyFormat = copy_;
    m.notHookHotKeyChecked = scope_ == HotKeyScope::ActiveOnly;
    m.hookHotKeyChecked = scope_ == HotKeyScope::Always;
    return m;
}

}  // namespace hueloom::app
