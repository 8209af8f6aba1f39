// The cursor table: the twenty cursors a capture can be stamped with (system
// cursors and seven of our own resources), and slot 100 for a cursor file.
#pragma once
#include <windows.h>

#include <string>

namespace hueloom::capture {

constexpr int kCursorCount = 20;
constexpr int kFileCursorSlot = 100;

// Identifier of list entry i ("crArrow" … "crSizeAll"); empty outside 0–19.
const wchar_t* cursorName(int index);
// The cursor of list entry i; the arrow for an index outside 0–19.
HCURSOR cursorForIndex(int index);

// Slot 100: the cursor last loaded from a file. Loading another destroys the
// previous one. Returns nullptr (and leaves the slot empty) when the file is
// no cursor.
HCURSOR loadFileCursor(const std::wstring& path);
HCURSOR fileCursor();

}  // namespace hueloom::capture
