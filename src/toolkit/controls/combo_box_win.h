#pragma once
#include <windows.h>

#include <string>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

// A drop-down list whose text cannot be edited.
class ComboBox : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id);
    void add(const std::wstring& s);
    void clear();
    int count() const;
    void select(int index);
    int selected() const;
    std::wstring item(int index) const;
    bool droppedDown() const;
    void setFont(HFONT f);
    // Pointer shape over the list (nullptr: the class's arrow).
    void setCursor(HCURSOR c) { cursor_ = c; }
    // Background of the field and of the drop-down list.
    void setBackground(COLORREF c);
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Answers the parent's WM_CTLCOLOR* for this control; nullptr when the
    // message is not about it.
    HBRUSH controlColour(HDC dc);

private:
    HCURSOR cursor_ = nullptr;
    COLORREF background_ = 0;
    Brush brush_;
};

}  // namespace tk
