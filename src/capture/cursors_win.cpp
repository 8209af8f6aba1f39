#include "capture/cursors_win.h"

#include "toolkit/application_win.h"

namespace hueloom::capture {

namespace {

struct Entry {
    const wchar_t* name;
    const wchar_t* system;  // IDC_* of a system cursor, or nullptr
    int resource;  // our own cursor resource otherwise
};

const Entry kCursors[kCursorCount] = {
    {L"crArrow", IDC_ARROW, 0},          {L"crCross", IDC_CROSS, 0},
    {L"crIBeam", IDC_IBEAM, 0},          {L"crSizeNESW", IDC_SIZENESW, 0},
    {L"crSizeNS", IDC_SIZENS, 0},        {L"crSizeNWSE", IDC_SIZENWSE, 0},
    {L"crSizeWE", IDC_SIZEWE, 0},        {L"crUpArrow", IDC_UPARROW, 0},
    {L"crHourGlass", IDC_WAIT, 0},       {L"crDrag", nullptr, 32766},
    {L"crNoDrop", nullptr, 32767},       {L"crHSplit", nullptr, 32765},
    {L"crVSplit", nullptr, 32764},       {L"crMultiDrag", nullptr, 32763},
    {L"crSQLWait", nullptr, 32762},      {L"crNo", IDC_NO, 0},
    {L"crAppStart", IDC_APPSTARTING, 0}, {L"crHelp", IDC_HELP, 0},
    {L"crHandPoint", nullptr, 32761},    {L"crSizeAll", IDC_SIZEALL, 0},
};

HCURSOR fileCursor_ = nullptr;

}  // namespace

const wchar_t* cursorName(int index) {
    if (index < 0 || index >= kCursorCount) return L"";
    return kCursors[index].name;
}

HCURSOR cursorForIndex(int index) {
    if (index < 0 || index >= kCursorCount) return LoadCursorW(nullptr, IDC_ARROW);
    const Entry& e = kCursors[index];
    if (e.system) return LoadCursorW(nullptr, e.system);
    HCURSOR c = LoadCursorW(tk::app().hinstance(), MAKEINTRESOURCEW(e.resource));
    return c ? c : LoadCursorW(nullptr, IDC_ARROW);
}

HCURSOR loadFileCursor(const std::wstring& path) {
    if (fileCursor_) DestroyCursor(fileCursor_);
    fileCursor_ = LoadCursorFromFileW(path.c_str());
    return fileCursor_;
}

HCURSOR fileCursor() { return fileCursor_; }

}  // namespace hueloom::capture
