// Each monitor's profile from the settings file's names, and what a capture
// of it carries: the profile, or its pixels converted to sRGB.
#include <windows.h>

#include <gtest/gtest.h>

#include "colour_management/monitor_profiles_win.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"

namespace {

namespace cm = hueloom::colour_management;
using hueloom::image::Dib;

const char* const kAdobe = "Z:\\usr\\share\\color\\icc\\colord\\AdobeRGB1998.icc";

TEST(ColourManagement, CapturesCarryTheirMonitorsProfileOrAreConvertedToSrgb) {
    if (GetFileAttributesA(kAdobe) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "colord-data is not installed";
    cm::MonitorProfiles profiles;
    std::array<std::string, cm::MonitorProfiles::kKeys> named{};
    named[0] = kAdobe;
    named[1] = "no-such-profile.icc";  // a second monitor's, where there is one
    const std::vector<std::string> problems = profiles.load(named, tk::modulePath());
    EXPECT_EQ(problems.size(), tk::monitorRects().size() > 1 ? 1u : 0u);
    ASSERT_TRUE(profiles.anyManaged());
    const hueloom::Rect screen = tk::monitorRects().front();
    const cm::MonitorColours* m = profiles.at({screen.left + 1, screen.top + 1});
    ASSERT_TRUE(m && m->managed());
    EXPECT_EQ(m->embedded->name, "Compatible with Adobe RGB (1998)");

    Dib picture(2, 1, 32);
    picture.scanLine(0)[0] = 200, picture.scanLine(0)[1] = 150, picture.scanLine(0)[2] = 100;  // beside black
    const hueloom::Rect area{screen.left, screen.top, screen.left + 2, screen.top + 1};
    Dib kept = picture;
    profiles.prepareCapture(kept, area, false);
    ASSERT_TRUE(kept.profile() && kept.profile()->bytes == m->profile->bytes());
    EXPECT_TRUE(kept == picture);  // the screen's pixels
    Dib converted = picture;
    profiles.prepareCapture(converted, area, true);
    EXPECT_FALSE(converted.profile());
    const hueloom::Rgb c = m->transform->toSrgb({100, 150, 200});
    const std::uint8_t* px = converted.scanLine(0);
    EXPECT_EQ((hueloom::Rgb{px[2], px[1], px[0]}), c);
    EXPECT_NE(c, (hueloom::Rgb{100, 150, 200}));
    EXPECT_EQ(px[4] | px[5] | px[6], 0);  // black stays

    // Nothing named, and Wine's own sRGB profile: nothing is converted.
    EXPECT_TRUE(profiles.load({}, tk::modulePath()).empty());
    EXPECT_FALSE(profiles.anyManaged());
    named[0] = "C:\\windows\\system32\\spool\\drivers\\color\\sRGB Color Space Profile.icm";
    profiles.load(named, tk::modulePath());
    EXPECT_FALSE(profiles.anyManaged());
}

}  // namespace
