/* The start-up yardstick of bench/ui_bench.py: the least a Win32 program
 * does to show something - one window class, one window, painted once -
 * built like Hueloom.exe (MinGW-w64, static). With HUELOOM_TRACE set it marks
 * "idle" in the same file format as Hueloom.exe's toolkit, each time its
 * message queue runs empty, so both are timed to the same point. */
#include <windows.h>

#include <stdio.h>

static HANDLE trace_file = INVALID_HANDLE_VALUE;

static void trace(const char* event) {
    LARGE_INTEGER f, c;
    FILETIME ft;
    unsigned long long since1601;
    char line[160];
    int len;
    DWORD written = 0;
    if (trace_file == INVALID_HANDLE_VALUE) return;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    GetSystemTimePreciseAsFileTime(&ft);
    since1601 = ((unsigned long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    len = snprintf(line, sizeof line, "%s %.1f %llu\n", event, (double)c.QuadPart / ((double)f.QuadPart / 1e6),
                   (since1601 - 116444736000000000ULL) / 10);
    if (len > 0) WriteFile(trace_file, line, (DWORD)len, &written, NULL);
}

static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        RECT rc;
        HDC dc = BeginPaint(hwnd, &ps);
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        TextOutW(dc, 10, 10, L"minimal", 7);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE prev, PWSTR cmd, int show) {
    wchar_t path[MAX_PATH * 2];
    WNDCLASSEXW wc;
    HWND hwnd;
    MSG msg;
    DWORD n = GetEnvironmentVariableW(L"HUELOOM_TRACE", path, MAX_PATH * 2);
    (void)prev;
    (void)cmd;
    if (n > 0 && n < MAX_PATH * 2)
        trace_file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    trace("main");
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = L"MinimalWindow";
    if (!RegisterClassExW(&wc)) return 1;
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"minimal window", WS_POPUP, 100, 100, 177, 233, NULL, NULL, inst,
                           NULL);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show == SW_HIDE ? SW_SHOW : show);
    UpdateWindow(hwnd);
    for (;;) {
        if (!PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) trace("idle");
        if (GetMessageW(&msg, NULL, 0, 0) <= 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
