// TfrmVersion: the about window. A borderless, ring-shaped window painted
// with a colour wheel, the program's icon, name and rights line on a card
// in its hole, and the OK button. While it is open a small circle runs round
// the wheel (one segment every 200 ms) and the button takes the colour under
// it; a close request (the button, or any close attempt such as Alt+F4)
// first plays an iris that shrinks the window to nothing in about six
// seconds, then closes it.
//
// The wheel picture travels inside the program as PNG data held by the
// DataBind1 component; while the window exists the picture is also written
// beside the program (program path with ".png"), read back from there and
// deleted when the window closes.
//
// The main window's "バージョン情報(&V)" command calls ShowAboutWindow().
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"
#include "dialogs/about/about.h"
#include "toolkit/controls/cute_button_win.h"

namespace hueloom::dialogs {

class TfrmVersion : public tk::Dialog, public tk::SingleInstance<TfrmVersion> {
public:
    TfrmVersion();
    ~TfrmVersion() override;

    // Creates the window (hidden, centred on the desktop) and its controls,
    // then runs FormCreate. The picture goes to `picturePath`; empty means
    // beside the program. False only when the window cannot be created.
    bool create(const std::wstring& picturePath = {});

    // Events.
    void FormCreate();
    void FormShow() override;
    void FormPaint(HDC dc) override;
    void Timer1Timer();
    void TimerCloseTimer();
    void CuteButton1Click();
    bool FormCloseQuery();
    void FormClose();
    // Gives the window a copy of the region as its shape and repaints.
    void SetWindowShape(HRGN shape);

    // Controls the form paints itself (no windows of their own).
    struct GraphicControl {
        int left = 0, top = 0, width = 0, height = 0;
        bool visible = true;
    };
    struct Image : GraphicControl {
        HICON icon = nullptr;  // shared, not owned
    };
    struct Label : GraphicControl {
        std::wstring caption;
        COLORREF colour = 0;
        HFONT font = nullptr;  // owned by the form
    };
    Image ImgIcon;
    Label Label1, Label2;
    GraphicControl Shape1;
    tk::TCuteButton CuteButton1;
    std::unique_ptr<tk::Timer> Timer1, TimerClose;
    hueloom::dialogs::TDataBind DataBind1;

    // State.
    // The orbit counter k, kept for the whole run of the program.
    static int orbitCounter() { return orbitCounter_; }
    static void setOrbitCounter(int k) { orbitCounter_ = k; }
    int irisStep() const { return irisStep_; }
    bool hasBackground() const { return static_cast<bool>(background_); }
    bool closed() const { return closed_; }
    const std::wstring& picturePath() const { return picturePath_; }
    // The card's frame colour of the last orbit step (none before the first).
    bool cardFramed() const { return framed_; }
    COLORREF cardFrameColour() const { return frameColour_; }
    // The colour of a pixel of the window as it is currently painted.
    COLORREF pixelAt(int x, int y) const;
    // The stored shape (null before the window has been shown).
    HRGN storedRegion() const { return shape_.get(); }

    // Where errors go (the application's error box when empty); tests use it.
    static inline std::function<void(const std::wstring&)> reportError;

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void compose();
    // The canvas, icon, labels and circle at the window's dpi.
    void placeDrawn();
    void FormDpiChanged() override;
    void showError(const std::wstring& text);

    static int orbitCounter_;
    int irisStep_ = 0;
    bool closed_ = false;
    bool framed_ = false;
    COLORREF frameColour_ = 0;
    std::wstring picturePath_;
    tk::Bitmap background_;
    tk::DibSection canvas_;  // what the window shows, composed
    tk::Region shape_;
    tk::Font windowFont_, label1Font_, label2Font_, buttonFont_;
};

// Creates the about window, shows it modally and destroys it. Does nothing
// while one is open already. Returns the modal result.
int ShowAboutWindow();

}  // namespace hueloom::dialogs
