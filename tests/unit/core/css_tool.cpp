// Our CSS texts and contrast figures for programs that check them:
//
//   css_tool texts N     N colours (every grey, the cube's corners, the rest
//                        spread over the cube), a line each: "R G B<TAB>" and
//                        the nine CSS texts, tab-separated
//   css_tool exact N     the same colours' texts in the CSS spaces with ten
//                        decimals: what the colour is, as text can say it
//   css_tool apca N      N colour pairs: "R G B R G B<TAB>Lc 12.3"
//   css_tool names       the named colours: "name R G B"
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/colour_format.h"
#include "core/colour_names.h"
#include "core/contrast.h"
#include "core/css_colour.h"

using namespace hueloom;

namespace {

Rgb nth(unsigned i, unsigned n) {
    if (i < 256) return {uint8_t(i), uint8_t(i), uint8_t(i)};
    if (i < 264) return {uint8_t(i & 1 ? 255 : 0), uint8_t(i & 2 ? 255 : 0), uint8_t(i & 4 ? 255 : 0)};
    const unsigned long v = (i - 264) * ((1ul << 24) / (n - 264)) + i * 7919ul;  // spread, and not on a lattice
    return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    const unsigned n = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 0;
    const ColourFormat css[] = {ColourFormat::Decimal, ColourFormat::Hexadecimal, ColourFormat::Hsl,
                                ColourFormat::Hwb,     ColourFormat::Lab,         ColourFormat::Lch,
                                ColourFormat::Oklab,   ColourFormat::Oklch,       ColourFormat::DisplayP3};
    if (cmd == "texts" && n > 264) {
        for (unsigned i = 0; i < n; ++i) {
            const Rgb c = nth(i, n);
            std::printf("%d %d %d", c.r, c.g, c.b);
            for (ColourFormat f : css) std::printf("\t%s", formatColour(c, f).c_str());
            std::printf("\n");
        }
    } else if (cmd == "exact" && n > 264) {
        // rgb(), hex, hsl() and hwb() are exact already.
        for (unsigned i = 0; i < n; ++i) {
            const Rgb c = nth(i, n);
            auto t = [](const char* head, css::Coords v, double scale = 1, const char* unit = "") {
                return head + css::number(v.a * scale, 10) + unit + " " + css::number(v.b, 10) + " " +
                       css::number(v.c, 10) + ")";
            };
            std::printf("%d %d %d", c.r, c.g, c.b);
            for (int k = 0; k < 4; ++k) std::printf("\t%s", formatColour(c, css[k]).c_str());
            for (const std::string& x :
                 {t("lab(", css::labD50(c)), t("lch(", css::lch(c)), t("oklab(", css::oklab(c), 100, "%"),
                  t("oklch(", css::oklch(c), 100, "%"), t("color(display-p3 ", css::displayP3(c))})
                std::printf("\t%s", x.c_str());
            std::printf("\n");
        }
    } else if (cmd == "apca" && n > 264) {
        for (unsigned i = 0; i < n; ++i) {
            const Rgb t = nth(i, n), b = nth((i * 40503u + 17) % n, n);
            std::printf("%d %d %d %d %d %d\t%s\n", t.r, t.g, t.b, b.r, b.g, b.b, apcaText(apcaContrast(t, b)).c_str());
        }
    } else if (cmd == "names") {
        for (const NamedColour& c : cssNamedColours())
            std::printf("%s %d %d %d\n", c.name, c.colour.r, c.colour.g, c.colour.b);
    } else {
        std::fprintf(stderr, "usage: css_tool texts N | exact N | apca N | names\n");
        return 2;
    }
    return 0;
}
