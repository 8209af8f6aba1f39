// The main window's model without a window: sampling, copying, layouts and
// the settings file's choices.
#include <gtest/gtest.h>

#include "magnifier/sampling.h"
#include "main/magnify_model.h"
#include "support/ini_file.h"

using namespace hueloom;
using namespace hueloom::app;

namespace {

ViewSample at(Rgb c, int x = 10, int y = 20) { return {c, markerColour(c), {x, y}, 1}; }

TEST(MagnifyModel, SamplesAreFormattedOncePerChangeAndCopiedFromTheModel) {
    MagnifyModel m;
    EXPECT_TRUE(m.running());
    EXPECT_EQ(m.samplingInterval(), 100);
    EXPECT_EQ(m.copyText(), "");  // no format chosen yet: nothing shown, nothing copied
    m.setShownFormat(ColourFormat::Decimal);
    EXPECT_TRUE(m.setSample(at({255, 128, 0})));
    EXPECT_EQ(m.shownText(), "rgb(255,128,0)");
    EXPECT_FALSE(m.setSample(at({255, 128, 0}, 11, 20)));  // moved, same colour: the text stands
    EXPECT_EQ(m.sample()->pointer, (Point{11, 20}));
    // A jump: the text of the new colour at once, in every format.
    EXPECT_TRUE(m.setSample(at({12, 34, 56})));
    EXPECT_EQ(m.copyText(), "rgb(12,34,56)");
    for (const ColourFormatName& f : colourFormatNames()) {
        m.setCopyFormat(f.format);
        EXPECT_EQ(m.copyText(), formatColour({12, 34, 56}, f.format)) << f.iniName;
    }
    m.setShownFormat(ColourFormat::Hexadecimal);
    EXPECT_EQ(m.shownText(), "#0C2238");
    // The copy goes into the list as a colour; the entry keeps the text.
    m.setCopyFormat(std::nullopt);
    EXPECT_EQ(m.pick(m.copyText(), m.sample()->colour), "C1: #0C2238");
    EXPECT_EQ(m.picked().colours(), (std::vector<Rgb>{{12, 34, 56}}));
    // The view cut out under the pointer: nothing shown, nothing to copy.
    m.clearSample();
    EXPECT_EQ(m.copyText(), "");
    EXPECT_TRUE(m.setSample(at({12, 34, 56})));  // shown again, same colour
    m.setRunning(false);
    EXPECT_EQ(m.samplingInterval(), 0);
    m.clearPicked();
    EXPECT_TRUE(m.picked().empty());
}

// On a monitor whose profile is not sRGB: the content's colour shown and
// copied, marked in the shown text only when it lies outside sRGB, exact in
// display-p3; the switch to the screen's own values.
TEST(MagnifyModel, ContentColoursWhereTheMonitorsProfileConvertsThem) {
    MagnifyModel m;
    m.setShownFormat(ColourFormat::Hexadecimal);
    ViewSample s = at({0, 255, 0});
    s.content = ContentColour{{0, 255, 0}, true, css::Coords{-0.1, 0.98, 0.2}, "Adobe RGB (1998)"};
    EXPECT_TRUE(m.setSample(s));
    EXPECT_EQ(m.shownText(), "≈#00FF00");
    EXPECT_EQ(m.copyText(), "#00FF00");
    m.setCopyFormat(ColourFormat::DisplayP3);
    EXPECT_EQ(m.copyText(), "color(display-p3 -0.1 0.98 0.2)");
    m.setShownFormat(ColourFormat::DisplayP3);
    EXPECT_EQ(m.shownText(), "color(display-p3 -0.1 0.98 0.2)");  // exact: no mark
    m.setShownFormat(ColourFormat::Name);
    EXPECT_EQ(m.shownText().rfind("≈", 0), 0u);
    EXPECT_EQ(m.shownText().find("≈", 1), std::string::npos) << m.shownText();  // one mark, not two
    // Inside sRGB: the converted value, unmarked.
    m.setShownFormat(ColourFormat::Decimal);
    s.colour = {200, 10, 10};
    s.content = ContentColour{{214, 0, 3}, false, std::nullopt, "P"};
    EXPECT_TRUE(m.setSample(s));
    EXPECT_EQ(m.shownText(), "rgb(214,0,3)");
    EXPECT_EQ(*m.value(), (Rgb{214, 0, 3}));
    m.setScreenValues(true);
    EXPECT_EQ(m.shownText(), "rgb(200,10,10)");
    EXPECT_EQ(*m.value(), (Rgb{200, 10, 10}));
    EXPECT_EQ(m.content(), nullptr);
}

TEST(MagnifyModel, LayoutsDisplayModesAndAveraging) {
    MagnifyModel m;
    m.setDisplayMode(magnifier::Bar2);
    m.setLayout(Layout::Image);
    EXPECT_EQ(m.displayMode(), magnifier::ImageLayout);
    m.setLayout(Layout::Magnifier);
    EXPECT_EQ(m.displayMode(), magnifier::Normal);
    EXPECT_TRUE(m.setAveraging(5));
    for (int bad : {0, 2, 17, -3}) EXPECT_FALSE(m.setAveraging(bad)) << bad;
    EXPECT_EQ(m.averaging(), 5);
}

TEST(MagnifyModel, SettingsRoundTripWritesTheChoicesAsTheyWereRead) {
    struct Case {
        const char* ini;  // [Display] and [Option] as a user's file has them
        const char* written;  // the same keys after a save, "" where none
    };
    const Case cases[] = {
        {"[Display]\nTOPMOST=Off\nColorMode=Lab\nCopyColorMode=HSL\n[Option]\nHookHotKey=On\n", "Off Lab HSL On"},
        {"[Display]\nTOPMOST=on\nColorMode=decimal\n[Option]\nHookHotKey=x\n", "- - - Off"},
        {"[Display]\nColorMode=Hexadecimal\nCopyColorMode=Nope\n", "On Hexadecimal - Off"},
    };
    settings::Environment env;
    env.screenWidth = 1920, env.screenHeight = 1080;
    for (const Case& c : cases) {
        settings::IniFile in = settings::IniFile::parse(c.ini);
        const settings::Settings s = settings::loadSettings(in, env);
        MagnifyModel m;
        m.applySettings(s);
        settings::IniFile out;
        settings::saveSettings(out, s, m.menuState());
        std::string written;
        for (auto [section, key] : {std::pair{"Display", "TOPMOST"},
                                    {"Display", "ColorMode"},
                                    {"Display", "CopyColorMode"},
                                    {"Option", "HookHotKey"}}) {
            const std::string v = out.readString(section, key, "-");
            written += (written.empty() ? "" : " ") + (v.empty() ? std::string("-") : v);
        }
        EXPECT_EQ(written, c.written) << c.ini;
    }
}

TEST(FramePacer, AMoveAfterRestIsShownAtOnceAStreamOncePerFrame) {
    magnifier::FramePacer p;
    p.setRefreshRate(0);  // unknown: 60 Hz
    EXPECT_NEAR(p.frame(), 16.667, 0.001);
    EXPECT_TRUE(p.take(1000));
    EXPECT_FALSE(p.take(1010));
    EXPECT_NEAR(p.wait(1010), 6.667, 0.001);
    EXPECT_TRUE(p.take(1017));
    EXPECT_TRUE(p.take(5));  // the clock went back: a new start
    p.setRefreshRate(144);
    EXPECT_TRUE(p.take(12));
}

}  // namespace
