// The named colours of CSS Color 4 (all 148), and the name of a colour: its
// own when it is one of them, else the nearest by CIEDE2000 with "≈" before
// it.
#pragma once
#include <span>
#include <string>

#include "core/colour.h"

namespace hueloom {

struct NamedColour {
    const char* name;
    Rgb colour;
};
// In alphabetical order; aliases (aqua and cyan, the "grey" spellings) both.
std::span<const NamedColour> cssNamedColours();

// CIEDE2000 colour difference of two colours (CIE L*a*b*, D50, as CSS).
double deltaE2000(Rgb a, Rgb b);

// "rebeccapurple", or "≈rebeccapurple" (UTF-8) for the nearest; of two
// aliases the first.
std::string colourNameText(Rgb c);

}  // namespace hueloom
