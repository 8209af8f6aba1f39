// The clipboard, opened for the length of a scope. Opening is retried
// briefly, since another program may hold it for a moment; failing that,
// the constructor throws and the command reports the error.
#pragma once
#include <windows.h>

#include <string>

namespace tk {

class Clipboard {
public:
    explicit Clipboard(HWND owner);
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    void empty();
    // Puts Unicode text (the system adds the ANSI form on request).
    void setText(const std::wstring& text);
    // Hands a handle to the clipboard, which owns it from then on.
    void setData(UINT format, HANDLE data);
    std::wstring text() const;
};

}  // namespace tk
