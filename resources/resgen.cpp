// Draws the program's icon and cursors at build time and writes them as
// .ico / .cur files for the resource compiler. Usage: resgen OUTPUT_DIR
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Image {
    int size;
    std::vector<uint32_t> argb;  // top-down
    uint32_t& at(int x, int y) { return argb[static_cast<size_t>(y) * size + x]; }
};

void put16(std::vector<uint8_t>& v, unsigned x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// One icon/cursor image: BITMAPINFOHEADER, XOR pixels bottom-up, AND mask.
std::vector<uint8_t> dibEntry(const Image& im) {
    std::vector<uint8_t> d;
    int n = im.size;
    put32(d, 40);
    put32(d, n);
    put32(d, n * 2);
    put16(d, 1);
    put16(d, 32);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) put32(d, im.argb[static_cast<size_t>(y) * n + x]);
    int maskStride = ((n + 31) / 32) * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if ((im.argb[static_cast<size_t>(y) * n + x] >> 24) == 0) row[x / 8] |= 0x80 >> (x % 8);
        d.insert(d.end(), row.begin(), row.end());
    }
    return d;
}

bool writeIconFile(const std::string& path, const std::vector<Image>& images, bool cursor, int hx, int hy) {
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, cursor ? 2 : 1);
    put16(out, images.size());
    std::vector<std::vector<uint8_t>> entries;
    for (const Image& im : images) entries.push_back(dibEntry(im));
    uint32_t offset = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        int n = images[i].size;
        out.push_back(n >= 256 ? 0 : n);
        out.push_back(n >= 256 ? 0 : n);
        out.push_back(0);
        out.push_back(0);
        if (cursor) {
            put16(out, hx * n / 32);
            put16(out, hy * n / 32);
        } else {
            put16(out, 1);
            put16(out, 32);
        }
        put32(out, entries[i].size());
        put32(out, offset);
        offset += entries[i].size();
    }
    for (auto& e : entries) out.insert(out.end(), e.begin(), e.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

uint32_t argb(double a, double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
    // Premultiplied alpha is not used by icons: straight alpha.
    return (c(a * 255) << 24) | (c(r) << 16) | (c(g) << 8) | c(b);
}

// The icon: a colour wheel ring (the hues the program picks) with a dark
// lens in the middle and a short handle: a loupe made of colour.
Image drawIcon(int n) {
    Image im{n, std::vector<uint32_t>(static_cast<size_t>(n) * n, 0)};
    const int ss = 4;  // supersampling
    double s = n / 32.0;
    double cx = 13 * s, cy = 13 * s, outer = 11.5 * s, inner = 6.5 * s;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double ar = 0, ag = 0, ab = 0, aa = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    double fx = x + (sx + 0.5) / ss, fy = y + (sy + 0.5) / ss;
                    double d = std::hypot(fx - cx, fy - cy);
                    // Handle: a thick bar along the diagonal, below right.
                    double u = ((fx - cx) + (fy - cy)) / std::sqrt(2.0);  // along the diagonal
                    double v = ((fx - cx) - (fy - cy)) / std::sqrt(2.0);  // across it
                    bool handle = u > outer - 1 * s && u < outer + 8 * s && std::fabs(v) < 2.6 * s;
                    if (d <= outer && d >= inner) {
                        double h = std::atan2(fy - cy, fx - cx) / (2 * M_PI) + 0.5;
                        double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
                        double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
                        double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
                        ar += 255 * r;
                        ag += 255 * g;
                        ab += 255 * b;
                        aa += 1;
                    } else if (d < inner) {
                        double k = 1 - d / inner;
                        ar += 40 + 60 * k;
                        ag += 48 + 70 * k;
                        ab += 70 + 90 * k;
                        aa += 1;
                    } else if (handle) {
                        ar += 60;
                        ag += 64;
                        ab += 76;
                        aa += 1;
                    }
                }
            double cov = aa / (ss * ss);
            if (aa > 0) im.at(x, y) = argb(cov, ar / aa, ag / aa, ab / aa);
        }
    return im;
}

// ------------------------------------------------------------ monochrome cursors
// Seven 32 × 32 monochrome cursors: black shapes with a white outline, the
// rest transparent. Shapes are filled polygons, rectangles and rings.

struct Mono {
    bool ink[32][32] = {};
    void rect(int x0, int y0, int x1, int y1) {  // inclusive
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (x >= 0 && x < 32 && y >= 0 && y < 32) ink[y][x] = true;
    }
    void poly(std::vector<std::pair<double, double>> pts) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double px = x + 0.5, py = y + 0.5;
                bool in = false;
                for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    auto [xi, yi] = pts[i];
                    auto [xj, yj] = pts[j];
                    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
                }
                if (in) ink[y][x] = true;
            }
    }
    void ring(double cx, double cy, double r0, double r1) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d >= r0 && d <= r1) ink[y][x] = true;
            }
    }
    void bar(double x0, double y0, double x1, double y1, double half) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double px = x + 0.5 - x0, py = y + 0.5 - y0, dx = x1 - x0, dy = y1 - y0;
                double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                if (std::hypot(px - t * dx, py - t * dy) <= half) ink[y][x] = true;
            }
    }
};

void arrow(Mono& m, int ox, int oy) {
    m.poly({{ox + 0.0, oy + 0.0},
            {ox + 0.0, oy + 16.0},
            {ox + 4.0, oy + 12.0},
            {ox + 7.0, oy + 18.0},
            {ox + 9.0, oy + 17.0},
            {ox + 6.5, oy + 11.0},
            {ox + 11.5, oy + 11.0}});
}

