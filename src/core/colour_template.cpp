#include "core/colour_template.h"

#include <charconv>
#include <cstdio>
#include <iterator>

#include "core/css_colour.h"

namespace hueloom {

namespace {

enum Kind { Byte, HexUpper, HexLower, Float, Hex6, Space };
struct Field {
    const char* name;
    Kind kind;
    int channel;  // 0..2 of the channel or of the space's coordinates
    css::Coords (*space)(Rgb);
    int decimals;
};

css::Coords oklabPercent(Rgb c) {
    css::Coords v = css::oklab(c);
    v.a *= 100;
    return v;
}
css::Coords oklchPercent(Rgb c) {
    css::Coords v = css::oklch(c);
    v.a *= 100;
    return v;
}

constexpr Field kFields[] = {
    {"r", Byte, 0, nullptr, 0},
    {"g", Byte, 1, nullptr, 0},
    {"b", Byte, 2, nullptr, 0},
    {"R", HexUpper, 0, nullptr, 0},
    {"G", HexUpper, 1, nullptr, 0},
    {"B", HexUpper, 2, nullptr, 0},
    {"rx", HexLower, 0, nullptr, 0},
    {"gx", HexLower, 1, nullptr, 0},
    {"bx", HexLower, 2, nullptr, 0},
    {"rf", Float, 0, nullptr, 3},
    {"gf", Float, 1, nullptr, 3},
    {"bf", Float, 2, nullptr, 3},
    {"hex", Hex6, 0, nullptr, 0},
    {"hsl.h", Space, 0, css::hsl, 1},
    {"hsl.s", Space, 1, css::hsl, 1},
    {"hsl.l", Space, 2, css::hsl, 1},
    {"hwb.w", Space, 1, css::hwb, 1},
    {"hwb.b", Space, 2, css::hwb, 1},
    {"lab.l", Space, 0, css::labD50, 2},
    {"lab.a", Space, 1, css::labD50, 2},
    {"lab.b", Space, 2, css::labD50, 2},
    {"lch.c", Space, 1, css::lch, 2},
    {"lch.h", Space, 2, css::lch, 2},
    {"oklab.l", Space, 0, oklabPercent, 2},
    {"oklab.a", Space, 1, css::oklab, 5},
    {"oklab.b", Space, 2, css::oklab, 5},
    {"oklch.c", Space, 1, css::oklch, 5},
    {"oklch.h", Space, 2, oklchPercent, 2},
    {"p3.r", Space, 0, css::displayP3, 4},
    {"p3.g", Space, 1, css::displayP3, 4},
    {"p3.b", Space, 2, css::displayP3, 4},
};

double coordinate(const css::Coords& v, int i) { return i == 0 ? v.a : i == 1 ? v.b : v.c; }
uint8_t channel(Rgb c, int i) { return i == 0 ? c.r : i == 1 ? c.g : c.b; }

}  // namespace

std::optional<ColourTemplate> ColourTemplate::parse(std::string_view value, std::string& error) {
    ColourTemplate t;
    const size_t bar = value.find('|');
    std::string_view text = bar == std::string_view::npos ? value : value.substr(bar + 1);
    t.name_ = std::string(bar == std::string_view::npos ? value : value.substr(0, bar));
    if (t.name_.empty() || text.empty()) {
        error = "no name or no text";
        return std::nullopt;
    }
    Piece piece;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if ((ch == '{' || ch == '}') && i + 1 < text.size() && text[i + 1] == ch) {
            piece.literal += ch;
            ++i;
            continue;
        }
        if (ch == '}') {
            error = "a \"}\" without its \"{\"";
            return std::nullopt;
        }
        if (ch != '{') {
            piece.literal += ch;
            continue;
        }
        const size_t end = text.find('}', i);
        if (end == std::string_view::npos) {
            error = "a \"{\" without its \"}\"";
            return std::nullopt;
        }
        std::string_view inside = text.substr(i + 1, end - i - 1);
        const size_t colon = inside.find(':');
        const std::string_view name = inside.substr(0, colon);
        for (size_t k = 0; k < std::size(kFields); ++k)
            if (name == kFields[k].name) piece.field = static_cast<int>(k);
        if (piece.field < 0) {
            error = "no field {" + std::string(inside) + "}";
            return std::nullopt;
        }
        if (colon != std::string_view::npos) {
            const std::string_view digits = inside.substr(colon + 1);
            const Kind kind = kFields[piece.field].kind;
            const auto [rest, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), piece.decimals);
            if ((kind != Float && kind != Space) || ec != std::errc() || rest != digits.data() + digits.size() ||
                piece.decimals < 0 || piece.decimals > 10) {
                error = "decimals \"" + std::string(digits) + "\" in {" + std::string(inside) + "}";
                return std::nullopt;
            }
        }
        t.pieces_.push_back(std::move(piece));
        piece = Piece();
        i = end;
    }
    t.pieces_.push_back(std::move(piece));
    return t;
}

std::string ColourTemplate::format(Rgb c) const {
    std::string out;
    char buf[16];
    for (const Piece& p : pieces_) {
        out += p.literal;
        if (p.field < 0) continue;
        const Field& f = kFields[p.field];
        const int decimals = p.decimals >= 0 ? p.decimals : f.decimals;
        switch (f.kind) {
        case Byte: out += std::to_string(channel(c, f.channel)); break;
        case HexUpper:
        case HexLower:
            std::snprintf(buf, sizeof buf, f.kind == HexUpper ? "%02X" : "%02x", channel(c, f.channel));
            out += buf;
            break;
        case Float: out += css::number(channel(c, f.channel) / 255.0, decimals); break;
        case Hex6: out += hexadecimalText(c).substr(1); break;
        case Space: out += css::number(coordinate(f.space(c), f.channel), decimals); break;
        }
    }
    return out;
}

ColourTemplates::ColourTemplates(const std::array<std::string, kCustomFormats>& values) {
    for (int i = 0; i < kCustomFormats; ++i) {
        if (values[static_cast<size_t>(i)].empty()) continue;
        std::string error;
        templates_[static_cast<size_t>(i)] = ColourTemplate::parse(values[static_cast<size_t>(i)], error);
        if (!templates_[static_cast<size_t>(i)])
            errors_.push_back("Custom" + std::to_string(i + 1) + "=" + values[static_cast<size_t>(i)] + " (" + error +
                              ")");
    }
}

const ColourTemplate* ColourTemplates::at(int index) const {
    if (index < 0 || index >= kCustomFormats) return nullptr;
    const auto& t = templates_[static_cast<size_t>(index)];
    return t ? &*t : nullptr;
}

}  // namespace hueloom
