// Wrappers for the system's common controls the options need: a slider, an
// up-down arrow pair, a hot-key entry field and a tab strip. Each is the
// system control subclassed like our other controls; their
// notifications go to the parent window as usual (WM_COMMAND, WM_HSCROLL,
// WM_VSCROLL, WM_NOTIFY, WM_DRAWITEM).
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/form_win.h"

namespace tk {

// Registers the common control classes (once per process).
void initCommonControls();

// Shows `text` as the tooltip of `tool` (a window of `owner`): the tooltip
// window `tip` is made on first use, a popup of `popupOwner`, and its text
// updated afterwards. Lines break where the text breaks them.
void setToolTip(HWND& tip, HWND owner, HWND tool, HWND popupOwner, std::wstring& text);

// A horizontal slider with tick marks below it.
class TrackBar : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id = 0);
    void setRange(int min, int max);
    void setTickFrequency(int every);
    void setPosition(int pos);
    int position() const;
    int minimum() const;
    int maximum() const;
    // Shows `text` as a tooltip while the pointer rests on the slider.
    void setHint(const std::wstring& text);
    const std::wstring& hint() const { return hint_; }
    ~TrackBar() override;

private:
    std::wstring hint_;
    HWND tooltip_ = nullptr;
};

// An up-down arrow pair that steps an integer shown in its buddy edit box,
// without wrapping round at the ends.
class UpDown : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id = 0);
    void setBuddy(HWND edit);
    void setRange(int min, int max);
    void setPosition(int pos);
    int position() const;
};

// A hot-key entry field: shows and takes a key with Shift/Ctrl/Alt. Values
// are shortcut words (vk | $2000 Shift | $4000 Ctrl | $8000 Alt).
class HotKeyEdit : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id = 0);
    void setFont(HFONT f);
    void setShortcut(WORD shortcut);
    WORD shortcut() const;

    // The control's own form of a key: MAKEWORD(vk, HOTKEYF_ flags).
    static WORD toControlValue(WORD shortcut);
    static WORD fromControlValue(WORD value);
};

// A row of tabs whose faces the parent draws (WM_DRAWITEM with ODT_TAB).
class TabStrip : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id = 0);
    void setFont(HFONT f);
    // Room around each caption; also makes tabs no wider than caption + padding.
    void setTabPadding(int horizontal, int vertical);
    void addTab(const std::wstring& caption);
    int count() const;
    int selected() const;
    void select(int index);
    // The area below the tabs, in the parent's coordinates.
    RECT pageRect() const;
    // The tab's caption.
    std::wstring caption(int index) const;
    // The tab's rectangle in the strip's coordinates.
    RECT tabRect(int index) const;
};

}  // namespace tk
