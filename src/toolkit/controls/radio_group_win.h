// A radio group: a framed box with a caption and one radio button per item,
// of which at most one is chosen (itemIndex -1: none). The items are spread
// evenly over the box's height below the caption, or side by side in
// columns.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls/control_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

class RadioGroup : public Control {
public:
    bool create(HWND parent, int x, int y, int w, int h);
    void setCaption(const std::wstring& caption);
    const std::wstring& caption() const { return caption_; }
    void setItems(const std::vector<std::wstring>& items);
    int count() const { return static_cast<int>(buttons_.size()); }
    // Fonts are not owned; the caption font defaults to the item font.
    void setFont(HFONT items, HFONT caption = nullptr);
    void replaceFont(HFONT from, HFONT to) override;
    void setBackground(COLORREF c);
    COLORREF background() const { return back_; }
    // Caption and item text (the system's window text colour by default).
    void setTextColour(COLORREF c);
    // Items side by side in `n` columns, on one line below the caption.
    void setColumns(int n);

    int itemIndex() const;
    // Chooses item i; an index outside the items clears the choice.
    void setItemIndex(int i);
    // The radio button of item i (for tests and focus).
    HWND button(int i) const { return i >= 0 && i < count() ? buttons_[static_cast<size_t>(i)] : nullptr; }

    std::function<void()> onClick;  // the user chose an item

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void paint(HDC dc, const RECT& rc) override;

private:
    void arrange();
    std::wstring caption_;
    std::vector<HWND> buttons_;
    HFONT itemFont_ = nullptr, captionFont_ = nullptr;
    COLORREF back_ = GetSysColor(COLOR_BTNFACE);
    COLORREF text_ = GetSysColor(COLOR_WINDOWTEXT);
    int columns_ = 1;
    Brush brush_;
};

}  // namespace tk
