#pragma once
// Colour values and integers as they are spelled in the settings file.
//
// A colour value is 32 bits: 00BBGGRR for an ordinary colour (red in the low
// byte), $80000000 + index for a system colour, $1FFFFFFF for clNone and
// $20000000 for clDefault. Its text form is a name of the 52-entry colour name
// table ("clAqua") when the value is in the table, otherwise "$" and eight
// upper-case hexadecimal digits ("$00563412").

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/colour.h"

namespace hueloom::settings {

struct ColourName {
    const char* name;
    uint32_t value;
};

// The 52 names in table order: 20 fixed colours, 30 system colours, clNone and
// clDefault.
std::span<const ColourName> colourNameTable();

// Integer text as the settings file spells it: optional leading blanks and
// sign, then decimal digits, or hexadecimal digits after "$" or after "0x"/"0X"
// (the prefix must be followed by at least one character). Anything else,
// trailing junk included, is not a number. Decimal must fit a signed 32-bit
// integer; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1). Too large a
// value is not a number.
std::optional<int32_t> parseSettingsInteger(std::string_view text);

// Colour value -> colour-key text ("clWhite", "$0038220C").
std::string colourToKeyText(uint32_t colour);

// Whether a value is one of the colour values above: an ordinary colour, a
// system colour with an index 0..30, clNone or clDefault.
bool isColourValue(uint32_t value);

// Colour-key text -> colour value: a table name in any letter case, else an
// integer as parseSettingsInteger reads it. Nothing for any other text.
std::optional<uint32_t> parseColourKey(std::string_view text);

}  // namespace hueloom::settings
