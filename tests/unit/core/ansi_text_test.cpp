// Case folding and folder names on ANSI (Shift-JIS) text.
#include <gtest/gtest.h>

#include <string>

#include "core/ansi_text.h"
#include "support/cases.h"

using namespace hueloom;

namespace {

TEST(AnsiText, CaseFoldingLeavesDoubleByteCharactersAlone) {
    EXPECT_TRUE(equalsIgnoreCase("Window", "WINDOW"));
    EXPECT_FALSE(equalsIgnoreCase("Window", "Windows"));
    // 0x82 0x60 and 0x82 0x80 are different characters whose trail bytes differ
    // like 'A'/'a' would if folded byte-wise (0x41/0x61): use 0x82 0x41 / 0x82 0x61.
    EXPECT_FALSE(equalsIgnoreCase("\x82\x41", "\x82\x61"));
    EXPECT_TRUE(equalsIgnoreCase("\x82\x41x", "\x82\x41X"));
    EXPECT_TRUE(startsWithIgnoreCase("SHIFT+C", "Shift+"));
    EXPECT_FALSE(startsWithIgnoreCase("Shif", "Shift+"));
}

TEST(AnsiText, FolderOfKeepsRootsAndSkipsTrailBytes) {
    expectEach<const char*, std::string>(
        [](const char* path) { return folderOf(path); },
        {
            {"C:\\Tools\\Hueloom.exe", "C:\\Tools"},
            {"C:\\Hueloom.exe", "C:\\"},
            {"D:\\memo\\a.txt", "D:\\memo"},
            {"\\\\server\\share\\Hueloom.exe", "\\\\server\\share"},
            {"\\Hueloom.exe", "\\"},
            {"C:Hueloom.exe", "C:"},
            {"Untitled.txt", ""},
            {"", ""},
            // "ソ" is 0x83 0x5C and "表" is 0x95 0x5C: their second byte is not a separator.
            {"C:\\\x83\x5C\x83\x74\x83\x67\\Hueloom.exe", "C:\\\x83\x5C\x83\x74\x83\x67"},
            {"C:\\\x95\x5C\\x.exe", "C:\\\x95\x5C"},
            {"C:\\dir\\\x95\x5C.txt", "C:\\dir"},
            {"\x95\x5C.txt", ""},
        });
}

}  // namespace
