// Paths of the files the program keeps beside itself.
#include <gtest/gtest.h>

#include <string>

#include "core/paths.h"

using namespace hueloom;

namespace {

struct Case {
    const wchar_t* path;
    const wchar_t* folder;  // directoryWithSeparator
    const wchar_t* ini;  // withExtension(path, ".ini")
    const wchar_t* undo;  // fileBeside(path, "Undo.tmp")
};

const Case kCases[] = {
    {L"C:\\Tools\\Hueloom\\Hueloom.exe", L"C:\\Tools\\Hueloom\\", L"C:\\Tools\\Hueloom\\Hueloom.ini",
     L"C:\\Tools\\Hueloom\\Undo.tmp"},
    {L"C:/Tools/Hueloom.exe", L"C:/Tools/", L"C:/Tools/Hueloom.ini", L"C:/Tools/Undo.tmp"},
    {L"C:Hueloom.exe", L"C:", L"C:Hueloom.ini", L"C:Undo.tmp"},
    {L"Hueloom.exe", L"", L"Hueloom.ini", L"Undo.tmp"},
    {L"C:\\ツール\\Hue.loom.EXE", L"C:\\ツール\\", L"C:\\ツール\\Hue.loom.ini", L"C:\\ツール\\Undo.tmp"},
    // A dot in a folder name is no extension, nor is a leading dot.
    {L"C:\\v1.2\\Hueloom", L"C:\\v1.2\\", L"C:\\v1.2\\Hueloom.ini", L"C:\\v1.2\\Undo.tmp"},
    {L"C:\\v1.2\\.hidden", L"C:\\v1.2\\", L"C:\\v1.2\\.hidden.ini", L"C:\\v1.2\\Undo.tmp"},
};

TEST(Paths, FolderExtensionAndFileBeside) {
    for (const Case& c : kCases) {
        const std::wstring path = c.path;
        EXPECT_EQ(directoryWithSeparator(path), c.folder);
        EXPECT_EQ(withExtension(path, L".ini"), c.ini);
        EXPECT_EQ(fileBeside(path, L"Undo.tmp"), c.undo);
    }
}

}  // namespace