void document(Mono& m, int x, int y) { m.rect(x, y, x + 8, y + 10); }

// Writes a 1-bit cursor file: AND mask transparent outside, XOR white for the
// outline, black for the ink.
bool writeMonoCursor(const std::string& path, const Mono& m, int hx, int hy) {
    bool white[32][32] = {};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (m.ink[y][x]) continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && nx < 32 && ny >= 0 && ny < 32 && m.ink[ny][nx]) white[y][x] = true;
                }
        }
    std::vector<uint8_t> img;
    put32(img, 40);
    put32(img, 32);
    put32(img, 64);
    put16(img, 1);
    put16(img, 1);
    put32(img, 0);
    put32(img, 0);
    put32(img, 0);
    put32(img, 0);
    put32(img, 2);
    put32(img, 0);
    put32(img, 0x00000000);
    put32(img, 0x00FFFFFF);  // palette: black, white
    for (int y = 31; y >= 0; --y)  // XOR: 1 = white
        for (int b = 0; b < 4; ++b) {
            uint8_t v = 0;
            for (int k = 0; k < 8; ++k)
                if (white[y][b * 8 + k]) v |= 0x80 >> k;
            img.push_back(v);
        }
    for (int y = 31; y >= 0; --y)  // AND: 1 = transparent
        for (int b = 0; b < 4; ++b) {
            uint8_t v = 0;
            for (int k = 0; k < 8; ++k) {
                int x = b * 8 + k;
                if (!m.ink[y][x] && !white[y][x]) v |= 0x80 >> k;
            }
            img.push_back(v);
        }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(2);
    out.push_back(0);
    put16(out, hx);
    put16(out, hy);
    put32(out, img.size());
    put32(out, 22);
    out.insert(out.end(), img.begin(), img.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

bool writeResourceCursors(const std::string& dir) {
    bool ok = true;
    {  // MYCROSS2, the selection cross: crosshair with a small ring at its
        // centre (the hot spot) and a small frame below right
        Mono m;
        m.rect(12, 0, 12, 8);
        m.rect(12, 16, 12, 24);
        m.rect(0, 12, 8, 12);
        m.rect(16, 12, 24, 12);
        m.ring(12.5, 12.5, 2.5, 3.6);
        m.rect(18, 18, 27, 18);
        m.rect(18, 25, 27, 25);
        m.rect(18, 18, 18, 25);
        m.rect(27, 18, 27, 25);
        ok = writeMonoCursor(dir + "/mycross2.cur", m, 12, 12) && ok;
    }
    {  // 32766 crDrag: arrow with a small document below it
        Mono m;
        arrow(m, 0, 0);
        document(m, 7, 18);
        ok = writeMonoCursor(dir + "/crdrag.cur", m, 0, 0) && ok;
    }
    {  // 32767 crNoDrop: circle with a diagonal bar
        Mono m;
        m.ring(13, 13, 8, 11);
        m.bar(7, 7, 19, 19, 1.8);
        ok = writeMonoCursor(dir + "/crnodrop.cur", m, 2, 2) && ok;
    }
    {  // 32765 crHSplit: two vertical bars, arrows left and right
        Mono m;
        m.rect(14, 4, 15, 24);
        m.rect(18, 4, 19, 24);
        m.poly({{4, 14.5}, {10, 9}, {10, 20}});
        m.rect(10, 13, 13, 15);
        m.poly({{30, 14.5}, {24, 9}, {24, 20}});
        m.rect(20, 13, 23, 15);
        ok = writeMonoCursor(dir + "/crhsplit.cur", m, 16, 14) && ok;
    }
    {  // 32764 crVSplit: two horizontal bars, arrows up and down
        Mono m;
        m.rect(4, 10, 24, 11);
        m.rect(4, 14, 24, 15);
        m.poly({{14.5, 0}, {9, 6}, {20, 6}});
        m.rect(13, 6, 15, 9);
        m.poly({{14.5, 26}, {9, 20}, {20, 20}});
        m.rect(13, 16, 15, 20);
        ok = writeMonoCursor(dir + "/crvsplit.cur", m, 14, 12) && ok;
    }
    {  // 32763 crMultiDrag: arrow with stacked documents
        Mono m;
        arrow(m, 0, 0);
        document(m, 7, 18);
        document(m, 11, 17);
        document(m, 14, 15);
        ok = writeMonoCursor(dir + "/crmultidrag.cur", m, 0, 0) && ok;
    }
    {  // 32762 crSQLWait: hourglass
        Mono m;
        m.rect(1, 1, 17, 2);
        m.rect(1, 26, 17, 27);
        m.poly({{2, 3}, {16, 3}, {10, 14.5}, {16, 26}, {2, 26}, {8, 14.5}});
        ok = writeMonoCursor(dir + "/crsqlwait.cur", m, 0, 0) && ok;
    }
    {  // 32761 crHandPoint: pointing hand, finger up
        Mono m;
        m.rect(6, 1, 9, 14);
        m.rect(10, 9, 13, 16);
        m.rect(14, 10, 17, 17);
        m.rect(18, 11, 20, 18);
        m.poly({{3, 13}, {6, 12}, {9, 17}, {4, 17}});
        m.rect(5, 16, 20, 24);
        m.rect(7, 25, 18, 28);
        ok = writeMonoCursor(dir + "/crhandpoint.cur", m, 7, 1) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: resgen OUTPUT_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok =
        writeIconFile(dir + "/hueloom.ico", {drawIcon(16), drawIcon(32), drawIcon(48), drawIcon(256)}, false, 0, 0);
    ok = writeResourceCursors(dir) && ok;
    return ok ? 0 : 1;
}
