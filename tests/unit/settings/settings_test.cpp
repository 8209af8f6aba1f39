// loadSettings / saveSettings: defaults, key order, clamps, switches, recovery.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/ini_file.h"
#include "settings/settings.h"

using namespace hueloom;
using namespace hueloom::settings;

namespace {

// Every key of the file in order, as (section, key).
const std::vector<std::pair<std::string, std::string>> kAllKeys = {
    {"Window", "Top"},
    {"Window", "Left"},
    {"Display", "TOPMOST"},
    {"Display", "ColorMode"},
    {"Display", "MojiColor"},
    {"Display", "MojiBKColor"},
    {"Display", "ActiveColor"},
    {"Display", "DeactiveColor"},
    {"Display", "ImgBKColor"},
    {"Display", "MaskColor"},
    {"Option", "HookHotKey"},
    {"Option", "JPGQuality"},
    {"Option", "PNGQuality"},
    {"Option", "OptionRectWidth"},
    {"Option", "HotKeyGetColor"},
    {"Option", "HotKeyScreenCapture"},
    {"Option", "HotKeyWindowCapture"},
    {"Option", "HotKeyRectCapture"},
    {"Option", "HookPrintScreenKey"},
    {"Option", "HookAltPrintScreenKey"},
    {"Message", "Msg_ID1"},
    {"Message", "Msg_ID2"},
    {"Message", "Msg_ID3"},
    {"Message", "Msg_ID4"},
    {"Message", "Msg_ID5"},
    {"Capture", "SleepTime"},
    {"Capture", "CaptureCursor"},
    {"Capture", "flgCursorCapture"},
    {"FileDir", "InitialDirTxt"},
    {"FileDir", "InitialDirImg"},
};

// A profile that records the order of reads and writes over a map of values.
class RecordingProfile : public Profile {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::pair<std::string, std::string>> reads, writes;

