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
#include "capture/grab_win.h"
#include "capture/rect_overlay_win.h"
#include "capture/selection.h"
#include "image/bmp.h"
#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/trace_win.h"
#include "dialogs/infobox/info_box_win.h"

namespace hueloom::app {

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

void TfrmMagnify::DoCapture(CaptureKind kind) {
    if (overlayOpen_) return;
    colourListMode_ = false;
    StopMagnifier();

    // Hide the program and give the other windows time to repaint.
    tk::app().showTaskbarButton(false);
    ShowWindow(hwnd_, SW_HIDE);
    tk::app().processMessages();
    tk::trace("capture-hidden");
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
        hueloom::Rect area;
        auto grab = [&](HWND window) {
            RECT r{};
            GetWindowRect(window, &r);
            area = {r.left, r.top, r.right, r.bottom};
            return capture::grabWindow(window, settings.flgCursorCapture);
        };
        switch (kind) {
        case CaptureKind::Screen: image = grab(GetDesktopWindow()); break;
        case CaptureKind::Window: image = grab(GetForegroundWindow()); break;
        case CaptureKind::Rectangle: image = captureRectangle(area); break;
        }
        tk::trace("capture-grabbed");
        prepareCapture(image, area);
        setWorkingImage(std::move(image));
        ForgetUndo();
    }

    if (!settings.message(settings::Message::CaptureNote)) {
        RECT r = bounds();
        settings.message(settings::Message::CaptureNote) =
            hueloom::dialogs::ShowInfoBox(L"情報！", kCaptureInfo, r.right, r.top, true, settings.ActiveColor);
    }
    reapplySwitches();
}

void TfrmMagnify::mnuRectCaptureClick() {
    if (RectCaptureBusy || savePictureDialogOpen) return;
    tk::app().setTitle(L"Hueloom");
    RECT r = bounds();
    hueloom::capture::ShowRectCaptureInstructions(settings, r.right, r.top);
    DoCapture(CaptureKind::Rectangle);
    setText(L"矩形領域キャプチャ");
}

Dib TfrmMagnify::captureRectangle(hueloom::Rect& area) {
    RectCaptureBusy = true;
    struct Done {
        TfrmMagnify* f;
        ~Done() {
            f->RectCaptureBusy = false;
            f->overlayOpen_ = false;
        }
    } done{this};
    // The frozen copy covers every monitor and includes the cursor when
    // flgCursorCapture is on; the selection comes back in screen coordinates.
    const hueloom::Rect desktop = tk::virtualScreen();
    Dib screen = capture::grabScreenRect(desktop, settings.flgCursorCapture);
    overlayOpen_ = true;
    std::optional<hueloom::Rect> sel = capture::SelectRectangle(screen, desktop, settings);
    if (!sel) return Dib();
    area = *sel;
    return hueloom::capture::cutRect(screen, hueloom::screenToClient(*sel, desktop));
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

void TfrmMagnify::Image1MouseDown(int button, int x, int y, WPARAM keys) {
    if (busy()) return;
    if (button == MK_LBUTTON && !(keys & MK_SHIFT)) {
        selectionMouseDown(x, y);
        return;
    }
    HCURSOR c = GetCursor();
    if (!(keys & MK_SHIFT) || !c) return;
    if (hasWorkingImage()) {
        TakeSnapshot();
        setWorkingImage(samePicture(capture::stampCursor(workingImage_, c, x, y)));
    } else if (model_.sample() && view_) {
        // The magnifier's view: snapshot it and draw; the next sampling step
        // draws over it again.
        hueloom::image::saveBmp(hueloom::image::dibFromBitmap(view_.handle()), std::filesystem::path(undoPath()));
        UndoAvailable = true;
        capture::stampCursor(view_.handle(), c, x, y);
    }
    ScrollBox1.invalidate();
    Image1.invalidate();
}

}  // namespace hueloom::app
