// Program entry.
#include <windows.h>

#include <commctrl.h>

#include "main/magnify_win.h"
#include "toolkit/application_win.h"
#include "toolkit/trace_win.h"

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    tk::trace("main");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tk::Application& app = tk::app();
    app.setTitle(L"Hueloom Ver. 1.0 A4");
    app.initialize(inst);
    app.helpFile.clear();
    hueloom::app::TfrmMagnify form;
    app.setMainForm(&form);
    if (!form.create()) return 1;
    return app.run();
}
