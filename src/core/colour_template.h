// The user's own value formats: templates kept in the settings file
// ([Format] Custom1 .. Custom9), each "name|text" (without "|" the text is its
// own name). In the text, fields in braces take the colour's values:
//   {r} {g} {b}        channels 0..255        {R} {G} {B}  two hex digits, upper case
//   {rx} {gx} {bx}     two hex digits, lower  {hex}        RRGGBB
//   {rf} {gf} {bf}     channels 0..1
//   {hsl.h} {hsl.s} {hsl.l}   {hwb.w} {hwb.b}   {lab.l} {lab.a} {lab.b}
//   {lch.c} {lch.h}   {oklab.l} {oklab.a} {oklab.b}   {oklch.c} {oklch.h}
//   {p3.r} {p3.g} {p3.b}
// A number field takes ":N" for N decimals (0..10; "{rf:2}"); without it the
// floats have 3, the other spaces' values the decimals of their CSS texts.
// "{{" and "}}" are braces themselves. Examples: "{r},{g},{b}", "0x{R}{G}{B}",
// "C#|Color.FromArgb({r}, {g}, {b})", "GLSL|vec3({rf}, {gf}, {bf})".
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/colour_format.h"

namespace hueloom {

class ColourTemplate {
public:
    // The template of a settings value, or nothing with `error` saying why.
    static std::optional<ColourTemplate> parse(std::string_view value, std::string& error);
    const std::string& name() const { return name_; }
    std::string format(Rgb c) const;

    struct Piece {
        std::string literal;  // text before the field
        int field = -1;  // -1: none (the end)
        int decimals = -1;  // -1: the field's own
    };

private:
    std::string name_;
    std::vector<Piece> pieces_;
};

class ColourTemplates {
public:
    // From the settings values, Custom1 first; an empty value is no template,
    // one that cannot be read is left out and named in errors().
    explicit ColourTemplates(const std::array<std::string, kCustomFormats>& values = {});
    const ColourTemplate* at(int index) const;
    const std::vector<std::string>& errors() const { return errors_; }

private:
    std::array<std::optional<ColourTemplate>, kCustomFormats> templates_;
    std::vector<std::string> errors_;
};

}  // namespace hueloom
