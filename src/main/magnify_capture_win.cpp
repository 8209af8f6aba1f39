// Capture commands: the whole screen, the active window, a rectangle chosen
// on a frozen copy of the screen. Each hides the program, waits SleepTime,
// grabs the pixels (optionally with the pointer's cursor) and makes them the
// working image in the image layout.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "main/magnify_win.h"
#include "capture/cursors_win.h"
#include "capture/rect_overlay_win.h"
#include "capture/selection.h"
#include "image/bmp.h"
#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/application_win.h"
#include "dialogs/infobox/info_box_win.h"

using hueloom::image::Dib;

namespace {

const wchar_t* const kCaptureInfo =
    L"キャプチャ時に、カーソルも取り込むことができます。\r\n"
    L"【ツール／設定】で設定して下さい。\r\n"
    L"\r\n"
    L"また、取り込んだ画像に、カーソルを合成できます。\r\n"
    L"[Shift]キーを押しながら、好きな場所をクリックして下さい。\r\n"
    L"合成可能なカーソルは、【ツール／設定】で変更可能です。\r\n"
    L"合成可能なカーソルは、カーソル・ファイルより読み込むことも可能です。\r\n"
    L"\r\n"
    L"256色に減色などの画像処理も可能です。\r\n"
    L"\r\n"
    L"合成カーソルを消すなど、一つ前の状態に戻せます。[Ctrl + Z]を押下して下さい。\r\n"
    L"\r\n"
    L"現在，拡大鏡＆色の取得を停止中です。\r\n"
    L"表示(V)－拡大鏡モード(K)で元の状態に戻ります。";

}  // namespace

void TfrmMagnify::mnuScreenCaptureClick() {
    DoCapture(CaptureKind::Screen);
    setText(L"スクリーン・キャプチャ");
}

void TfrmMagnify::mnuWindowCaptureClick() {
    DoCapture(CaptureKind::Window);
    setText(L"アクティブウインドウ・キャプチャ");
}

HCURSOR TfrmMagnify::GetPointerCursor() {
    POINT p;
    GetCursorPos(&p);
    HWND w = WindowFromPoint(p);
    DWORD thread = GetWindowThreadProcessId(w, nullptr);
    DWORD self = GetCurrentThreadId();
    if (thread == self) return nullptr;  // our own windows: no cursor drawn
    if (thread && AttachThreadInput(self, thread, TRUE)) {
        HCURSOR c = GetCursor();
        AttachThreadInput(self, thread, FALSE);
        return c;
    }
    return GetCursor();
}

Dib TfrmMagnify::GrabWindow(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int w = std::max(0L, r.right - r.left), h = std::max(0L, r.bottom - r.top);
    if (w == 0 || h == 0) return Dib();
    tk::DibSection section(w, h, 32);
    if (!section) throw hueloom::image::ImageError(hueloom::image::outOfMemoryMessage(w, h));
    {
        tk::WindowDC src(window, tk::WindowDC::Whole);
        tk::MemoryDC mem(src);
        tk::Select sel(mem, section.handle());
        BitBlt(mem, 0, 0, w, h, src, 0, 0, SRCCOPY | CAPTUREBLT);
        if (settings.flgCursorCapture) {
            POINT p;
            GetCursorPos(&p);
            if (PtInRect(&r, p)) {
                if (HCURSOR c = GetPointerCursor()) {
                    ICONINFO ii{};
                    if (GetIconInfo(c, &ii)) {
                        // GetIconInfo hands us copies of the cursor's bitmaps.
                        tk::Bitmap mask(ii.hbmMask), colour(ii.hbmColor);
                        DrawIconEx(mem, p.x - r.left - static_cast<int>(ii.xHotspot),
                                   p.y - r.top - static_cast<int>(ii.yHotspot), c, 32, 32, 0, nullptr, DI_NORMAL);
                    }
                }
            }
        }
        GdiFlush();
    }
    // Top-down section rows → the Dib (bottom-up storage, rows by scanLine).
    Dib dib(w, h, 32);
    for (int y = 0; y < h; ++y) std::memcpy(dib.scanLine(y), section.row(y), dib.rowBytes());
    return dib;
}

