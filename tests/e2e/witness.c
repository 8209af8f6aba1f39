/* A program of the tests' own, the "other program" of the capture tests:
       witness.exe X Y W H
   shows a borderless W × H window at (X, Y) whose pixel (x, y) is
   RGB(x mod 256, y mod 256, 99), so every pixel of a capture of it is known.
   It becomes the active program at start and again when it is clicked, and
   writes each key press it receives to witness.log in its folder as
   "down VK SCAN" or "sysdown VK SCAN" (hexadecimal). It ends after two
   minutes. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static int width, height;

static void note_key(UINT msg, WPARAM wp, LPARAM lp) {
    FILE* f = fopen("witness.log", "a");
    if (!f) return;
    fprintf(f, "%s %02x %02x\n", msg == WM_SYSKEYDOWN ? "sysdown" : "down", (unsigned)wp,
            (unsigned)((lp >> 16) & 0xff));
    fclose(f);
}

static void paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    unsigned char* px = malloc((size_t)width * height * 4);
    if (px) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                unsigned char* p = px + ((size_t)y * width + x) * 4;
                p[0] = 99, p[1] = (unsigned char)y, p[2] = (unsigned char)x, p[3] = 0;
            }
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, px, &bi, DIB_RGB_COLORS);
        free(px);
    }
    EndPaint(w, &ps);
}

static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: paint(w); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: note_key(msg, wp, lp); break;
    case WM_LBUTTONDOWN: SetForegroundWindow(w); return 0;
    case WM_TIMER:
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
    int x = 0, y = 0;
    (void)previous, (void)show;
    if (sscanf(command, "%d %d %d %d", &x, &y, &width, &height) != 4 || width <= 0 || height <= 0) return 2;
    WNDCLASSA wc = {0};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = "HueloomWitness";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "hueloom-witness", WS_POPUP, x, y, width, height, NULL, NULL,
                             instance, NULL);
    if (!w) return 1;
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    SetForegroundWindow(w);
    SetTimer(w, 1, 120000, NULL);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
