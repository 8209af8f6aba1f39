// The picked-colour list as palette files for other programs: a GIMP
// palette (.gpl), CSS custom properties (.css) and JSON (.json). Each writer
// returns the file's bytes (UTF-8, LF line ends) for the atomic file writer.
//
// A colour is named as the list numbers it: the entry text up to ": "
// ("C3" for "C3: #FF8000"), the whole text when it has no ": ". Names and
// the palette name keep printable ASCII; any other byte (a tab, a line
// break, a byte of a multi-byte character) becomes '_'. An entry whose colour
// text is not an ordinary colour (a system colour, clNone, or no colour at
// all) is left out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/colour_format.h"
#include "picking/picked_colours.h"

namespace hueloom::picking {

struct PaletteEntry {
    std::string name;  // "C1"
    Rgb colour;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

std::vector<PaletteEntry> paletteEntries(const PickedColours& list);

// GIMP palette:
//   GIMP Palette
//   Name: <name>
//   Columns: <columns>          (0 lets the reader choose)
//   #
//   255 128   0<TAB>C1          (channels right-aligned in three columns)
std::vector<uint8_t> gimpPaletteBytes(const std::vector<PaletteEntry>& entries, std::string_view name, int columns = 0);

// :root {
//   --c1: #FF8000;
// }
// The property name is the colour's name in lower case, made of letters,
// digits, '-' and '_' only (anything else becomes '_').
std::vector<uint8_t> cssPaletteBytes(const std::vector<PaletteEntry>& entries);

// [
//   {"name": "C1", "hex": "#FF8000", "rgb": [255, 128, 0]}
// ]
std::vector<uint8_t> jsonPaletteBytes(const std::vector<PaletteEntry>& entries);

// The colour memo with every ordinary colour written in `format`
// ("C1: hsl(30, 100%, 50%)" CR LF …); entries whose colour is not an
// ordinary one keep their text as it was picked.
std::string memoTextIn(const PickedColours& list, ColourFormat format);

// The palette file a save dialog asks for: by the name's extension (".gpl",
// ".css", ".json", any case) or, when the name has none of them, by the
// dialog's file type (1 GIMP, 2 CSS, 3 JSON, as its filter lists them), whose
// extension is then appended.
enum class PaletteKind { Gimp, Css, Json };
struct PaletteTarget {
    PaletteKind kind;
    std::string fileName;
};
PaletteTarget paletteTarget(std::string_view fileName, int filterIndex);
// The file's bytes of that kind; `name` is the GIMP palette's name.
std::vector<uint8_t> paletteBytes(PaletteKind kind, const std::vector<PaletteEntry>& entries, std::string_view name);

}  // namespace hueloom::picking