void TfrmMagnify::DoCapture(CaptureKind kind) {
    if (overlayOpen_) return;
    colourListMode_ = false;
    StopMagnifier();

    // Hide the program and give the other windows time to repaint.
    tk::app().showTaskbarButton(false);
    ShowWindow(hwnd_, SW_HIDE);
    tk::app().processMessages();
    // A negative delay (the options accept any integer) waits not at all.
    Sleep(static_cast<DWORD>(std::max(0, settings.SleepTime)));

    Dib image;
    struct ShowAgain {
        TfrmMagnify* self;
        ~ShowAgain() {
            tk::app().showTaskbarButton(true);
            ShowWindow(self->hwnd(), SW_SHOW);
        }
    };
    {
        ShowAgain showAgain{this};
        switch (kind) {
        case CaptureKind::Screen: image = GrabWindow(GetDesktopWindow()); break;
        case CaptureKind::Window: image = GrabWindow(GetForegroundWindow()); break;
        case CaptureKind::Rectangle: image = captureRectangle(); break;
        }
        setWorkingImage(std::move(image));
        ForgetUndo();
    }

    if (!settings.Msg_ID[1]) {
        RECT r = bounds();
        settings.Msg_ID[1] = ShowInfoBox(L"情報！", kCaptureInfo, r.right, r.top, true, settings.ActiveColor);
    }
    if (isChecked(Command::TOPMOST)) mnuTOPMOSTClick();
    if (isChecked(Command::HookHotKey)) mnuHookHotKeyClick();
}

void TfrmMagnify::mnuRectCaptureClick() {
    if (RectCaptureBusy || savePictureDialogOpen) return;
    tk::app().setTitle(L"Hueloom");
    RECT r = bounds();
    ShowRectCaptureInstructions(settings, r.right, r.top);
    DoCapture(CaptureKind::Rectangle);
    setText(L"矩形領域キャプチャ");
}

Dib TfrmMagnify::captureRectangle() {
    RectCaptureBusy = true;
    struct Done {
        TfrmMagnify* f;
        ~Done() {
            f->RectCaptureBusy = false;
            f->overlayOpen_ = false;
        }
    } done{this};
    // The frozen copy includes the cursor when flgCursorCapture is on.
    Dib screen = GrabWindow(GetDesktopWindow());
    overlayOpen_ = true;
    std::optional<RECT> sel = SelectRectangle(screen, settings);
    if (!sel) return Dib();
    return hueloom::capture::cutRect(screen, {sel->left, sel->top, sel->right, sel->bottom});
}

// ------------------------------------------------------------------ cursors

void TfrmMagnify::applyCaptureCursor() { Image1.setCursor(hueloom::capture::cursorForIndex(settings.CaptureCursor)); }

void TfrmMagnify::mnuLoadCursorClick() {
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{sizeof(ofn)};
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"カーソル(*.cur;*.ani)\0*.cur;*.ani\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = L"cur";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return;
    // A file that is no cursor leaves the slot empty: the arrow shows.
    Image1.setCursor(hueloom::capture::loadFileCursor(file));
}

void TfrmMagnify::Image1MouseDown(int, int x, int y, WPARAM keys) {
    if (busy()) return;
    HCURSOR c = GetCursor();
    if ((keys & MK_SHIFT) && c) {
        ICONINFO ii{};
        POINT hot{0, 0};
        if (GetIconInfo(c, &ii)) {
            tk::Bitmap mask(ii.hbmMask), colour(ii.hbmColor);  // copies made for us
            hot = {static_cast<LONG>(ii.xHotspot), static_cast<LONG>(ii.yHotspot)};
        }
        if (hasWorkingImage()) {
            TakeSnapshot();
            tk::Bitmap bmp = hueloom::image::createBitmap(workingImage_);
            {
                tk::MemoryDC mem;
                tk::Select sel(mem, bmp);
                DrawIconEx(mem, x - hot.x, y - hot.y, c, 32, 32, 0, nullptr, DI_NORMAL);
                GdiFlush();
            }
            setWorkingImage(hueloom::image::dibFromBitmap(bmp));
        } else if (HBITMAP view = Image1.picture()) {
            // The magnifier's view: snapshot it and draw; the next sampling
            // step draws over it again.
            hueloom::image::saveBmp(hueloom::image::dibFromBitmap(view), std::filesystem::path(undoPath()));
            UndoAvailable = true;
            tk::MemoryDC mem;
            tk::Select sel(mem, view);
            DrawIconEx(mem, x - hot.x, y - hot.y, c, 32, 32, 0, nullptr, DI_NORMAL);
        }
    }
    ScrollBox1.invalidate();
    Image1.invalidate();
}
