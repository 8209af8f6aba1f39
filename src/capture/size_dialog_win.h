// TfrmFxRectSize: the small oval dialog that asks for the width and height of
// a fixed-size cut-out. Borderless and always on top, centred on the screen,
// dragged by any free spot; Enter moves to the next field (Shift+Enter to the
// previous one) and never presses a button; Escape cancels.
#pragma once
#include <windows.h>

#include <optional>

#include "toolkit/controls/label_win.h"
#include "toolkit/controls/edit_box_win.h"
#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/controls/cute_button_win.h"

namespace hueloom::capture {

class TfrmFxRectSize : public tk::Dialog, public tk::SingleInstance<TfrmFxRectSize> {
public:
    static constexpr int kClientWidth = 341, kClientHeight = 170;
    static constexpr COLORREF kBackground = RGB(204, 255, 204);

    // Creates the window (hidden, centred) owned by `owner`, framed in
    // `frameColor` (a colour value of the settings file, the ActiveColor).
    bool create(HWND owner, unsigned frameColor);

    // Events.
    void buildShape() override;
    void FormShow() override;
    void FormPaint(HDC dc) override;
    void OKBtnClick();
    bool FormKeyDown(WORD vk);

    // The size typed, valid after the dialog ended with OK.
    int fixedWidth() const { return width_; }
    int fixedHeight() const { return height_; }

    tk::Label lblTitle, lblWidth, lblHeight;
    tk::EditBox Edit1, Edit2;
    tk::TCuteButton OKBtn, CancelBtn;

    bool dialogKey(WORD vk, WORD shortcut) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void moveFocus(bool backwards);

    unsigned frameColor_ = 0xFFFF00;
    int width_ = -1, height_ = -1;
    tk::Font titleFont_, fieldFont_, buttonFont_;
};

// Shows the dialog modally, both fields empty. Returns the size when it ends
// with OK and both fields hold whole numbers from 1 up; nothing when it is
// cancelled (Cancel, Escape, closed) or a field holds anything else.
std::optional<SIZE> AskFixedSize(HWND owner, unsigned frameColor);

}  // namespace hueloom::capture
