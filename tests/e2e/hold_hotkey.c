/* A program of the tests' own: it holds Shift+Ctrl+C as a system-wide hot
   key, as another program might, for two minutes or until it is ended. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
    MSG msg;
    (void)instance, (void)previous, (void)command, (void)show;
    if (!RegisterHotKey(NULL, 1, MOD_SHIFT | MOD_CONTROL, 'C')) return 1;
    SetTimer(NULL, 0, 120000, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        if (msg.message == WM_TIMER) break;
    UnregisterHotKey(NULL, 1);
    return 0;
}
