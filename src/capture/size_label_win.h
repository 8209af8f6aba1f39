// The size label of a rectangle being chosen (the rectangle capture's
// overlay, the selection on the captured picture): two lines in the tooltip
// colour, sized to its text; the mouse goes through it to the window beneath.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/controls/control_win.h"
#include "toolkit/gdi_win.h"

namespace hueloom::capture {

class SizeLabel : public tk::Control {
public:
    bool create(HWND parent);
    void setCaption(const std::wstring& text);
    const std::wstring& caption() const { return caption_; }
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void paint(HDC dc, const RECT& rc) override;

private:
    std::wstring caption_;
    tk::Font font_;
};

}  // namespace hueloom::capture
