#pragma once
// The picked-colour list: the numbered entries shown in the main window's
// drop-down list ("C1: rgb(255,128,0)") and, parallel to them, each entry's
// colour, which the colour-list image and the palette files draw from.
// Nothing of it is stored in the settings file; the memo (the entries, one
// per CR LF line) is the only way to keep it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"

namespace hueloom::picking {

class PickedColours {
public:
    // Number of colours picked since start or the last clear; it numbers the
    // entries and equals the number of entries.
    int count() const { return count_; }
    bool empty() const { return entries_.empty(); }
    const std::vector<std::string>& entries() const { return entries_; }
    const std::vector<Rgb>& colours() const { return colours_; }

    // Picks a colour: count + 1, then appends "C" + count + ": " + valueText
    // and the colour (AddPickedColour). Returns the new entry text,
    // which the list should show as selected. An empty valueText picks
    // nothing and returns "". Call it once the value text is on the clipboard,
    // so that a failed clipboard leaves list and numbering untouched.
    std::string pick(std::string_view valueText, Rgb colour);

    // AddPickedColour: appends an entry and its colour as they are, without
    // touching the count.
    void add(std::string entryText, Rgb colour);

    // Empties both lists; numbering restarts at 1.
    void clear();

    // The colour memo file's bytes: every entry followed by CR LF.
    std::string memoText() const;

private:
    int count_ = 0;
    std::vector<std::string> entries_;
    std::vector<Rgb> colours_;
};

// "C" + number + ": " + valueText.
std::string pickedEntryText(int number, std::string_view valueText);

}  // namespace hueloom::picking
