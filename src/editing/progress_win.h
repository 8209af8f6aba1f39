// TfrmProgress: the small elliptical window that shows the advance of an
// image command (invert, grayscale, reduction to 256 colours).
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/controls/label_win.h"
#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"

namespace hueloom::editing {

class TfrmProgress : public tk::Dialog {
public:
    // Creates the window centred on `owner`, shows it (not modal) with the
    // title and "0 %", and paints it at once.
    bool create(HWND owner, const std::wstring& title);
    // Percentage 0..100: label and bar; painted, and pending messages
    // processed so every window repaints, at most every kPaintEveryMs.
    void setProgress(int percent);
    int progress() const { return percent_; }
    std::wstring title() const { return Label2.caption(); }

    tk::Label Label2, Label1;

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void FormPaint(HDC dc) override;
    void buildShape() override;

private:
    HWND panel_ = nullptr, bar_ = nullptr;
    tk::Font font_, labelFont_;
    int percent_ = 0;
    static constexpr ULONGLONG kPaintEveryMs = 50;
    ULONGLONG lastPaint_ = 0;
};

}  // namespace hueloom::editing
