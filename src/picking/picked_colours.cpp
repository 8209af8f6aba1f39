#include "picking/picked_colours.h"

namespace hueloom::picking {

std::string pickedEntryText(int number, std::string_view valueText) {
    std::string text = "C";
    text += std::to_string(number);
    text += ": ";
    text += valueText;
    return text;
}

std::string PickedColours::pick(std::string_view valueText, Rgb colour) {
    if (valueText.empty()) return {};
    ++count_;
    std::string entry = pickedEntryText(count_, valueText);
    add(entry, colour);
    return entry;
}

void PickedColours::add(std::string entryText, Rgb colour) {
    entries_.push_back(std::move(entryText));
    colours_.push_back(colour);
}

void PickedColours::clear() {
    count_ = 0;
    entries_.clear();
    colours_.clear();
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
