/* A program of the tests' own: it tells Hueloom's main window that it now
   stands on a monitor of another dpi, as Windows does when the window is
   dragged there: WM_DPICHANGED with the dpi (first argument) and the
   suggested rectangle, the window's own scaled by new dpi / 96. The system
   sends that message from inside the program; from outside, the rectangle
   has to be written into the program's memory first. */
#include <stdlib.h>
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
    HWND main;
    RECT r;
    DWORD pid = 0;
    HANDLE process;
    void* remote;
    int ok = 0, dpi = atoi(command);
    (void)instance, (void)previous, (void)show;
    main = FindWindowW(L"TfrmMagnify", NULL);
    if (!main || dpi <= 0 || !GetWindowRect(main, &r)) return 1;
    r.right = r.left + MulDiv(r.right - r.left, dpi, 96);
    r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, 96);
    GetWindowThreadProcessId(main, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 2;
    remote = VirtualAllocEx(process, NULL, sizeof(r), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote && WriteProcessMemory(process, remote, &r, sizeof(r), NULL)) {
        SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)remote);
        ok = 1;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok ? 0 : 3;
}
