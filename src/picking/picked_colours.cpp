#include "picking/picked_colours.h"

#include "settings/colour_key.h"

namespace hueloom::picking {

std::string pickedEntryText(int number, std::string_view valueText) {
    std::string text = "C";
    text += std::to_string(number);
    text += ": ";
    text += valueText;
    return text;
}

std::string PickedColours::pick(std::string_view valueText, uint32_t colour) {
    if (valueText.empty()) return {};
    ++count_;
    std::string entry = pickedEntryText(count_, valueText);
    add(entry, settings::colourToKeyText(colour));
    return entry;
}

void PickedColours::add(std::string entryText, std::string colourText) {
    entries_.push_back(std::move(entryText));
    colourTexts_.push_back(std::move(colourText));
}

void PickedColours::clear() {
    count_ = 0;
    entries_.clear();
    colourTexts_.clear();
}

std::string PickedColours::memoText() const {
    std::string text;
    for (const std::string& entry : entries_) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

}  // namespace hueloom::picking
