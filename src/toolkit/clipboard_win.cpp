#include "toolkit/clipboard_win.h"

#include <cstring>
#include <stdexcept>
#include "core/texts.h"

namespace tk {

Clipboard::Clipboard(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return;
        Sleep(20);
    }
    throw std::runtime_error(hueloom::text("tkclip.1"));
}

Clipboard::~Clipboard() { CloseClipboard(); }

void Clipboard::empty() { EmptyClipboard(); }

void Clipboard::setData(UINT format, HANDLE data) {
    if (!SetClipboardData(format, data)) {
        GlobalFree(data);
        throw std::runtime_error(hueloom::text("tkclip.2"));
    }
}

void Clipboard::setText(const std::wstring& text) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!mem) throw std::runtime_error(hueloom::text("tkclip.3"));
    void* p = GlobalLock(mem);
    std::memcpy(p, text.c_str(), bytes);
    GlobalUnlock(mem);
    setData(CF_UNICODETEXT, mem);
}

std::wstring Clipboard::text() const {
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    if (!h) return {};
    const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h));
    std::wstring s = p ? p : L"";
    GlobalUnlock(h);
    return s;
}

}  // namespace tk
