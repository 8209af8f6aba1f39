#include "dialogs/about/about.h"

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <system_error>

#include "image/codecs/png_writer.h"
#include "core/dpi.h"
#include "image/file_io.h"
#include "core/paths.h"

namespace hueloom::dialogs {

namespace {

int wrap30(int k) {
    const int m = k % kOrbitSteps;
    return m < 0 ? m + kOrbitSteps : m;
}

// Angle of step / segment k on screen (y down): (2k/30 + 0.5)π.
double stepAngle(int k) { return (2.0 * k / kOrbitSteps + 0.5) * std::numbers::pi; }

// 5 x 7 letters for the pure-hue segments, one string per row.
struct Glyph {
    char letter;
    std::array<const char*, 7> rows;
};
constexpr Glyph kGlyphs[] = {
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
};
constexpr int kGlyphScale = 2;
constexpr double kLetterRadius = 133.0;  // inside the path of the orbiting circle

// Palette indices of the picture.
constexpr std::uint8_t kWhite = 0, kBlack = 1, kCard = 2, kFirstSegment = 3;

image::RgbQuad quad(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
            static_cast<std::uint8_t>((rgb >> 16) & 0xFF), 0};
}

}  // namespace

// ---------------------------------------------------------------- orbit and iris

OrbitStep orbitStep(int k) {
    k = wrap30(k);
    const double t = stepAngle(k);
    OrbitStep s;
    // lround rounds halves away from zero.
    s.x = 177 + static_cast<int>(std::lround(167.0 * std::cos(t)));
    s.y = 175 + static_cast<int>(std::lround(167.0 * std::sin(t)));
    s.iconLeft = k < 10 ? 235 : k < 20 ? 167 : 99;
    return s;
}

int nextOrbitCounter(int k) { return wrap30(wrap30(k) + 1); }

std::uint32_t inverseColour(std::uint32_t rgb) { return (~rgb) & 0xFFFFFF; }

IrisStep irisStep(int s, int width, int height, int dpi) {
    IrisStep r;
    const int m = scale(2, dpi);
    const int w = (width - m - s) - (s + m);
    r.next = s + scale(3, dpi);
    r.ellipse = {s + m, s + m, width - m - s, height - m - s};
    if (w < scale(10, dpi)) {
        r.close = true;
        return r;
    }
    r.hideLabels = w < scale(80, dpi);
    r.red = s > scale(60, dpi);
    return r;
}

// ---------------------------------------------------------------- picture

std::uint32_t wheelColour(int segment) {
    const int i = wrap30(segment);
    // Six runs of five steps of 0x33 between the pure hues.
    const int run = i / 5, step = i % 5;
    const std::uint32_t up = 0x33u * static_cast<std::uint32_t>(step);
    const std::uint32_t down = 0xFFu - up;
    std::uint32_t r = 0, g = 0, b = 0;
    // clang-format off
    switch (run) {
    case 0: r = 0; g = 0xFF; b = up; break;    // green -> cyan
    case 1: r = 0; g = down; b = 0xFF; break;  // cyan -> blue
    case 2: r = up; g = 0; b = 0xFF; break;    // blue -> magenta
    case 3: r = 0xFF; g = 0; b = down; break;  // magenta -> red
    case 4: r = 0xFF; g = up; b = 0; break;    // red -> yellow
    default: r = down; g = 0xFF; b = 0; break; // yellow -> green
    }
    // clang-format on
    return (r << 16) | (g << 8) | b;
}

int wheelSegmentAt(double x, double y) {
    const double a = std::atan2(y - kWheelCentreY, x - kWheelCentreX);  // clockwise on screen
    const double k = (a / std::numbers::pi - 0.5) * kOrbitSteps / 2.0;
    return wrap30(static_cast<int>(std::lround(k)));
}

image::Dib drawAboutPicture(int dpi) {
    const double f = dpi > 0 ? dpi / static_cast<double>(kBaseDpi) : 1.0;  // exactly 1 at 96 dpi
    const int width = scale(kAboutWidth, dpi), height = scale(kAboutHeight, dpi);
    const Rect card = scale(kAboutCard, dpi);
    const double cx = kWheelCentreX * f, cy = kWheelCentreY * f;
    image::Dib dib(width, height, 8);
    std::vector<image::RgbQuad> pal = {quad(0xFFFFFF), quad(0x000000), quad(kAboutCardColour)};
    for (int i = 0; i < kOrbitSteps; ++i) pal.push_back(quad(wheelColour(i)));
    dib.setPalette(pal);

    const double r0 = kWheelInnerRadius * kWheelInnerRadius * f * f, r1 = kWheelOuterRadius * kWheelOuterRadius * f * f;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.scanLine(y);
        for (int x = 0; x < width; ++x) {
            // Pixel centres.
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d2 = dx * dx + dy * dy;
            std::uint8_t c = kWhite;
            if (d2 >= r0 && d2 <= r1)
                c = static_cast<std::uint8_t>(kFirstSegment + wheelSegmentAt((x + 0.5) / f, (y + 0.5) / f));
            if (x >= card.left && x < card.right && y >= card.top && y < card.bottom) c = kCard;
            row[x] = c;
        }
    }

    // The letters on the pure-hue segments 0, 5, 10, 15, 20, 25.
    const int glyphScale = scale(kGlyphScale, dpi);
    for (int n = 0; n < 6; ++n) {
        const double t = stepAngle(n * 5);
        const int gw = 5 * glyphScale, gh = 7 * glyphScale;
        const int left = static_cast<int>(std::lround(cx + kLetterRadius * f * std::cos(t))) - gw / 2;
        const int top = static_cast<int>(std::lround(cy + kLetterRadius * f * std::sin(t))) - gh / 2;
        for (int gy = 0; gy < gh; ++gy)
            for (int gx = 0; gx < gw; ++gx)
                if (kGlyphs[n].rows[gy / glyphScale][gx / glyphScale] == '#')
                    dib.scanLine(top + gy)[left + gx] = kBlack;
    }
    return dib;
}

const std::vector<std::uint8_t>& aboutPicturePng() {
    static const std::vector<std::uint8_t> png = [] {
        codecs::PngWriter w;
        w.setCompressionLevel(9);
        w.setTime(codecs::PngTime{2024, 1, 1, 0, 0, 0});  // the same bytes on every run
        return w.encode(drawAboutPicture());
    }();
    return png;
}

std::wstring aboutPicturePath(const std::wstring& programPath) { return withExtension(programPath, L".png"); }

// ---------------------------------------------------------------- embedded data

void TBindData::Assign(const TBindData& source) {
    if (&source != this) bytes_ = source.bytes_;
}

void TBindData::LoadFromStream(std::istream& in) {
    std::vector<std::uint8_t> b;
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0)
        b.insert(b.end(), reinterpret_cast<const std::uint8_t*>(buf),
                 reinterpret_cast<const std::uint8_t*>(buf) + in.gcount());
    LoadFromBytes(std::move(b));
}

void TBindData::LoadFromBytes(std::vector<std::uint8_t> bytes) {
    bytes_ = std::move(bytes);
    if (OnChange) OnChange();
}

void TBindData::SaveToStream(std::ostream& out) const {
    out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
}

void TBindData::SaveToFile(const std::filesystem::path& path) const {
    // Through the one atomic writer: its failures name the file and the
    // system's reason.
    image::writeFileBytes(path, bytes_);
}

}  // namespace hueloom::dialogs