    std::string readString(const std::string& section, const std::string& key, const std::string& def) override {
        reads.emplace_back(section, key);
        auto it = values.find({section, key});
        return it == values.end() ? def : it->second;
    }
    void writeString(const std::string& section, const std::string& key, const std::string& value) override {
        writes.emplace_back(section, key);
        values[{section, key}] = value;
    }
    std::string at(const std::string& section, const std::string& key) const {
        auto it = values.find({section, key});
        return it == values.end() ? "<missing>" : it->second;
    }
};

Environment fullHd() {
    Environment env;
    env.screenWidth = 1920;
    env.screenHeight = 1080;
    env.programFolder = "C:\\Program Files\\Hueloom";
    return env;
}

MenuState startupMenu() {
    MenuState m;
    m.topmostChecked = true;
    m.shownFormat = hueloom::ColourFormat::Decimal;
    m.notHookHotKeyChecked = true;
    return m;
}

TEST(SettingsLoad, EmptyFileGivesEveryDefault) {
    RecordingProfile p;
    const Settings s = loadSettings(p, fullHd());
    EXPECT_EQ(s.Top, (1080 - 233) / 2);
    EXPECT_EQ(s.Left, (1920 - 177) / 2);
    EXPECT_EQ(s.TOPMOST, "On");
    EXPECT_EQ(s.ColorMode, "Decimal");
    EXPECT_EQ(s.MojiColor, kClBlack);
    EXPECT_EQ(s.MojiBKColor, kClWhite);
    EXPECT_EQ(s.ActiveColor, kClAqua);
    EXPECT_EQ(s.DeactiveColor, 0x8000000Bu);
    EXPECT_EQ(s.ImgBKColor, 0x80000001u);
    EXPECT_EQ(s.MaskColor, kClRed);
    EXPECT_EQ(s.HookHotKey, "Off");
    EXPECT_EQ(s.JPGQuality, 90);
    EXPECT_EQ(s.PNGQuality, 1);
    EXPECT_EQ(s.OptionRectWidth, 20);
    EXPECT_EQ(s.HotKeyGetColor, 24643);
    EXPECT_EQ(s.HotKeyScreenCapture, 0x6053);
    EXPECT_EQ(s.HotKeyWindowCapture, 0x6057);
    EXPECT_EQ(s.HotKeyRectCapture, 0x6052);
    EXPECT_FALSE(s.HookPrintScreenKey);
    EXPECT_FALSE(s.HookAltPrintScreenKey);
    for (bool f : s.Msg_ID) EXPECT_FALSE(f);
    EXPECT_EQ(s.SleepTime, 1000);
    EXPECT_EQ(s.CaptureCursor, 0);
    EXPECT_FALSE(s.flgCursorCapture);
    EXPECT_EQ(s.InitialDirTxt, "C:\\Program Files\\Hueloom");
    EXPECT_EQ(s.InitialDirImg, "C:\\Program Files\\Hueloom");
}

TEST(SettingsLoad, ReadsEveryKeyOnceInFileOrder) {
    RecordingProfile p;
    loadSettings(p, fullHd());
    // Every key that is written, the copy format, written only once chosen,
    // and the user's templates, never written.
    auto expected = kAllKeys;
    expected.insert(expected.begin() + 10, {"Display", "CopyColorMode"});
    // The language, written only once chosen.
    const auto hookAlt = std::find(expected.begin(), expected.end(),
                                   std::pair<std::string, std::string>{"Option", "HookAltPrintScreenKey"});
    expected.insert(hookAlt + 1, {"Option", "Language"});
    // The selection's fill colour and square size, written only once set.
    const auto cursorFlag =
        std::find(expected.begin(), expected.end(), std::pair<std::string, std::string>{"Capture", "flgCursorCapture"});
    expected.insert(cursorFlag + 1, {{"Capture", "FillColor"}, {"Capture", "MosaicSize"}});
    for (int i = 1; i <= kCustomFormats; ++i) expected.push_back({"Format", "Custom" + std::to_string(i)});
    // The monitors' profiles, read only, and the two colour switches.
    for (int i = 1; i <= kProfileKeys; ++i) expected.push_back({"ColorManagement", "Profile" + std::to_string(i)});
    expected.insert(expected.end(), {{"ColorManagement", "ScreenValues"}, {"ColorManagement", "CaptureToSrgb"}});
    EXPECT_EQ(p.reads, expected);
}

TEST(SettingsSave, WritesAll30KeysInFileOrderWithTheirDefaults) {
    RecordingProfile p;
    Environment env = fullHd();
    saveSettings(p, loadSettings(p, env), startupMenu());
    EXPECT_EQ(p.writes, kAllKeys);
    EXPECT_EQ(p.at("Window", "Top"), "423");
    EXPECT_EQ(p.at("Window", "Left"), "871");
    EXPECT_EQ(p.at("Display", "TOPMOST"), "On");
    EXPECT_EQ(p.at("Display", "ColorMode"), "Decimal");
    EXPECT_EQ(p.at("Display", "MojiColor"), "clBlack");
    EXPECT_EQ(p.at("Display", "MojiBKColor"), "clWhite");
    EXPECT_EQ(p.at("Display", "ActiveColor"), "clAqua");
    EXPECT_EQ(p.at("Display", "DeactiveColor"), "clInactiveBorder");
    EXPECT_EQ(p.at("Display", "ImgBKColor"), "clBackground");
    EXPECT_EQ(p.at("Display", "MaskColor"), "clRed");
    EXPECT_EQ(p.at("Option", "HookHotKey"), "Off");
    EXPECT_EQ(p.at("Option", "JPGQuality"), "90");
    EXPECT_EQ(p.at("Option", "PNGQuality"), "1");
    EXPECT_EQ(p.at("Option", "OptionRectWidth"), "20");
    EXPECT_EQ(p.at("Option", "HotKeyGetColor"), "Shift+Ctrl+C");
    EXPECT_EQ(p.at("Option", "HotKeyScreenCapture"), "Shift+Ctrl+S");
    EXPECT_EQ(p.at("Option", "HotKeyWindowCapture"), "Shift+Ctrl+W");
    EXPECT_EQ(p.at("Option", "HotKeyRectCapture"), "Shift+Ctrl+R");
    EXPECT_EQ(p.at("Option", "HookPrintScreenKey"), "0");
    EXPECT_EQ(p.at("Option", "HookAltPrintScreenKey"), "0");
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(p.at("Message", "Msg_ID" + std::to_string(i)), "0");
    EXPECT_EQ(p.at("Capture", "SleepTime"), "1000");
    EXPECT_EQ(p.at("Capture", "CaptureCursor"), "0");
    EXPECT_EQ(p.at("Capture", "flgCursorCapture"), "0");
    EXPECT_EQ(p.at("FileDir", "InitialDirTxt"), "C:\\Program Files\\Hueloom");
    EXPECT_EQ(p.at("FileDir", "InitialDirImg"), "C:\\Program Files\\Hueloom");
}

TEST(SettingsSave, FreshIniFileGetsSixSectionsAndAllKeys) {
    IniFile ini;
    saveSettings(ini, loadSettings(ini, fullHd()), startupMenu());
    EXPECT_EQ(ini.sectionNames(),
              (std::vector<std::string>{"Window", "Display", "Option", "Message", "Capture", "FileDir"}));
    size_t count = 0;
    for (const auto& section : ini.sectionNames()) count += ini.keyNames(section).size();
    EXPECT_EQ(count, 30u);
    const std::string text = ini.serialise();
    for (const char* line :
         {"TOPMOST=On\r\n", "ColorMode=Decimal\r\n", "ActiveColor=clAqua\r\n", "DeactiveColor=clInactiveBorder\r\n",
          "HookHotKey=Off\r\n", "HotKeyGetColor=Shift+Ctrl+C\r\n", "HookPrintScreenKey=0\r\n", "SleepTime=1000\r\n",
          "InitialDirTxt=C:\\Program Files\\Hueloom\r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

TEST(SettingsLoad, WindowPositionIsKeptReachable) {
    struct Case {
        const char* left;
        const char* top;
        int wantLeft, wantTop;
    };
    const Case cases[] = {
        {"-500", "100", 0, 100},  // entirely left of the screen
        {"5000", "100", 1743, 100},  // 1920 - 177
        {"-100", "100", -100, 100},  // partly visible: kept
        {"1800", "-200", 1800, -200},  // partly visible on both axes
        {"100", "-300", 100, 0},  // entirely above
        {"100", "4000", 100, 847},  // 1080 - 233
        {"-177", "-233", 0, 0},  // right/bottom edge exactly at 0: nothing visible
        {"1920", "1080", 1743, 847},  // left/top edge exactly at the screen's end
        {"-176", "-232", -176, -232},  // one pixel still visible
        {"1919", "1079", 1919, 1079},
    };
    for (const auto& c : cases) {
        RecordingProfile p;
        p.values[{"Window", "Left"}] = c.left;
        p.values[{"Window", "Top"}] = c.top;
        const Settings s = loadSettings(p, fullHd());
        EXPECT_EQ(s.Left, c.wantLeft) << "Left=" << c.left;
        EXPECT_EQ(s.Top, c.wantTop) << "Top=" << c.top;
    }
}

TEST(SettingsLoad, WindowPositionOnAnyMonitorIsKept) {
    // A second monitor right of the primary one and a third left of it.
    Environment env = fullHd();
    env.workAreas = {Rect{0, 0, 1920, 1040}, Rect{1920, 0, 3200, 1024}, Rect{-1280, 0, 0, 1024}};
    struct Case {
        const char* left;
        const char* top;
        int wantLeft, wantTop;
    };
    const Case cases[] = {
        {"2500", "300", 2500, 300},  // on the right monitor
        {"-1000", "300", -1000, 300},  // on the left one
        {"5000", "300", 3023, 300},  // beyond the right one: flush with its end
        {"-5000", "300", -1280, 300},  // beyond the left one: at its start
        {"100", "1050", 100, 807},  // behind the primary's task bar (work area 1040 high)
    };
    for (const auto& c : cases) {
        RecordingProfile p;
        p.values[{"Window", "Left"}] = c.left;
        p.values[{"Window", "Top"}] = c.top;
        const Settings s = loadSettings(p, env);
        EXPECT_EQ(s.Left, c.wantLeft) << "Left=" << c.left;
        EXPECT_EQ(s.Top, c.wantTop) << "Top=" << c.top;
    }
}

TEST(SettingsLoad, DefaultPositionDependsOnTheWindowSize) {
    RecordingProfile p;
    Environment env = fullHd();
    env.windowWidth = 300;
    env.windowHeight = 101;
    const Settings s = loadSettings(p, env);
    EXPECT_EQ(s.Left, 810);
    EXPECT_EQ(s.Top, 489);  // (1080 - 101) div 2
}

TEST(SettingsLoad, ReadsWrittenValues) {
    IniFile ini = IniFile::parse(
        "[Window]\nTop=10\nLeft=20\n"
        "[Display]\nTOPMOST=Off\nColorMode=Hexadecimal\nMojiColor=$00563412\nMojiBKColor=clyellow\n"
        "ActiveColor=CLAQUA\nDeactiveColor=255\nImgBKColor=0x10\nMaskColor=clNone\n"
        "[Option]\nHookHotKey=On\nJPGQuality=75\nPNGQuality=3\nOptionRectWidth=50\n"
        "HotKeyGetColor=ctrl+shift+c\nHotKeyScreenCapture=Shift+Ctrl+F5\nHotKeyWindowCapture=\n"
        "HotKeyRectCapture=^R\nHookPrintScreenKey=1\nHookAltPrintScreenKey=-3\n"
        "[Message]\nMsg_ID1=1\nMsg_ID2=0\nMsg_ID3=$1\nMsg_ID4=junk\nMsg_ID5=2\n"
        "[Capture]\nSleepTime=-20\nCaptureCursor=19\nflgCursorCapture=1\n"
        "[FileDir]\nInitialDirTxt=\nInitialDirImg=D:\\pics\n");
    const Settings s = loadSettings(ini, fullHd());
    EXPECT_EQ(s.Top, 10);
    EXPECT_EQ(s.Left, 20);
    EXPECT_EQ(s.TOPMOST, "Off");
    EXPECT_EQ(s.ColorMode, "Hexadecimal");
    EXPECT_EQ(s.MojiColor, 0x563412u);
    EXPECT_EQ(s.MojiBKColor, 0x00FFFFu);
    EXPECT_EQ(s.ActiveColor, kClAqua);
    EXPECT_EQ(s.DeactiveColor, 255u);
    EXPECT_EQ(s.ImgBKColor, 16u);
    EXPECT_EQ(s.MaskColor, kClNone);
    EXPECT_EQ(s.HookHotKey, "On");
    EXPECT_EQ(s.JPGQuality, 75);
    EXPECT_EQ(s.PNGQuality, 3);
    EXPECT_EQ(s.OptionRectWidth, 50);
    EXPECT_EQ(s.HotKeyGetColor, 24643);
    EXPECT_EQ(s.HotKeyScreenCapture, kShortcutShift | kShortcutCtrl | 0x74);
    EXPECT_EQ(s.HotKeyWindowCapture, 0);  // empty value: no key
    EXPECT_EQ(s.HotKeyRectCapture, kShortcutCtrl | 'R');
    EXPECT_TRUE(s.HookPrintScreenKey);
    EXPECT_TRUE(s.HookAltPrintScreenKey);  // any non-zero integer
    EXPECT_EQ(s.Msg_ID, (std::array<bool, 5>{true, false, true, false, true}));
    EXPECT_EQ(s.SleepTime, 0);  // bounded as the options dialog bounds it
    EXPECT_EQ(s.CaptureCursor, 19);
    EXPECT_TRUE(s.flgCursorCapture);
    EXPECT_EQ(s.InitialDirTxt, "");  // an empty value stays empty
    EXPECT_EQ(s.InitialDirImg, "D:\\pics");
}

TEST(SettingsLoad, CaptureDelayFromTheFileIsBoundedToAMinute) {
    for (const auto& [text, expected] : {std::pair{"86400000", 60000}, {"60000", 60000}, {"-1", 0}, {"250", 250}}) {
        IniFile ini = IniFile::parse(std::string("[Capture]\nSleepTime=") + text + "\n");
        EXPECT_EQ(loadSettings(ini, fullHd()).SleepTime, expected) << text;
    }
}

TEST(SettingsLoad, UnusableValuesFallBackToTheKeyDefault) {
    IniFile ini = IniFile::parse(
        "[Window]\nTop=99999999999\nLeft=abc\n"
        "[Display]\nMojiColor=reddish\nMojiBKColor=\nActiveColor=$123456789\nMaskColor=#FF0000\n"
        "DeactiveColor=$12345678\nImgBKColor=$8000001F\n"
        "[Option]\nJPGQuality=12x\nPNGQuality=4\nOptionRectWidth=0\n"
        "HotKeyGetColor=Shift+Ctrl+Nothing\nHookPrintScreenKey=yes\n"
        "[Message]\nMsg_ID1=4294967296\n"
        "[Capture]\nSleepTime=2147483648\nCaptureCursor=20\n");
    const Settings s = loadSettings(ini, fullHd());
    EXPECT_EQ(s.Top, 423);
    EXPECT_EQ(s.Left, 871);
    EXPECT_EQ(s.MojiColor, kClBlack);
    EXPECT_EQ(s.MojiBKColor, kClWhite);
    EXPECT_EQ(s.ActiveColor, kClAqua);
    EXPECT_EQ(s.MaskColor, kClRed);
    EXPECT_EQ(s.DeactiveColor, kClInactiveBorder);  // an integer that names no colour value
    EXPECT_EQ(s.ImgBKColor, kClBackground);  // system colour index 31 does not exist
    EXPECT_EQ(s.JPGQuality, 90);
    EXPECT_EQ(s.PNGQuality, 1);
    EXPECT_EQ(s.OptionRectWidth, 20);
    EXPECT_EQ(s.HotKeyGetColor, 0);  // names no key: the hot key becomes empty
    EXPECT_FALSE(s.HookPrintScreenKey);
    EXPECT_FALSE(s.Msg_ID[0]);
    EXPECT_EQ(s.SleepTime, 1000);
    EXPECT_EQ(s.CaptureCursor, 0);

    for (const char* v : {"-1", "$FFFFFFFF", "1000"}) {
        IniFile other = IniFile::parse(std::string("[Capture]\nCaptureCursor=") + v + "\n[Option]\nPNGQuality=" + v +
                                       "\nOptionRectWidth=" + v + "\nJPGQuality=" + v + "\n");
        const Settings t = loadSettings(other, fullHd());
        EXPECT_EQ(t.JPGQuality, 90) << v;
        EXPECT_EQ(t.CaptureCursor, 0) << v;
        EXPECT_EQ(t.PNGQuality, 1) << v;
        EXPECT_EQ(t.OptionRectWidth, 20) << v;
    }
    IniFile edges = IniFile::parse("[Option]\nPNGQuality=0\nOptionRectWidth=1\nJPGQuality=1\n");
    EXPECT_EQ(loadSettings(edges, fullHd()).JPGQuality, 1);
    EXPECT_EQ(loadSettings(edges, fullHd()).PNGQuality, 0);
    EXPECT_EQ(loadSettings(edges, fullHd()).OptionRectWidth, 1);
}

TEST(SettingsSave, SwitchesAreWrittenFromTheCheckMarks) {
    Settings s;
    s.TOPMOST = "on";  // the start-up texts do not matter
    s.ColorMode = "whatever";
    s.HookHotKey = "Off";
    {
        RecordingProfile p;
        MenuState m;
        m.notTopmostChecked = true;
        m.shownFormat = hueloom::ColourFormat::Hexadecimal;
        m.hookHotKeyChecked = true;
        saveSettings(p, s, m);
        EXPECT_EQ(p.at("Display", "TOPMOST"), "Off");
        EXPECT_EQ(p.at("Display", "ColorMode"), "Hexadecimal");
        EXPECT_EQ(p.at("Option", "HookHotKey"), "On");
        EXPECT_EQ(p.writes.size(), 30u);
    }
    {
        RecordingProfile p;  // neither item of any pair checked: those keys are not written
        saveSettings(p, s, MenuState{});
        EXPECT_EQ(p.at("Display", "TOPMOST"), "<missing>");
        EXPECT_EQ(p.at("Display", "ColorMode"), "<missing>");
        EXPECT_EQ(p.at("Option", "HookHotKey"), "<missing>");
        EXPECT_EQ(p.writes.size(), 27u);
    }
}

TEST(SettingsSave, NewValueFormatsAndTheCopyFormatOnlyOnceChosen) {
    IniFile ini = IniFile::parse("[Display]\nColorMode=Decimal\n");
    Settings s = loadSettings(ini, fullHd());
    EXPECT_EQ(s.CopyColorMode, "");
    saveSettings(ini, s, startupMenu());  // today's choices: no new key
    EXPECT_EQ(ini.readString("Display", "ColorMode", ""), "Decimal");
    EXPECT_EQ(ini.readString("Display", "CopyColorMode", "<missing>"), "<missing>");

    MenuState m = startupMenu();
    m.shownFormat = hueloom::ColourFormat::Lab;
    m.copyFormat = hueloom::ColourFormat::ColorRefHex;
    saveSettings(ini, s, m);
    EXPECT_EQ(ini.readString("Display", "ColorMode", ""), "Lab");
    EXPECT_EQ(ini.readString("Display", "CopyColorMode", ""), "ColorRefHex");

    s = loadSettings(ini, fullHd());
    EXPECT_EQ(s.CopyColorMode, "ColorRefHex");
    m.copyFormat.reset();  // "表示と同じ" chosen again: the stored format goes
    saveSettings(ini, s, m);
    EXPECT_EQ(ini.readString("Display", "CopyColorMode", "<missing>"), "");

    IniFile odd = IniFile::parse("[Display]\nCopyColorMode=hsl\n");  // unknown spelling: kept as it is
    s = loadSettings(odd, fullHd());
    saveSettings(odd, s, startupMenu());
    EXPECT_EQ(odd.readString("Display", "CopyColorMode", ""), "hsl");

    // The selection's fill colour and square size: defaults unwritten, a
    // usable value kept, an unusable one the default.
    EXPECT_EQ(ini.readString("Capture", "FillColor", "-") + ini.readString("Capture", "MosaicSize", "-"), "--");
    IniFile chosen = IniFile::parse("[Capture]\nFillColor=$00336699\nMosaicSize=1\n");
    s = loadSettings(chosen, fullHd());
    EXPECT_EQ(std::pair(s.fillColor(), s.mosaicSize()), std::pair(0x336699u, 12)) << "squares of 1 hide nothing";
    s.MosaicSize = 20;
    saveSettings(chosen, s, startupMenu());
    EXPECT_EQ(chosen.readString("Capture", "FillColor", ""), "$00336699");
    EXPECT_EQ(chosen.readString("Capture", "MosaicSize", ""), "20");

    // Colour management: the profiles kept as written (never written), the
    // switches written once set, anything but 1 or 0 unset.
    EXPECT_EQ(ini.readString("ColorManagement", "ScreenValues", "-"), "-");
    IniFile cm = IniFile::parse("[ColorManagement]\nProfile2=p3.icc\nScreenValues=1\nCaptureToSrgb=yes\n");
    s = loadSettings(cm, fullHd());
    EXPECT_EQ(s.Profile[1], "p3.icc");
    EXPECT_EQ(std::pair(s.screenValues(), s.CaptureToSrgb.has_value()), std::pair(true, false));
    s.CaptureToSrgb = false;
    s.Profile[1] = "changed.icc";
    saveSettings(cm, s, startupMenu());
    EXPECT_EQ(cm.readString("ColorManagement", "Profile2", "") + cm.readString("ColorManagement", "ScreenValues", "") +
                  cm.readString("ColorManagement", "CaptureToSrgb", ""),
              "p3.icc10");
}

TEST(SettingsRoundTrip, UnknownLowerCaseSwitchIsKeptWhenNeitherItemIsChecked) {
    IniFile ini = IniFile::parse("[Display]\nTOPMOST=on\n[Custom]\nKeep=me\n");
    Settings s = loadSettings(ini, fullHd());
    EXPECT_EQ(s.TOPMOST, "on");
    MenuState m = startupMenu();
    m.topmostChecked = false;  // "on" matches neither spelling, so neither item got checked
    saveSettings(ini, s, m);
    EXPECT_EQ(ini.readString("Display", "TOPMOST", ""), "on");
    EXPECT_EQ(ini.readString("Custom", "Keep", ""), "me");
}

TEST(SettingsRoundTrip, ChangedValuesComeBackUnchanged) {
    Environment env = fullHd();
    env.programFolder = "C:\\\x83\x5C\x83\x74\x83\x67";  // "C:\ソフト"
    env.keyName = [](uint8_t key) -> std::string { return key == 0xBA ? "; (JIS)" : ""; };
    IniFile ini = IniFile::parse("[Unknown]\nA=1\n[Option]\nMyKey=x\n");
    Settings s = loadSettings(ini, env);
    s.Top = -50;
    s.Left = 1700;
    s.MojiColor = rgbColour(18, 52, 86);
    s.MaskColor = 0x80000019u;
    s.JPGQuality = 1;
    s.PNGQuality = 0;
    s.OptionRectWidth = 7;
    s.HotKeyGetColor = kShortcutAlt | vk::kNumpad0 + 5;
    s.HotKeyScreenCapture = 0;
    s.HotKeyWindowCapture = kShortcutCtrl | 0xBA;
    s.HookAltPrintScreenKey = true;
    s.Msg_ID[3] = true;
    s.SleepTime = 250;
    s.CaptureCursor = 5;
    s.flgCursorCapture = true;
    s.InitialDirTxt = "";
    saveSettings(ini, s, startupMenu(), env.keyName);

    const Settings back = loadSettings(ini, env);
    EXPECT_EQ(back.Top, -50);
    EXPECT_EQ(back.Left, 1700);
    EXPECT_EQ(back.MojiColor, rgbColour(18, 52, 86));
    EXPECT_EQ(ini.readString("Display", "MojiColor", ""), "$00563412");
    EXPECT_EQ(back.MaskColor, 0x80000019u);
    EXPECT_EQ(back.JPGQuality, 1);
    EXPECT_EQ(back.PNGQuality, 0);
    EXPECT_EQ(back.OptionRectWidth, 7);
    EXPECT_EQ(back.HotKeyGetColor, kShortcutAlt | '5');  // the pad digit is written as "5"
    EXPECT_EQ(ini.readString("Option", "HotKeyScreenCapture", "x"), "");
    EXPECT_EQ(back.HotKeyScreenCapture, 0);
    EXPECT_EQ(back.HotKeyWindowCapture, kShortcutCtrl | 0xBA);
    EXPECT_EQ(ini.readString("Option", "HotKeyWindowCapture", ""), "Ctrl+; (JIS)");
    EXPECT_TRUE(back.HookAltPrintScreenKey);
    EXPECT_TRUE(back.Msg_ID[3]);
    EXPECT_EQ(back.SleepTime, 250);
    EXPECT_EQ(back.CaptureCursor, 5);
    EXPECT_TRUE(back.flgCursorCapture);
    EXPECT_EQ(back.InitialDirTxt, "");
    EXPECT_EQ(back.InitialDirImg, env.programFolder);
    EXPECT_EQ(ini.readString("Unknown", "A", ""), "1");
    EXPECT_EQ(ini.readString("Option", "MyKey", ""), "x");
}

}  // namespace
