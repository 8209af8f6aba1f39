// The main window's command table: every command has one menu entry and a
// name of its own.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "main/commands.h"

using namespace hueloom::app;

namespace {

TEST(Commands, EveryCommandHasExactlyOneEntry) {
    std::map<Command, int> seen;
    for (const MenuEntry& e : menuTable())
        if (e.command != Command::None) ++seen[e.command];
    for (int c = static_cast<int>(Command::None) + 1; c <= static_cast<int>(Command::IroCopy); ++c)
        EXPECT_EQ(seen[static_cast<Command>(c)], 1) << "command " << c;
}

TEST(Commands, NamesAreDistinctAndTheTwinsFollowThem) {
    std::set<std::wstring> names;
    for (const MenuEntry& e : menuTable()) {
        if (e.command == Command::None) {
            EXPECT_EQ(menuCaption(e, false), L"-");
            EXPECT_EQ(commandName(e.command), L"");
            continue;
        }
        const std::wstring name = commandName(e.command);
        EXPECT_EQ(name.rfind(L"mnu", 0), 0u);
        EXPECT_GT(name.size(), 3u);
        EXPECT_EQ(popupName(e.command), L"p" + name);
        EXPECT_TRUE(names.insert(name).second) << "twice: " << std::string(name.begin(), name.end());
    }
    EXPECT_EQ(commandName(Command::V10), L"mnuV10");
    EXPECT_EQ(popupName(Command::HookHotKey), L"pmnuHookHotKey");
}

TEST(Commands, EachLevelHangsBelowTheOneBefore) {
    int previous = 0;
    for (const MenuEntry& e : menuTable()) {
        EXPECT_LE(e.level, previous + 1);
        EXPECT_GE(e.level, 0);
        EXPECT_LE(e.level, 2);
        previous = e.level;
    }
    EXPECT_EQ(menuTable().front().command, Command::File);
}

TEST(Commands, EveryValueFormatHasItsShowAndCopyItemAndBack) {
    std::set<Command> shown, copied;
    for (const hueloom::ColourFormatName& n : hueloom::colourFormatNames()) {
        const Command s = shownFormatCommand(n.format), c = copyFormatCommand(n.format);
        EXPECT_EQ(shownFormatOf(s), n.format) << n.iniName;
        EXPECT_EQ(copyFormatOf(c), n.format) << n.iniName;
        EXPECT_FALSE(shownFormatOf(c)) << n.iniName;
        shown.insert(s);
        copied.insert(c);
    }
    EXPECT_EQ(shown.size(), hueloom::colourFormatNames().size());
    EXPECT_EQ(copied.size(), hueloom::colourFormatNames().size());
    EXPECT_EQ(shownFormatCommand(hueloom::ColourFormat::Decimal), Command::V10);
    EXPECT_EQ(shownFormatCommand(hueloom::ColourFormat::Hexadecimal), Command::V16);
    EXPECT_EQ(copyFormatCommand(std::nullopt), Command::CopySame);
    EXPECT_FALSE(copyFormatOf(Command::CopySame));
    // Each group is one radio group in the menu table: the shown formats are
    // items of the Show menu, the copy formats of its copy submenu.
    for (const MenuEntry& e : menuTable()) {
        if (shown.count(e.command)) EXPECT_TRUE(e.radio && e.level == 1);
        if (copied.count(e.command) || e.command == Command::CopySame) EXPECT_TRUE(e.radio && e.level == 2);
    }
}

}  // namespace
