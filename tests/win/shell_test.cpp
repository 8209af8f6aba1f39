// Shell integration under Wine: shortcut files really written and read back
// through IShellLink, the special folders, and the help / homepage / mail
// commands with the shell calls observed instead of opening programs.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "toolkit/application_win.h"
#include "shell/shell.h"
#include "shell/shell_win.h"

namespace shell = hueloom::shell;
namespace fs = std::filesystem;

namespace {

std::wstring tempRoot() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return tmp;
}

std::vector<std::wstring> filesIn(const fs::path& dir) {
    std::vector<std::wstring> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().wstring());
    return out;
}

// Two fresh folders standing in for the desktop and the Start menu's
// programs; the shell calls are recorded, never carried out.
struct ShellFixture : ::testing::Test {
    fs::path root, desktop, programs;
    std::vector<std::wstring> opened, helped, messages;
    std::vector<int> foldersAsked;
    shell::ShellCalls saved;

    void SetUp() override {
        root = fs::path(tempRoot()) / (L"hueloom-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-ショートカット");
        fs::remove_all(root);
        desktop = root / L"Desktop";
        programs = root / L"Programs";
        fs::create_directories(desktop);
        fs::create_directories(programs);
        saved = shell::shellCalls();
        shell::ShellCalls& c = shell::shellCalls();
        c.shellOpen = [this](const std::wstring& t) { opened.push_back(t); };
        c.showHelp = [this](const std::wstring& f) { helped.push_back(f); };
        c.messageBox = [this](const std::wstring& t) { messages.push_back(t); };
        c.specialFolder = [this](HWND, int id) -> std::wstring {
            foldersAsked.push_back(id);
            return id == shell::kCsidlDesktop    ? desktop.wstring()
                   : id == shell::kCsidlPrograms ? programs.wstring()
                                                 : L"";
        };
    }
    void TearDown() override {
        shell::shellCalls() = saved;
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

TEST(ShellFolders, DesktopAndProgramsAreExistingFolders) {
    for (int id : {shell::kCsidlDesktop, shell::kCsidlPrograms}) {
        const std::wstring p = shell::GetSpecialFolderPath(nullptr, id);
        ASSERT_FALSE(p.empty()) << id;
        EXPECT_EQ(p[1], L':') << id;  // a full path
        const DWORD a = GetFileAttributesW(p.c_str());
        EXPECT_NE(a, INVALID_FILE_ATTRIBUTES) << id;
        EXPECT_TRUE(a & FILE_ATTRIBUTE_DIRECTORY) << id;
    }
    EXPECT_NE(shell::GetSpecialFolderPath(nullptr, shell::kCsidlDesktop),
              shell::GetSpecialFolderPath(nullptr, shell::kCsidlPrograms));
    // A folder id the shell does not know gives no path.
    EXPECT_TRUE(shell::GetSpecialFolderPath(nullptr, 0x7F).empty());
}

TEST_F(ShellFixture, DesktopTwiceLeavesOneShortcutToTheProgram) {
    shell::CreateShortcut(nullptr, shell::kShortcutName, "DESKTOP");
    shell::CreateShortcut(nullptr, shell::kShortcutName, "DESKTOP");
    EXPECT_EQ(foldersAsked, (std::vector<int>{0, 0}));
    EXPECT_EQ(filesIn(desktop), (std::vector<std::wstring>{L"Hueloom 1.0A4.lnk"}));
    EXPECT_TRUE(filesIn(programs).empty());

    const shell::ShortcutInfo info = shell::ReadShortcut((desktop / L"Hueloom 1.0A4.lnk").wstring());
    const std::wstring program = tk::modulePath();
    EXPECT_EQ(_wcsicmp(info.path.c_str(), program.c_str()), 0) << tk::narrow(info.path, CP_UTF8);
    EXPECT_EQ(_wcsicmp(info.workingDirectory.c_str(), hueloom::directoryWithSeparator(program).c_str()), 0)
        << tk::narrow(info.workingDirectory, CP_UTF8);
    EXPECT_TRUE(info.arguments.empty());
    EXPECT_TRUE(info.description.empty());
}

TEST_F(ShellFixture, ProgramsGoesToTheStartMenuAndUnknownKeywordsWriteNothing) {
    shell::CreateShortcut(nullptr, shell::kShortcutName, "PROGRAMS");
    EXPECT_EQ(foldersAsked, (std::vector<int>{2}));
    EXPECT_EQ(filesIn(programs), (std::vector<std::wstring>{L"Hueloom 1.0A4.lnk"}));
    EXPECT_TRUE(filesIn(desktop).empty());

    shell::CreateShortcut(nullptr, shell::kShortcutName, "desktop");
    shell::CreateShortcut(nullptr, shell::kShortcutName, "");
    EXPECT_EQ(foldersAsked.size(), 1u);
    EXPECT_TRUE(filesIn(desktop).empty());
}

TEST_F(ShellFixture, AnExistingFileOfThatNameIsReplaced) {
    const fs::path link = desktop / L"Hueloom 1.0A4.lnk";
    { std::ofstream(link, std::ios::binary) << "not a shortcut at all"; }
    shell::CreateShortcut(nullptr, shell::kShortcutName, "DESKTOP");
    EXPECT_EQ(_wcsicmp(shell::ReadShortcut(link.wstring()).path.c_str(), tk::modulePath().c_str()), 0);
}

TEST_F(ShellFixture, SavedShortcutsKeepJapanesePathsAndReportFailures) {
    const fs::path target = root / L"色ツール" / L"Hueloom.exe";
    fs::create_directories(target.parent_path());
    { std::ofstream(target, std::ios::binary) << "MZ"; }
    const std::wstring link = (desktop / L"テスト.lnk").wstring();
    shell::SaveShortcut(link, target.wstring(), target.parent_path().wstring() + L"\\");
    const shell::ShortcutInfo info = shell::ReadShortcut(link);
    EXPECT_EQ(info.path, target.wstring());
    EXPECT_EQ(info.workingDirectory, target.parent_path().wstring() + L"\\");

    // A folder that does not exist: an error, no silent success.
    EXPECT_THROW(shell::SaveShortcut((root / L"missing" / L"x.lnk").wstring(), target.wstring(), L"C:\\"),
                 std::runtime_error);
    EXPECT_THROW(shell::ReadShortcut((root / L"missing.lnk").wstring()), std::runtime_error);
}

TEST_F(ShellFixture, AFolderTheShellCannotNameIsAnErrorNotTheDriveRoot) {
    shell::shellCalls().specialFolder = [](HWND, int) { return std::wstring(); };
    EXPECT_THROW(shell::CreateShortcut(nullptr, shell::kShortcutName, "DESKTOP"), std::runtime_error);
    EXPECT_TRUE(filesIn(desktop).empty());
}

TEST_F(ShellFixture, HelpShowsTheFileOrSaysItIsMissing) {
    const fs::path chm = root / L"Hueloom.chm";
    shell::OpenHelpFile(chm.wstring());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], chm.wstring() + L"が見つかりません。");
    EXPECT_TRUE(helped.empty());

    // A folder of that name is no help file either.
    fs::create_directories(root / L"Folder.chm");
    shell::OpenHelpFile((root / L"Folder.chm").wstring());
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(helped.empty());

    { std::ofstream(chm, std::ios::binary) << "ITSF"; }
    shell::OpenHelpFile(chm.wstring());
    EXPECT_EQ(helped, (std::vector<std::wstring>{chm.wstring()}));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(opened.empty());
}

TEST_F(ShellFixture, HomepageAndMailOpenTheirUrlsThroughTheShell) {
    shell::OpenSupportHomepage();
    shell::MailToAuthor();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], shell::kSupportUrl);
    EXPECT_EQ(opened[1], std::wstring(L"mailto:") + shell::kSupportMail);
    EXPECT_TRUE(messages.empty());
}

TEST(ShellCallsDefaults, RealCallsAreInPlace) {
    const shell::ShellCalls c = shell::defaultShellCalls();
    EXPECT_TRUE(c.shellOpen && c.showHelp && c.messageBox && c.specialFolder);
}
