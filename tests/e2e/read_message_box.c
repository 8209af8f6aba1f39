/* A program of the tests' own: prints, in UTF-8, the text of the first
   visible message box whose title is the argument, as the box shows it.
   Exits 1 when there is none. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static const wchar_t* wanted;
static HWND found;

static BOOL CALLBACK look(HWND w, LPARAM lp) {
    wchar_t cls[16], title[256];
    (void)lp;
    if (!IsWindowVisible(w) || !GetClassNameW(w, cls, 16) || wcscmp(cls, L"#32770") != 0) return TRUE;
    GetWindowTextW(w, title, 256);
    if (wcscmp(title, wanted) != 0) return TRUE;
    found = w;
    return FALSE;
}

int wmain(int argc, wchar_t** argv) {
    wchar_t text[4096];
    char out[16384];
    int n;
    if (argc < 2) return 2;
    wanted = argv[1];
    EnumWindows(look, 0);
    if (!found) return 1;
    GetDlgItemTextW(found, 0xFFFF, text, 4096); /* a message box's text */
    n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, NULL, NULL);
    if (n > 0) fwrite(out, 1, (size_t)(n - 1), stdout);
    return 0;
}
