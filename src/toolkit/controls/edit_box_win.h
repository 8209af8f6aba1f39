// A single-line edit field: the system's edit control, wrapped like our other
// controls.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/form_win.h"

namespace tk {

class EditBox : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id = 0, bool readOnly = false);
    void setFont(HFONT f);
    bool readOnly() const;
    void clear() { setText(L""); }
    void focus();
    void selectAll();
};

}  // namespace tk
