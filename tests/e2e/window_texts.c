/* A program of the tests' own that reads what other programs' windows say:
       window_texts.exe
   prints, for every top-level window and each of its child windows, a line
   "CLASS<TAB>TEXT" (UTF-8, line breaks written as \r and \n) for the
   windows whose text is not empty. The text comes by WM_GETTEXT, which the
   system carries across processes (a tooltip answers with the tip it showed
   last). */
#include <stdio.h>
#include <windows.h>

static void print_window(HWND w) {
    wchar_t cls[128], text[1024], shown[2048];
    char ucls[512], utext[8192];
    if (!GetClassNameW(w, cls, 128)) return;
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &n) || n == 0) return;
    text[n < 1024 ? n : 1023] = 0;
    size_t k = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\r' || *p == L'\n') {
            shown[k++] = L'\\';
            shown[k++] = *p == L'\r' ? L'r' : L'n';
        } else {
            shown[k++] = *p;
        }
    }
    shown[k] = 0;
    WideCharToMultiByte(CP_UTF8, 0, cls, -1, ucls, sizeof ucls, NULL, NULL);
    WideCharToMultiByte(CP_UTF8, 0, shown, -1, utext, sizeof utext, NULL, NULL);
    printf("%s\t%s\n", ucls, utext);
}

static BOOL CALLBACK child(HWND w, LPARAM lp) {
    (void)lp;
    print_window(w);
    return TRUE;
}

static BOOL CALLBACK top(HWND w, LPARAM lp) {
    print_window(w);
    EnumChildWindows(w, child, lp);
    return TRUE;
}

int main(void) {
    EnumWindows(top, 0);
    fflush(stdout);
    return 0;
}
