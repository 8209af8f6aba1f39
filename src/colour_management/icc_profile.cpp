#include "colour_management/icc_profile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include "core/texts.h"

namespace hueloom::colour_management {

namespace {

constexpr std::size_t kHeaderBytes = 128;

std::uint32_t be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
double s15Fixed16(const std::uint8_t* p) { return static_cast<std::int32_t>(be32(p)) / 65536.0; }
constexpr std::uint32_t sig(const char (&s)[5]) {
    return static_cast<std::uint32_t>(s[0]) << 24 | static_cast<std::uint32_t>(s[1]) << 16 |
           static_cast<std::uint32_t>(s[2]) << 8 | static_cast<std::uint32_t>(s[3]);
}

// UTF-16 code units (big-endian) as UTF-8.
std::string utf8FromUtf16Be(const std::uint8_t* p, std::size_t units) {
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t c = be16(p + 2 * i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            const std::uint32_t low = be16(p + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00), ++i;
        }
        if (c == 0) break;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6), out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12), out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18), out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F)), out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// sRGB's colorants in the connection space: the columns of its matrix to
// XYZ, adapted to D50.
std::array<css::Coords, 3> srgbColorants() {
    return {css::xyzD50({255, 0, 0}), css::xyzD50({0, 255, 0}), css::xyzD50({0, 0, 255})};
}

}  // namespace

// The parts of a profile, each checked to lie inside it.
struct ProfileReader {
    const std::vector<std::uint8_t>& b;

    // The data of tag `want` (at least `minBytes` long), or nullptr.
    const std::uint8_t* tag(std::uint32_t want, std::size_t minBytes, std::size_t* size = nullptr) const {
        const std::uint32_t count = be32(&b[kHeaderBytes]);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &b[kHeaderBytes + 4 + 12 * static_cast<std::size_t>(i)];
            if (be32(e) != want) continue;
            const std::uint64_t offset = be32(e + 4), bytes = be32(e + 8);
            if (bytes < minBytes || offset + bytes > b.size()) return nullptr;
            if (size) *size = bytes;
            return &b[offset];
        }
        return nullptr;
    }

    std::string description() const {
        std::size_t size = 0;
        const std::uint8_t* t = tag(sig("desc"), 12, &size);
        if (!t) return {};
        if (be32(t) == sig("desc")) {
            const std::size_t n = std::min<std::size_t>(be32(t + 8), size - 12);
            const char* text = reinterpret_cast<const char*>(t + 12);
            return std::string(text, strnlen(text, n));
        }
        if (be32(t) == sig("mluc") && size >= 16) {
            const std::uint32_t records = be32(t + 8), recordBytes = be32(t + 12);
            if (recordBytes < 12 || 16 + static_cast<std::uint64_t>(records) * recordBytes > size) return {};
            std::uint32_t pick = 0;
            for (std::uint32_t i = 0; i < records; ++i)
                if (be16(t + 16 + i * recordBytes) == ('e' << 8 | 'n')) {
                    pick = i;
                    break;
                }
            if (records == 0) return {};
            const std::uint8_t* r = t + 16 + pick * recordBytes;
            const std::uint64_t length = be32(r + 4), offset = be32(r + 8);
            if (offset + length > size) return {};
            return utf8FromUtf16Be(t + offset, length / 2);
        }
        return {};
    }

    std::optional<css::Coords> xyz(const char (&name)[5]) const {
        const std::uint8_t* t = tag(sig(name), 20);
        if (!t || be32(t) != sig("XYZ ")) return std::nullopt;
        return css::Coords{s15Fixed16(t + 8), s15Fixed16(t + 12), s15Fixed16(t + 16)};
    }

    std::optional<IccProfile::Curve> curve(const char (&name)[5]) const {
        std::size_t size = 0;
        const std::uint8_t* t = tag(sig(name), 12, &size);
        if (!t) return std::nullopt;
        IccProfile::Curve c;
        if (be32(t) == sig("curv")) {
            const std::uint64_t n = be32(t + 8);
            if (12 + 2 * n > size) return std::nullopt;
            if (n == 0) {
                c.type = 0, c.p[0] = 1;  // identity
            } else if (n == 1) {
                c.type = 0, c.p[0] = be16(t + 12) / 256.0;
            } else {
                c.table.resize(n);
                for (std::size_t i = 0; i < n; ++i) c.table[i] = be16(t + 12 + 2 * i) / 65535.0;
            }
            return c;
        }
        if (be32(t) == sig("para")) {
            static constexpr int kParams[] = {1, 3, 4, 5, 7};
            const int type = be16(t + 8);
            if (type > 4 || 12 + 4 * static_cast<std::size_t>(kParams[type]) > size) return std::nullopt;
            c.type = type;
            for (int i = 0; i < kParams[type]; ++i) c.p[static_cast<std::size_t>(i)] = s15Fixed16(t + 12 + 4 * i);
            return c;
        }
        return std::nullopt;
    }
};

