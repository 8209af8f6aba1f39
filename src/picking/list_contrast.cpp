#include "picking/list_contrast.h"

#include "core/contrast.h"
#include "picking/palette_files.h"

namespace hueloom::picking {

const char* contrastMark(double ratio) {
    const ContrastGrades g = gradeContrast(ratio);
    if (g.aaaNormal) return "AAA";
    if (g.aaNormal) return "AA";
    if (g.aaLarge) return "AA large";
    return "fail";
}

std::vector<std::string> listContrastLines(const PickedColours& list) {
    const std::vector<PaletteEntry> entries = paletteEntries(list);
    if (entries.empty()) return {};
    const PaletteEntry& latest = entries.back();
    auto pair = [&latest](const std::string& other, Rgb colour) {
        const double ratio = contrastRatio(latest.colour, colour);
        const double lc = apcaContrast(latest.colour, colour);  // the newest as text on the other
        return latest.name + "/" + other + " " + contrastRatioText(ratio) + " " + contrastMark(ratio) + ", " +
               apcaText(lc) + " " + apcaLevel(lc);
    };
    std::vector<std::string> lines;
    if (entries.size() >= 2) {
        const PaletteEntry& before = entries[entries.size() - 2];
        lines.push_back(pair(before.name, before.colour));
    }
    lines.push_back(pair("white", {255, 255, 255}));
    lines.push_back(pair("black", {0, 0, 0}));
    return lines;
}

}  // namespace hueloom::picking
