// tk::Control, the base of the child controls that paint themselves, and the
// routine that lets a see-through child show its parent behind it.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

// A child window of our own class that paints itself.
class Control : public Window {
public:
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    bool create(const wchar_t* cls, HWND parent, int x, int y, int w, int h, DWORD style = 0, DWORD exStyle = 0);
    // True when paint() covers all of `clip` with what it draws last, so a
    // buffer against flicker has nothing to hide.
    virtual bool paintsOver(const RECT& /*clip*/) const { return false; }
    virtual void paint(HDC dc, const RECT& client) {
        (void)dc;
        (void)client;
    }
    bool doubleBuffered_ = false;

public:
    void setDoubleBuffered(bool on) { doubleBuffered_ = on; }
};

// Paints the parent's background behind a see-through child.
void paintParentBehind(HWND child, HDC dc);

}  // namespace tk
