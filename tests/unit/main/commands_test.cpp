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
            EXPECT_EQ(std::wstring(e.caption), L"-");
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

}  // namespace
