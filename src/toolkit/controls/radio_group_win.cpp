#include "toolkit/controls/radio_group_win.h"

#include <algorithm>

#include "toolkit/application_win.h"

namespace tk {

namespace {
constexpr UINT kFirstId = 100;

int textHeight(HFONT font) {
    WindowDC screen(nullptr);
    SavedDC saved(screen);
    if (font) SelectObject(screen, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(screen, &tm);
    return tm.tmHeight;
}
}  // namespace

bool RadioGroup::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TRadioGroup", parent, x, y, w, h, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void RadioGroup::setCaption(const std::wstring& caption) {
    caption_ = caption;
    if (hwnd_) SetWindowTextW(hwnd_, caption.c_str());
    arrange();
    invalidate();
}

void RadioGroup::setItems(const std::vector<std::wstring>& items) {
    for (HWND b : buttons_) DestroyWindow(b);
    buttons_.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        HWND b =
            CreateWindowExW(0, L"BUTTON", items[i].c_str(), style, 0, 0, 10, 10, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + i)), app().hinstance(), nullptr);
        if (itemFont_) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(itemFont_), FALSE);
        buttons_.push_back(b);
    }
    arrange();
}

void RadioGroup::setFont(HFONT items, HFONT caption) {
    itemFont_ = items;
    captionFont_ = caption ? caption : items;
    for (HWND b : buttons_) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(itemFont_), TRUE);
    arrange();
    invalidate();
}

void RadioGroup::setBackground(COLORREF c) {
    back_ = c;
    brush_.reset(CreateSolidBrush(c));
    invalidate();
    for (HWND b : buttons_) InvalidateRect(b, nullptr, TRUE);
}

void RadioGroup::setTextColour(COLORREF c) {
    text_ = c;
    invalidate();
    for (HWND b : buttons_) InvalidateRect(b, nullptr, TRUE);
}

void RadioGroup::setColumns(int n) {
    columns_ = std::max(n, 1);
    arrange();
}

int RadioGroup::itemIndex() const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (SendMessageW(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
    return -1;
}

void RadioGroup::setItemIndex(int index) {
    for (size_t i = 0; i < buttons_.size(); ++i)
        SendMessageW(buttons_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RadioGroup::replaceFont(HFONT from, HFONT to) {
    if (itemFont_ != from && captionFont_ != from) return;
    setFont(itemFont_ == from ? to : itemFont_, captionFont_ == from ? to : captionFont_);
    invalidate();
}

void RadioGroup::arrange() {
    if (!hwnd_ || buttons_.empty()) return;
    const RECT rc = clientRect();
    auto s = [this](int v) { return scaled(v); };  // the window's dpi
    if (columns_ > 1) {
        // One line below the caption, which sits on the frame's top edge.
        const int top = s(13), itemH = std::max<int>(rc.bottom - top - s(2), s(12));
        const int colW = (rc.right - s(8)) / columns_;
        for (size_t i = 0; i < buttons_.size(); ++i)
            SetWindowPos(buttons_[i], nullptr, s(5) + static_cast<int>(i) * colW, top, colW - s(2), itemH,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const int top = textHeight(captionFont_) + s(2);
    const int avail = std::max<int>(static_cast<int>(rc.bottom) - top - s(4), 1);
    const int step = avail / static_cast<int>(buttons_.size());
    const int itemH = std::max(textHeight(itemFont_) + s(4), s(16));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const int y = top + static_cast<int>(i) * step + (step - itemH) / 2;
        SetWindowPos(buttons_[i], nullptr, s(8), y, std::max<int>(rc.right - s(16), 1), itemH,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void RadioGroup::paint(HDC dc, const RECT& rc) {
    if (!brush_) brush_.reset(CreateSolidBrush(back_));
    FillRect(dc, &rc, brush_);
    SavedDC saved(dc);
    if (captionFont_) SelectObject(dc, captionFont_);
    const int th = textHeight(captionFont_);
    RECT frame{rc.left, rc.top + th / 2, rc.right, rc.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption_.empty()) return;
    SIZE sz{};
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &sz);
    RECT text{scaled(8), 0, scaled(8) + sz.cx + scaled(2), th};
    FillRect(dc, &text, brush_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text_);
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT RadioGroup::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) >= kFirstId && onClick) {
            auto fn = onClick;
            app().guarded(fn);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        if (!brush_) brush_.reset(CreateSolidBrush(back_));
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, back_);
        SetTextColor(dc, text_);
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_SIZE: arrange(); break;
    }
    return Control::wndProc(msg, wp, lp);
}

}  // namespace tk
