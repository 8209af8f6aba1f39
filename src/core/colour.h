// Colour values as the program passes them around.
//
// A colour value is 32 bits: 00BBGGRR for an ordinary colour (red in the low
// byte, as GDI stores it), $80000000 + index for a system colour, $1FFFFFFF
// for clNone and $20000000 for clDefault. Rgb is an ordinary colour split
// into its channels.
#pragma once
#include <cstdint>
#include <string>

namespace hueloom {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// 00BBGGRR from the three channels.
constexpr uint32_t rgbColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
constexpr uint32_t toColourValue(Rgb c) { return rgbColour(c.r, c.g, c.b); }
constexpr Rgb fromColourValue(uint32_t v) {
    return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
            static_cast<uint8_t>((v >> 16) & 0xFF)};
}

// The value texts of a colour.
std::string decimalText(Rgb c);  // "rgb(255,128,0)"
std::string hexadecimalText(Rgb c);  // "#FF8000"

// The inverse colour, for marks drawn over a colour.
constexpr Rgb markerColour(Rgb c) {
    return {static_cast<uint8_t>(255 - c.r), static_cast<uint8_t>(255 - c.g), static_cast<uint8_t>(255 - c.b)};
}

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

}  // namespace hueloom
