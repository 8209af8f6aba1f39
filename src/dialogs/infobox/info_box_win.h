// TfrmMyDlg, the program's own message box, and ShowInfoBox, which shows it.
//
// A borderless, always-on-top box with a rounded shape framed in the active
// frame colour, a red title, a multi-line text, an optional "今後表示しない"
// check box and an "OK" button. It sizes itself to its text, goes beside the
// main window (flush with the screen's edges) or stays centred, can be
// dragged by any point that is not a control, and is shown modally. At most
// one box exists at a time.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/controls/check_box_win.h"
#include "toolkit/controls/label_win.h"
#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/controls/cute_button_win.h"
#include "dialogs/infobox/info_box.h"

namespace hueloom::dialogs {

// Frame colour used when the caller passes none: the default ActiveColor.
inline constexpr unsigned kInfoBoxDefaultFrameColor = 0xFFFF00;

class TfrmMyDlg : public tk::Dialog, public tk::SingleInstance<TfrmMyDlg> {
public:
    // Creates the window and its controls (hidden, centred).
    bool create();

    // Puts the texts in, shows or hides the check box, sizes and lays out
    // the box, and stores the target position (negative = stay centred).
    void prepare(const std::wstring& title, const std::wstring& text, int x, int y, bool showCheckBox);
    const hueloom::dialogs::InfoBoxLayout& boxLayout() const { return layout_; }

    // Frame colour: a colour value of the settings file (may be a system colour).
    void setFrameColor(unsigned value);
    unsigned frameColor() const { return frameColor_; }

    // Events.
    void FormShow() override;
    void FormActivate() override;
    void FormPaint(HDC dc) override;
    void OKBtnClick();

    tk::Label lblTitle, Label1, Label2;
    tk::Label lblContent;  // the message: several lines over the box's background
    tk::CheckBox CheckBox1;
    tk::TCuteButton OKBtn;
    int targetX = 0, targetY = 0;

    bool dialogKey(WORD vk, WORD shortcut) override;

private:
    // Sizes the labels to their texts and places the controls for the dpi.
    void arrange();
    void buildShape() override;
    void FormDpiChanged() override;
    hueloom::dialogs::InfoBoxLayout layout_;
    unsigned frameColor_ = kInfoBoxDefaultFrameColor;
    tk::Font windowFont_, titleFont_, contentFont_, buttonFont_;
    tk::Brush background_;
};

// Shows the box modally with `title` and `text`, beside (x, y) or centred
// when either is negative, with or without the "今後表示しない" check box,
// framed in `frameColor` (the running ActiveColor). Returns whether the box
// was ticked when it closed; returns false at once, showing nothing, while
// another box is open.
bool ShowInfoBox(const std::wstring& Title, const std::wstring& Text, int X, int Y, bool ShowCheckBox,
                 unsigned frameColor = kInfoBoxDefaultFrameColor);

}  // namespace hueloom::dialogs
