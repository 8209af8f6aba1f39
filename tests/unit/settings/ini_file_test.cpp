// The in-memory INI file and its profile-routine behaviour.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "support/ini_file.h"

using hueloom::settings::IniFile;

namespace {

TEST(IniFile, MissingSectionKeyOrFileGivesTheDefault) {
    IniFile empty;
    EXPECT_EQ(empty.readString("Window", "Top", "17"), "17");
    IniFile ini = IniFile::parse("[Window]\r\nTop=5\r\n");
    EXPECT_EQ(ini.readString("Window", "Left", "def"), "def");
    EXPECT_EQ(ini.readString("Display", "Top", "def"), "def");
    EXPECT_FALSE(ini.loadFile("/nonexistent-dir/none.ini"));
    EXPECT_EQ(ini.readString("Window", "Top", "x"), "x");  // the failed load leaves it empty
}

TEST(IniFile, LookupIgnoresCaseAndBlanksAndStripsQuotes) {
    IniFile ini = IniFile::parse(
        "; comment\n"
        "  [ Window ]  \n"
        "  top =  12  \n"
        "Name=\"quoted value\"\n"
        "Single='x'\n"
        "Half=\"open\n"
        "Empty=\n"
        "Eq=a=b\n");
    EXPECT_EQ(ini.readString("WINDOW", "TOP", ""), "12");
    EXPECT_EQ(ini.readString("window", "name", ""), "quoted value");
    EXPECT_EQ(ini.readString("Window", "Single", ""), "x");
    EXPECT_EQ(ini.readString("Window", "Half", ""), "\"open");
    EXPECT_EQ(ini.readString("Window", "Empty", "default"), "");  // present but empty: not the default
    EXPECT_EQ(ini.readString("Window", "Eq", ""), "a=b");
    EXPECT_TRUE(ini.hasKey("window", "EMPTY"));
    EXPECT_FALSE(ini.hasKey("window", "comment"));
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
    IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\n");
    EXPECT_EQ(ini.readString("a", "K", ""), "1");
    EXPECT_EQ(ini.readString("B", "k", ""), "3");
    ini.writeString("A", "k", "9");
    EXPECT_EQ(ini.serialise(), "[A]\r\nk=9\r\nk=2\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\n");
}

TEST(IniFile, KeysOutsideTheirSectionAreNotFound) {
    IniFile ini = IniFile::parse("Top=1\n[Window]\nLeft=2\n[Other]\nTop=3\n");
    EXPECT_EQ(ini.readString("Window", "Top", "none"), "none");
    EXPECT_EQ(ini.readString("Other", "Top", "none"), "3");
}

TEST(IniFile, WritingKeepsEverythingElseInPlace) {
    const std::string original =
        "; my settings\r\n"
        "[Window]\r\n"
        "Top=1\r\n"
        "Unknown=keep me\r\n"
        "\r\n"
        "[Extra]\r\n"
        "Foo = bar\r\n"
        "junk line without equals\r\n";
    IniFile ini = IniFile::parse(original);
    EXPECT_EQ(ini.serialise(), original);  // untouched model serialises to the same bytes

    ini.writeString("window", "TOP", "250");  // existing key keeps its spelling
    ini.writeString("Window", "Left", "40");  // new key after the last key of the section
    ini.writeString("Extra", "Foo", "baz");
    ini.writeString("FileDir", "InitialDirTxt", "C:\\tmp");  // new section at the end
    EXPECT_EQ(ini.serialise(),
              "; my settings\r\n"
              "[Window]\r\n"
              "Top=250\r\n"
              "Unknown=keep me\r\n"
              "Left=40\r\n"
              "\r\n"
              "[Extra]\r\n"
              "Foo=baz\r\n"
              "junk line without equals\r\n"
              "[FileDir]\r\n"
              "InitialDirTxt=C:\\tmp\r\n");
}

TEST(IniFile, LineEndsAreNormalisedToCrLf) {
    IniFile ini = IniFile::parse("[S]\nA=1\rB=2\r\nC=3");
    EXPECT_EQ(ini.serialise(), "[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
    EXPECT_EQ(ini.readString("S", "B", ""), "2");
    EXPECT_EQ(ini.readString("S", "C", ""), "3");
}

TEST(IniFile, NewSectionWithoutKeysGetsTheKeyRightAfterItsHeader) {
    IniFile ini = IniFile::parse("[A]\n; only a comment\n[B]\nx=1\n");
    ini.writeString("A", "k", "v");
    EXPECT_EQ(ini.serialise(), "[A]\r\nk=v\r\n; only a comment\r\n[B]\r\nx=1\r\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ini.keyNames("a"), (std::vector<std::string>{"k"}));
}

TEST(IniFile, ShiftJisBytesSurviveUnchanged) {
    // "C:\ソフト\表" : both 0x83 0x5C and 0x95 0x5C end in a backslash byte, and
    // 0x83 0x5D ends in ']' -- none of them may be taken for syntax.
    const std::string folder = "C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C";
    const std::string file = "[\x83\x5D\x83\x65]\r\nk=v\r\n[FileDir]\r\nInitialDirTxt=" + folder + "\r\n";
    IniFile ini = IniFile::parse(file);
    EXPECT_EQ(ini.readString("FileDir", "InitialDirTxt", ""), folder);
    EXPECT_EQ(ini.readString("\x83\x5D\x83\x65", "k", ""), "v");
    ini.writeString("FileDir", "InitialDirImg", folder);
    EXPECT_EQ(ini.readString("FileDir", "InitialDirImg", ""), folder);
    EXPECT_EQ(IniFile::parse(ini.serialise()).readString("FileDir", "InitialDirImg", ""), folder);
}

TEST(IniFile, FileRoundTripAndUnwritableTarget) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("hueloom_ini_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Hueloom.ini").string();
    IniFile ini;
    ini.writeString("Window", "Top", "3");
    ASSERT_TRUE(ini.saveFile(path));
    IniFile back;
    ASSERT_TRUE(back.loadFile(path));
    EXPECT_EQ(back.readString("Window", "Top", ""), "3");
    EXPECT_EQ(back.serialise(), "[Window]\r\nTop=3\r\n");
    EXPECT_FALSE(ini.saveFile((dir / "no-such-dir" / "x.ini").string()));
    std::filesystem::remove_all(dir);
}

}  // namespace
