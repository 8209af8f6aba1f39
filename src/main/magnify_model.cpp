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

bool MagnifyModel::setSample(const ViewSample& sample) {
    const bool sameColour = sample_ && sample_->colour == sample.colour;
    sample_ = sample;
    if (sameColour) return false;
    rebuildText();
    return true;
}

void MagnifyModel::clearSample() {
    sample_.reset();
    shownText_.clear();
}

void MagnifyModel::rebuildText() { shownText_ = sample_ && shown_ ? text(sample_->colour, *shown_) : std::string(); }

std::string MagnifyModel::copyText() const {
    if (shownText_.empty()) return {};
    return copy_ ? text(sample_->colour, *copy_) : shownText_;
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
