#include "picking/palette_files.h"

#include <cstdio>

#include "settings/colour_key.h"

namespace hueloom::picking {

namespace {

std::string printable(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7E) ch = '_';
    return out;
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::string format(const char* pattern, int a, int b, int c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, a, b, c);
    return buf;
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"' || ch == '\\') out += '\\';
        out += ch;
    }
    return out + "\"";
}

}  // namespace

std::vector<PaletteEntry> paletteEntries(const PickedColours& list) {
    std::vector<PaletteEntry> out;
    const auto& entries = list.entries();
    const auto& colours = list.colours();
    for (std::size_t k = 0; k < entries.size() && k < colours.size(); ++k) {
        const std::string& entry = entries[k];
        const std::size_t colon = entry.find(": ");
        out.push_back({printable(colon == std::string::npos ? entry : entry.substr(0, colon)), colours[k]});
    }
    return out;
}

std::string memoTextIn(const PickedColours& list, ColourFormat format) {
    std::string text;
    const auto& entries = list.entries();
    const auto& colours = list.colours();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::string& entry = entries[k];
        const std::size_t colon = entry.find(": ");
        if (colon != std::string::npos && k < colours.size())
            text += entry.substr(0, colon + 2) + formatColour(colours[k], format);
        else
            text += entry;
        text += "\r\n";
    }
    return text;
}

std::vector<uint8_t> gimpPaletteBytes(const std::vector<PaletteEntry>& entries, std::string_view name, int columns) {
    std::string text = "GIMP Palette\nName: " + printable(name) + "\nColumns: " + std::to_string(columns) + "\n#\n";
    for (const PaletteEntry& e : entries) {
        text += format("%3d %3d %3d\t", e.colour.r, e.colour.g, e.colour.b);
        text += e.name + "\n";
    }
    return bytesOf(text);
}

std::vector<uint8_t> cssPaletteBytes(const std::vector<PaletteEntry>& entries) {
    std::string text = ":root {\n";
    for (const PaletteEntry& e : entries) {
        std::string property = e.name;
        for (char& ch : property) {
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
            const bool ok = (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_';
            if (!ok) ch = '_';
        }
        if (property.empty()) property.push_back('_');  // "--" alone is no property name
        text += "  --";
        text += property;
        text += ": " + hexadecimalText(e.colour) + ";\n";
    }
    return bytesOf(text + "}\n");
}

std::vector<uint8_t> jsonPaletteBytes(const std::vector<PaletteEntry>& entries) {
    std::string text = "[";
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const PaletteEntry& e = entries[k];
        text += k == 0 ? "\n" : ",\n";
        text += "  {\"name\": " + jsonString(e.name) + ", \"hex\": \"" + hexadecimalText(e.colour) + "\", \"rgb\": ";
        text += format("[%d, %d, %d]}", e.colour.r, e.colour.g, e.colour.b);
    }
    return bytesOf(text + (entries.empty() ? "]\n" : "\n]\n"));
}

PaletteTarget paletteTarget(std::string_view fileName, int filterIndex) {
    static constexpr struct {
        PaletteKind kind;
        const char* extension;
    } kKinds[] = {{PaletteKind::Gimp, ".gpl"}, {PaletteKind::Css, ".css"}, {PaletteKind::Json, ".json"}};
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.find_last_of("\\/");
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        std::string ext(fileName.substr(dot));
        for (char& ch : ext)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        for (const auto& k : kKinds)
            if (ext == k.extension) return {k.kind, std::string(fileName)};
    }
    const auto& k = kKinds[(filterIndex >= 1 && filterIndex <= 3) ? filterIndex - 1 : 0];
    return {k.kind, std::string(fileName) + k.extension};
}

std::vector<uint8_t> paletteBytes(PaletteKind kind, const std::vector<PaletteEntry>& entries, std::string_view name) {
    switch (kind) {
    case PaletteKind::Gimp: return gimpPaletteBytes(entries, name);
    case PaletteKind::Css: return cssPaletteBytes(entries);
    case PaletteKind::Json: return jsonPaletteBytes(entries);
    }
    return {};
}

}  // namespace hueloom::picking
