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

void put16(std::vector<uint8_t>& v, unsigned x) { v.push_back(x & 0xFF); v.push_back((x >> 8) & 0xFF); }
void put32(std::vector<uint8_t>& v, uint32_t x) { put16(v, x & 0xFFFF); put16(v, x >> 16); }

// One icon/cursor image: BITMAPINFOHEADER, XOR pixels bottom-up, AND mask.
std::vector<uint8_t> dibEntry(const Image& im) {
    std::vector<uint8_t> d;
    int n = im.size;
    put32(d, 40); put32(d, n); put32(d, n * 2); put16(d, 1); put16(d, 32);
    put32(d, 0); put32(d, 0); put32(d, 0); put32(d, 0); put32(d, 0); put32(d, 0);
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
    put16(out, 0); put16(out, cursor ? 2 : 1); put16(out, images.size());
    std::vector<std::vector<uint8_t>> entries;
    for (const Image& im : images) entries.push_back(dibEntry(im));
    uint32_t offset = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        int n = images[i].size;
        out.push_back(n >= 256 ? 0 : n); out.push_back(n >= 256 ? 0 : n); out.push_back(0); out.push_back(0);
        if (cursor) { put16(out, hx * n / 32); put16(out, hy * n / 32); }
        else { put16(out, 1); put16(out, 32); }
        put32(out, entries[i].size()); put32(out, offset);
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
                    double u = ((fx - cx) + (fy - cy)) / std::sqrt(2.0);   // along the diagonal
                    double v = ((fx - cx) - (fy - cy)) / std::sqrt(2.0);   // across it
                    bool handle = u > outer - 1 * s && u < outer + 8 * s && std::fabs(v) < 2.6 * s;
                    if (d <= outer && d >= inner) {
                        double h = std::atan2(fy - cy, fx - cx) / (2 * M_PI) + 0.5;
                        double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
                        double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
                        double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
                        ar += 255 * r; ag += 255 * g; ab += 255 * b; aa += 1;
                    } else if (d < inner) {
                        double k = 1 - d / inner;
                        ar += 40 + 60 * k; ag += 48 + 70 * k; ab += 70 + 90 * k; aa += 1;
                    } else if (handle) {
                        ar += 60; ag += 64; ab += 76; aa += 1;
                    }
                }
            double cov = aa / (ss * ss);
            if (aa > 0) im.at(x, y) = argb(cov, ar / aa, ag / aa, ab / aa);
        }
    return im;
}

// The overlay's cross cursor: a thin cross with a white halo and a gap at
// the centre, so the pixel under the hot spot stays visible.
Image drawCross() {
    const int n = 32;
    Image im{n, std::vector<uint32_t>(static_cast<size_t>(n) * n, 0)};
    const int c = 15;
    for (int i = 0; i < n; ++i) {
        if (std::abs(i - c) <= 2) continue;
        for (int w = -1; w <= 1; ++w) {
            uint32_t col = w == 0 ? 0xFF000000u : 0xFFFFFFFFu;
            if (c + w >= 0 && c + w < n) {
                if (im.at(i, c + w) != 0xFF000000u) im.at(i, c + w) = col;
                if (im.at(c + w, i) != 0xFF000000u) im.at(c + w, i) = col;
            }
        }
    }
    return im;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: resgen OUTPUT_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = writeIconFile(dir + "/hueloom.ico", {drawIcon(16), drawIcon(32), drawIcon(48), drawIcon(256)}, false, 0, 0);
    ok = writeIconFile(dir + "/mycross2.cur", {drawCross()}, true, 15, 15) && ok;
    return ok ? 0 : 1;
}
