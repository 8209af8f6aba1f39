// TfrmVirtualDesktop: the rectangle-capture overlay. A borderless, always-on-
// top window over the whole virtual desktop (every monitor, also those left
// of or above the primary one) that shows a frozen copy of it and lets the
// user select a rectangle on it: drawn with the mouse, moved and
// resized by its edges and corners or with the arrow keys (Shift: by 10, Ctrl:
// resize), or of a fixed size chosen from the right-click menu. Outside a
// dropped rectangle the frozen screen is tinted with the mask colour; a label
// beside it tells its size and corners. Enter or "切抜き実行" closes it, and so
// does any other way of closing: the caller then cuts the selection out of
// the frozen screen. Escape does nothing; Ctrl+Z starts over.
//
// The selection logic is Selection; this window feeds it
// the messages and shows what it asks for. It works in client coordinates,
// which are screen coordinates less the desktop's top-left corner; the size
// label and the result are in screen coordinates.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "capture/selection.h"
#include "capture/size_label_win.h"
#include "image/dib.h"
#include "settings/settings.h"
#include "toolkit/controls/control_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/menu_win.h"

namespace hueloom::capture {

class TfrmVirtualDesktop : public tk::Form {
public:
    using Rect = hueloom::Rect;
    using MouseButton = hueloom::MouseButton;

    TfrmVirtualDesktop();
    ~TfrmVirtualDesktop() override;
    // The overlay that exists right now, if any (at most one at a time).
    static TfrmVirtualDesktop* current() { return current_; }

    // Creates the hidden window over `desktop` (screen coordinates; the
    // first form takes the system's virtual desktop), with the cross cursor
    // and free size chosen (FormCreate).
    bool create();
    bool create(const hueloom::Rect& desktop);
    // The grabbed desktop, shown from the window's top-left corner; beyond it
    // the overlay is black.
    void setFrozenScreen(const hueloom::image::Dib& screen);
    // Colour values of the settings file: MaskColor tints outside the
    // selection, ActiveColor frames the size dialog.
    void setMaskColor(unsigned value);
    void setFrameColor(unsigned value) { frameColor_ = value; }

    // The selection in client coordinates, the same in screen coordinates,
    // its state.
    const hueloom::Rect& selRect() const { return sel_.rect(); }
    hueloom::Rect selScreenRect() const { return hueloom::clientToScreen(sel_.rect(), desktop_); }
    const hueloom::capture::Selection& selection() const { return sel_; }
    // The desktop the overlay covers, in screen coordinates, and its size.
    const hueloom::Rect& desktop() const { return desktop_; }
    int DesktopWidth = 0, DesktopHeight = 0;

    // Events.
    void FormMouseDown(MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(int x, int y);
    void FormKeyDown(WORD vk);
    void FormKeyUp(WORD vk);
    void FormPaint(HDC dc) override;
    void ShowSizeLabel(bool visible);
    void SetFixedSize(int width, int height);

    // Menu commands.
    void pmnuFreeSizeClick();
    void pmnu16x16Click() { fixedItem(L"pmnu16x16", 16); }
    void pmnu24x24Click() { fixedItem(L"pmnu24x24", 24); }
    void pmnu32x32Click() { fixedItem(L"pmnu32x32", 32); }
    void pmnu48x48Click() { fixedItem(L"pmnu48x48", 48); }
    void pmnuOptSizeClick();
    void pmnuRectCutClick();
    void pmnuCtrl_ZClick();

    SizeLabel LabRectSize;
    tk::Menu PopupMenu1{tk::Menu::Popup};
    // The cross cursor (resource MYCROSS2).
    HCURSOR crSelectCross = nullptr;
    // The cursor the overlay shows now.
    HCURSOR currentCursor() const;

    bool dialogKey(WORD vk, WORD shortcut) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // What was on the screen before an event, to bring the window up to date.
    struct Shown {
        bool focus;
        hueloom::Rect rect;
        unsigned repaints;
        bool label;
        hueloom::capture::Pointer pointer;
    };
    Shown shown() const;
    void apply(const Shown& before);
    void checkSizeItem(const std::wstring& name);
    void fixedItem(const std::wstring& name, int size);
    hueloom::Point pointerPos() const;
    void buildMaskedView();

    static TfrmVirtualDesktop* current_;
    hueloom::capture::Selection sel_;
    hueloom::Rect desktop_;
    tk::Bitmap frozen_, masked_;
    std::optional<hueloom::Rect> maskedFor_;
    unsigned maskColor_ = 0x0000FF;  // red
    unsigned frameColor_ = 0xFFFF00;
};

// Lets the user select a rectangle on `frozenScreen` (a copy of `desktop`,
// the virtual desktop in screen coordinates) in the overlay over `desktop`,
// shown modally; tints with settings.MaskColor and frames the size dialog
// with settings.ActiveColor. Returns the selection in screen coordinates
// (right and bottom exclusive; empty when the overlay was closed before a
// rectangle was drawn). Returns nothing, showing nothing, while another
// overlay is open. Throws std::runtime_error when the window cannot be
// created.
std::optional<hueloom::Rect> SelectRectangle(const hueloom::image::Dib& frozenScreen, const hueloom::Rect& desktop,
                                             const hueloom::settings::Settings& settings);

// The instructions box of the rectangle capture: unless Msg_ID5
// (Msg_ID5) is set, shows the instructions with the current SleepTime and the
// "今後表示しない" box at (x, y) (the main window's right edge and top), and
// stores the box's state in Msg_ID5.
void ShowRectCaptureInstructions(hueloom::settings::Settings& settings, int x, int y);

}  // namespace hueloom::capture
