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

namespace hueloom::settings {

// Colour values used by name elsewhere in the program.
inline constexpr uint32_t kClBlack = 0x000000;
inline constexpr uint32_t kClWhite = 0xFFFFFF;
inline constexpr uint32_t kClRed = 0x0000FF;
inline constexpr uint32_t kClAqua = 0xFFFF00;
inline constexpr uint32_t kClNavy = 0x800000;
inline constexpr uint32_t kClOlive = 0x008080;
inline constexpr uint32_t kSystemColourBase = 0x80000000u;
inline constexpr uint32_t kClBackground = kSystemColourBase + 1;
inline constexpr uint32_t kClInactiveBorder = kSystemColourBase + 11;
inline constexpr uint32_t kClBtnFace = kSystemColourBase + 15;
inline constexpr uint32_t kClBtnShadow = kSystemColourBase + 16;
inline constexpr uint32_t kClBtnHighlight = kSystemColourBase + 20;
inline constexpr uint32_t kCl3DLight = kSystemColourBase + 22;
inline constexpr uint32_t kClInfoBk = kSystemColourBase + 24;
inline constexpr uint32_t kClNone = 0x1FFFFFFF;
inline constexpr uint32_t kClDefault = 0x20000000;

// True for $80000000 + index: the platform decides the actual colour
// (GetSysColor(value & 0xFF) on Windows).
constexpr bool isSystemColour(uint32_t value) { return (value & 0xFF000000u) == kSystemColourBase; }

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

// Colour-key text -> colour value: a table name in any letter case, else an
// integer as parseSettingsInteger reads it. Nothing for any other text.
std::optional<uint32_t> parseColourKey(std::string_view text);

// 00BBGGRR from the three channels.
constexpr uint32_t rgbColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

}  // namespace hueloom::settings
