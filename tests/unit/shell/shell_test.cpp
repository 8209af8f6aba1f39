// Shell integration without the shell: shortcut targets by keyword, the
// shortcut, working-directory and help-file paths, and the texts.
#include <gtest/gtest.h>

#include <string>

#include "core/texts.h"
#include "shell/shell.h"

using namespace hueloom::shell;

namespace {

TEST(ShellTargets, KeywordsSelectTheirFolderExactly) {
    const auto desktop = targetsForKeyword("DESKTOP");
    ASSERT_EQ(desktop.size(), 1u);
    EXPECT_EQ(desktop[0].folderId, 0);  // CSIDL_DESKTOP
    EXPECT_EQ(desktop[0].caption, L"デスクトップ");
    const auto programs = targetsForKeyword("PROGRAMS");
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_EQ(programs[0].folderId, 2);  // CSIDL_PROGRAMS
    EXPECT_EQ(programs[0].caption, L"スタートメニュー");

    // Compared exactly: other spellings and unknown words select nothing.
    EXPECT_TRUE(targetsForKeyword("desktop").empty());
    EXPECT_TRUE(targetsForKeyword("DESKTOP ").empty());
    EXPECT_TRUE(targetsForKeyword("").empty());
    EXPECT_TRUE(targetsForKeyword("STARTUP").empty());
    EXPECT_EQ(shortcutTargets().size(), 2u);
}

TEST(ShellPaths, ShortcutFileIsFolderNameAndLnk) {
    EXPECT_EQ(shortcutFilePath(L"C:\\Users\\me\\Desktop", kShortcutName), L"C:\\Users\\me\\Desktop\\Hueloom 1.0A4.lnk");
    // A folder that already ends in a separator (a drive root) gets no second one.
    EXPECT_EQ(shortcutFilePath(L"D:\\", kShortcutName), L"D:\\Hueloom 1.0A4.lnk");
    EXPECT_EQ(shortcutFilePath(L"C:\\デスクトップ", L"x"), L"C:\\デスクトップ\\x.lnk");
}

TEST(ShellPaths, HelpFileReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(helpFilePath(L"C:\\Tools\\Hueloom.exe"), L"C:\\Tools\\Hueloom.chm");
    EXPECT_EQ(helpFilePath(L"C:\\Tools\\Hue.loom.EXE"), L"C:\\Tools\\Hue.loom.chm");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(helpFilePath(L"C:\\v1.2\\Hueloom"), L"C:\\v1.2\\Hueloom.chm");
    EXPECT_EQ(helpFilePath(L"C:\\v1.2\\.hidden"), L"C:\\v1.2\\.hidden.chm");
    hueloom::setLanguage(hueloom::Language::English);  // the English help beside it
    EXPECT_EQ(helpFilePath(L"C:\\Tools\\Hueloom.exe"), L"C:\\Tools\\Hueloom.en.chm");
    hueloom::setLanguage(hueloom::Language::Japanese);
}

TEST(ShellPaths, HelpViewerIsHhInTheWindowsFolderWithTheFileQuoted) {
    EXPECT_EQ(helpViewerPath(L"C:\\WINDOWS"), L"C:\\WINDOWS\\hh.exe");
    EXPECT_EQ(helpViewerPath(L"C:\\"), L"C:\\hh.exe");
    EXPECT_EQ(helpViewerArguments(L"C:\\Program Files\\Hueloom\\Hueloom.chm"),
              L"\"C:\\Program Files\\Hueloom\\Hueloom.chm\"");
}

TEST(ShellTexts, MissingHelpMessageAndMailUrl) {
    EXPECT_EQ(helpMissingMessage(L"C:\\Tools\\Hueloom.chm"), L"C:\\Tools\\Hueloom.chmが見つかりません。");
    EXPECT_EQ(mailtoUrl(L"a@b.example"), L"mailto:a@b.example");
    EXPECT_EQ(mailtoUrl(kSupportMail).rfind(L"mailto:", 0), 0u);
    EXPECT_NE(std::wstring(kSupportMail).find(L'@'), std::wstring::npos);
    EXPECT_EQ(std::wstring(kSupportUrl).rfind(L"http://", 0), 0u);
}

}  // namespace