double IccProfile::Curve::operator()(double x) const {
    x = std::clamp(x, 0.0, 1.0);
    if (!table.empty()) {
        const double at = x * static_cast<double>(table.size() - 1);
        const std::size_t i = std::min(static_cast<std::size_t>(at), table.size() - 2);
        return table[i] + (table[i + 1] - table[i]) * (at - static_cast<double>(i));
    }
    const double g = p[0], a = p[1], b = p[2], c = p[3], d = p[4], e = p[5], f = p[6];
    auto power = [&](double v) { return v > 0 ? std::pow(v, g) : 0.0; };
    switch (type) {
    case 0: return power(x);
    case 1: return x >= -b / a ? power(a * x + b) : 0;
    case 2: return x >= -b / a ? power(a * x + b) + c : c;
    case 3: return x >= d ? power(a * x + b) : c * x;
    case 4: return x >= d ? power(a * x + b) + e : c * x + f;
    default: return x;
    }
}

IccProfile::IccProfile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
    const std::vector<std::uint8_t>& b = bytes_;
    if (b.size() < kHeaderBytes + 4 || be32(&b[36]) != sig("acsp")) throw ProfileError(hueloom::text("cm.profile.1"));
    const std::uint64_t declared = be32(&b[0]), tags = be32(&b[kHeaderBytes]);
    if (declared > b.size() || b.size() > kMaxBytes || kHeaderBytes + 4 + 12 * tags > b.size())
        throw ProfileError(hueloom::text("cm.profile.2"));
    if (be32(&b[16]) != sig("RGB ")) throw ProfileError(hueloom::text("cm.profile.3"));
    ProfileReader read{b};
    description_ = read.description();
    const auto red = read.xyz("rXYZ"), green = read.xyz("gXYZ"), blue = read.xyz("bXYZ");
    const auto rc = read.curve("rTRC"), gc = read.curve("gTRC"), bc = read.curve("bTRC");
    if (red && green && blue && rc && gc && bc) matrixShaper_ = MatrixShaper{{*red, *green, *blue}, {*rc, *gc, *bc}};
    if (!matrixShaper_) return;
    // sRGB: its colorants (to the precision a profile stores them, and a
    // little), and its tone curve to within half a step of 8 bits.
    const auto want = srgbColorants();
    bool same = true;
    for (std::size_t k = 0; k < 3 && same; ++k) {
        const css::Coords& have = matrixShaper_->colorants[k];
        same = std::fabs(have.a - want[k].a) < 0.002 && std::fabs(have.b - want[k].b) < 0.002 &&
               std::fabs(have.c - want[k].c) < 0.002;
    }
    for (std::size_t k = 0; k < 3 && same; ++k)
        for (int i = 0; i < 256 && same; ++i)
            same = std::fabs(css::fromLinear(matrixShaper_->curves[k](i / 255.0)) * 255 - i) <= 0.5;
    srgb_ = same;
}

css::Coords IccProfile::toXyzD50(Rgb device) const {
    if (!matrixShaper_) return {};
    const MatrixShaper& m = *matrixShaper_;
    const double r = m.curves[0](device.r / 255.0), g = m.curves[1](device.g / 255.0),
                 b = m.curves[2](device.b / 255.0);
    const auto& c = m.colorants;
    return {r * c[0].a + g * c[1].a + b * c[2].a, r * c[0].b + g * c[1].b + b * c[2].b,
            r * c[0].c + g * c[1].c + b * c[2].c};
}

ExactColour exactColour(const IccProfile& profile, Rgb device) {
    ExactColour out{profile.toXyzD50(device)};
    if (!profile.hasMatrixShaper()) return out;
    const css::Coords l = css::linearSrgbFromXyzD50(out.xyzD50);
    for (double v : {l.a, l.b, l.c}) {
        const double e = css::fromLinear(v) * 255;
        if (e < -0.5 || e > 255.5) out.outsideSrgb = true;
    }
    return out;
}

