// The settings file through the platform's profile routines (under Wine with
// the Japanese locale, the ANSI code page is Shift-JIS).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "settings/profile_win.h"
#include "settings/settings.h"

namespace S = hueloom::settings;

namespace {

std::string tempIniPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

S::Environment environment() {
    S::Environment env;
    env.screenWidth = 1280;
    env.screenHeight = 1024;
    env.programFolder = "C:\\Hueloom";
    return env;
}

S::MenuState defaultMenu() {
    S::MenuState m;
    m.topmostChecked = true;
    m.shownFormat = hueloom::ColourFormat::Decimal;
    m.notHookHotKeyChecked = true;
    return m;
}

}  // namespace

TEST(SettingsFile, AbsentFileIsCreatedWithAllKeys) {
    std::string path = tempIniPath("hueloom-settings-fresh.ini");
    DeleteFileA(path.c_str());
    S::WinProfile profile(path);
    S::Settings s = S::loadSettings(profile, environment());
    EXPECT_EQ(s.Left, (1280 - 177) / 2);
    EXPECT_EQ(s.Top, (1024 - 233) / 2);
    EXPECT_EQ(s.InitialDirTxt, "C:\\Hueloom");
    S::saveSettings(profile, s, defaultMenu());
    std::string text = readFile(path);
    int keys = 0;
    std::regex keyLine("^[A-Za-z_0-9]+=.*$", std::regex::multiline);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), keyLine); it != std::sregex_iterator(); ++it) ++keys;
    EXPECT_EQ(keys, 30) << text;
    for (const char* expected :
         {"TOPMOST=On", "ColorMode=Decimal", "ActiveColor=clAqua", "DeactiveColor=clInactiveBorder", "HookHotKey=Off",
          "HotKeyGetColor=Shift+Ctrl+C", "HookPrintScreenKey=0", "SleepTime=1000", "InitialDirTxt=C:\\Hueloom"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    DeleteFileA(path.c_str());
}

TEST(SettingsFile, UnknownKeysAndShiftJisFoldersSurviveLoadAndSave) {
    std::string path = tempIniPath("hueloom-settings-keep.ini");
    // "表示" in Shift-JIS is 95 5C 8E A6: its first character's second byte is '\'.
    const std::string folder = "C:\\\x95\x5C\x8E\xA6\\\x83\x5C\x83\x74\x83\x67";  // C:\表示\ソフト
    writeFile(path,
              "[Extra]\r\nFoo=Bar\r\n"
              "[Display]\r\nColorMode=Hexadecimal\r\nMojiColor=$00563412\r\nFuture=1\r\n"
              "[FileDir]\r\nInitialDirImg=" +
                  folder + "\r\n");
    S::WinProfile profile(path);
    S::Settings s = S::loadSettings(profile, environment());
    EXPECT_EQ(s.InitialDirImg, folder);
    EXPECT_EQ(s.MojiColor, 0x00563412u);
    EXPECT_EQ(s.ColorMode, "Hexadecimal");
    S::MenuState m = defaultMenu();
    m.shownFormat = hueloom::ColourFormat::Hexadecimal;
    S::saveSettings(profile, s, m);
    std::string text = readFile(path);
    EXPECT_NE(text.find("[Extra]\r\nFoo=Bar\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Future=1"), std::string::npos) << text;
    EXPECT_NE(text.find("MojiColor=$00563412"), std::string::npos) << text;
    EXPECT_NE(text.find("ColorMode=Hexadecimal"), std::string::npos) << text;
    EXPECT_NE(text.find("InitialDirImg=" + folder + "\r\n"), std::string::npos) << text;
    // Read back through the platform routines once more.
    S::Settings again = S::loadSettings(profile, environment());
    EXPECT_EQ(again.InitialDirImg, folder);
    DeleteFileA(path.c_str());
}

TEST(SettingsFile, ProgramFolderAndSettingsPathSitBesideTheExe) {
    std::string exe = S::programPathAnsi();
    std::string ini = S::settingsPathAnsi();
    ASSERT_GT(exe.size(), 4u);
    EXPECT_EQ(ini.substr(0, exe.size() - 4), exe.substr(0, exe.size() - 4));
    EXPECT_EQ(ini.substr(ini.size() - 4), ".ini");
}
