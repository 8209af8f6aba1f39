#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "colour_management/icc_profile.h"
#include "image/file_io.h"

namespace hueloom::colour_management {
namespace {

const std::string kIcc = "/usr/share/color/icc/";

// Profiles from Debian's colord-data and icc-profiles-free.
struct Known {
    const char* file;
    bool srgb;
    const char* description;
};
const Known kKnown[] = {
    {"colord/sRGB.icc", true, "sRGB"},
    {"colord/AdobeRGB1998.icc", false, "Adobe RGB (1998)"},
    {"compatibleWithAdobeRGB1998.icc", false, "Adobe"},
    {"colord/ProPhotoRGB.icc", false, "ProPhoto"},
    {"colord/WideGamutRGB.icc", false, "Wide"},
    {"colord/Rec709.icc", false, "709"},
    {"colord/Gamma6500K.icc", true, ""},  // sRGB in all but name
};

std::vector<std::uint8_t> bytesOf(const std::string& path) { return image::readFileBytes(path, 1u << 24); }

bool haveProfiles() { return std::filesystem::exists(kIcc + kKnown[1].file); }

TEST(IccProfile, ReadsNamesAndKnowsSrgbFromTheRest) {
    if (!haveProfiles()) GTEST_SKIP() << "colord-data / icc-profiles-free are not installed";
    for (const Known& k : kKnown) {
        const IccProfile p(bytesOf(kIcc + k.file));
        EXPECT_TRUE(p.hasMatrixShaper()) << k.file;
        EXPECT_EQ(p.isSrgb(), k.srgb) << k.file;
        EXPECT_NE(p.description().find(k.description), std::string::npos) << k.file << ": " << p.description();
    }
    // The program's own sRGB profile is one, and reads as the standard does.
    const IccProfile own(srgbProfileBytes());
    EXPECT_TRUE(own.isSrgb());
    EXPECT_EQ(own.description(), "sRGB IEC61966-2.1");
    EXPECT_EQ(own.bytes().size() % 4, 0u);
    EXPECT_EQ(namedProfile(srgbProfileBytes(), "x")->name, "sRGB IEC61966-2.1");
    EXPECT_EQ(namedProfile({1, 2, 3}, "file")->name, "file");
}

TEST(IccProfile, RefusesWhatIsNoUsableProfile) {
    std::vector<std::uint8_t> good = srgbProfileBytes();
    auto with = [&](std::size_t at, std::vector<std::uint8_t> v) {
        auto b = good;
        std::copy(v.begin(), v.end(), b.begin() + static_cast<long>(at));
        return b;
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 100),  // header cut
        std::vector<std::uint8_t>(good.begin(), good.end() - 4),  // shorter than it says
        with(36, {'a', 'c', 's', 'x'}),  // no signature
        with(16, {'C', 'M', 'Y', 'K'}),  // not an RGB device
        with(128, {0, 1, 0, 0}),  // 65536 tags
    };
    for (const auto& b : bad) EXPECT_THROW(IccProfile{b}, ProfileError) << b.size();
    if (haveProfiles()) EXPECT_THROW(IccProfile{bytesOf(kIcc + "ghostscript/default_cmyk.icc")}, ProfileError);
    // A tag that points outside the profile is not read.
    auto b = good;
    b[128 + 4 + 12 * 2 + 4] = 0x7F;  // wtpt's offset
    EXPECT_NO_THROW(IccProfile{b});
}

// Little CMS's transicc on the same colours: one line of numbers each.
std::vector<std::array<double, 3>> transicc(const std::string& args, const std::vector<Rgb>& colours) {
    const std::string in = ::testing::TempDir() + "hueloom_transicc_in.txt";
    std::ofstream file(in);
    for (const Rgb& c : colours) file << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b) << '\n';
    file.close();
    FILE* p = popen(("transicc -n " + args + " < " + in + " 2>/dev/null").c_str(), "r");
    std::vector<std::array<double, 3>> out;
    std::array<double, 3> v;
    while (p && std::fscanf(p, "%lf %lf %lf", &v[0], &v[1], &v[2]) == 3) out.push_back(v);
    if (p) pclose(p);
    return out;
}

// The exact colour read from a profile's matrix and curves, against Little
// CMS for the same profile: the connection space's XYZ (its unbounded
// transform), and whether the colour lies outside sRGB.
TEST(IccProfile, ExactColoursAgreeWithLittleCms) {
    if (!haveProfiles()) GTEST_SKIP() << "colord-data / icc-profiles-free are not installed";
    if (std::system("transicc -n < /dev/null > /dev/null 2>&1") != 0) GTEST_SKIP() << "transicc is not installed";
    std::mt19937 random(22);
    std::vector<Rgb> colours = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {1, 2, 3}};
    while (colours.size() < 2000)
        colours.push_back({std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())});
    for (const Known& k : kKnown) {
        const std::string path = kIcc + k.file;
        const IccProfile p(bytesOf(path));
        const auto xyz = transicc("-t1 -i" + path + " -o*XYZ", colours);
        const auto srgb = transicc("-t1 -i" + path + " -o*sRGB", colours);
        ASSERT_EQ(xyz.size() + srgb.size(), 2 * colours.size()) << k.file;
        int outside = 0;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const ExactColour e = exactColour(p, colours[i]);
            const double got[3] = {e.xyzD50.a, e.xyzD50.b, e.xyzD50.c};
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], xyz[i][c] / 100, 0.0005) << k.file << " " << i;
            // Where Little CMS is not within a tenth of the edge itself.
            double low = 1e9, high = -1e9;
            for (double v : srgb[i]) low = std::min(low, v), high = std::max(high, v);
            if (std::fabs(low + 0.5) > 0.1 && std::fabs(high - 255.5) > 0.1)
                EXPECT_EQ(e.outsideSrgb, low < -0.5 || high > 255.5) << k.file << " " << i;
            outside += e.outsideSrgb;
        }
        if (k.srgb) EXPECT_EQ(outside, 0) << k.file;
    }
}

}  // namespace
}  // namespace hueloom::colour_management