std::shared_ptr<const image::ColourProfile> namedProfile(std::vector<std::uint8_t> bytes, std::string fallback) {
    image::ColourProfile p{std::move(fallback), std::move(bytes)};
    try {
        if (std::string name = IccProfile(p.bytes).description(); !name.empty()) p.name = std::move(name);
    } catch (const ProfileError&) {}
    return std::make_shared<const image::ColourProfile>(std::move(p));
}

// ------------------------------------------------------------ sRGB profile

namespace {

class ProfileWriter {
public:
    void u32(std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
    }
    void u16(std::uint16_t v) { out.push_back(static_cast<std::uint8_t>(v >> 8)), out.push_back(v & 0xFF); }
    void fixed(double v) { u32(static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 65536)))); }
    void text(const char* s, std::size_t n) { out.insert(out.end(), s, s + n); }
    void zeros(std::size_t n) { out.insert(out.end(), n, 0); }
    void align() { zeros((4 - out.size() % 4) % 4); }
    std::vector<std::uint8_t> out;
};

std::vector<std::uint8_t> makeSrgbProfile() {
    static const char kName[] = "sRGB IEC61966-2.1";
    static const char kCopyright[] = "No copyright, use freely";
    // Tag data, each element at a multiple of 4 bytes.
    ProfileWriter data;
    struct Entry {
        const char* sig;
        std::size_t offset, size;
    };
    std::vector<Entry> entries;
    auto element = [&](std::initializer_list<const char*> sigs, auto&& write) {
        data.align();
        const std::size_t at = data.out.size();
        write();
        for (const char* s : sigs) entries.push_back({s, at, data.out.size() - at});
    };
    element({"desc"}, [&] {
        data.text("desc", 4), data.zeros(4), data.u32(sizeof kName), data.text(kName, sizeof kName);
        data.zeros(4 + 4 + 2 + 1 + 67);  // no Unicode, no ScriptCode text
    });
    element({"cprt"}, [&] { data.text("text", 4), data.zeros(4), data.text(kCopyright, sizeof kCopyright); });
    auto xyz = [&](css::Coords c) {
        data.text("XYZ ", 4), data.zeros(4), data.fixed(c.a), data.fixed(c.b), data.fixed(c.c);
    };
    element({"wtpt"}, [&] { xyz({0.9642, 1.0, 0.8249}); });
    const auto colorants = srgbColorants();
    element({"rXYZ"}, [&] { xyz(colorants[0]); });
    element({"gXYZ"}, [&] { xyz(colorants[1]); });
    element({"bXYZ"}, [&] { xyz(colorants[2]); });
    element({"rTRC", "gTRC", "bTRC"}, [&] {
        constexpr int kEntries = 1024;
        data.text("curv", 4), data.zeros(4), data.u32(kEntries);
        for (int i = 0; i < kEntries; ++i)
            data.u16(static_cast<std::uint16_t>(std::lround(css::toLinear(i / double(kEntries - 1)) * 65535)));
    });
    data.align();

    ProfileWriter p;
    const std::size_t tableBytes = 4 + 12 * entries.size();
    const std::size_t total = kHeaderBytes + tableBytes + data.out.size();
    p.u32(static_cast<std::uint32_t>(total));
    p.zeros(4);  // no preferred CMM
    p.u32(0x02100000);  // version 2.1
    p.text("mntrRGB XYZ ", 12);
    p.u16(2026), p.u16(12), p.u16(9), p.zeros(6);  // date and time
    p.text("acsp", 4);
    p.zeros(4 + 4 + 4 + 4 + 8 + 4);  // platform, flags, maker, model, attributes, intent
    p.fixed(0.9642), p.fixed(1.0), p.fixed(0.8249);  // D50
    p.zeros(4 + 16 + 28);  // creator, ID, reserved
    p.u32(static_cast<std::uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        p.text(e.sig, 4);
        p.u32(static_cast<std::uint32_t>(kHeaderBytes + tableBytes + e.offset));
        p.u32(static_cast<std::uint32_t>(e.size));
    }
    p.out.insert(p.out.end(), data.out.begin(), data.out.end());
    return p.out;
}

}  // namespace

const std::vector<std::uint8_t>& srgbProfileBytes() {
    static const std::vector<std::uint8_t> bytes = makeSrgbProfile();
    return bytes;
}

}  // namespace hueloom::colour_management
