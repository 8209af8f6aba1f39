// Program entry.
#include <windows.h>

#include <commctrl.h>

#include "core/texts.h"
#include "image/file_io.h"
#include "settings/profile_win.h"
#include "main/magnify_win.h"
#include "toolkit/application_win.h"
#include "toolkit/trace_win.h"

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    tk::trace("main");
    // The interface's language, before any window: the settings file's
    // choice, else the user's Windows language.
    char language[16] = {};
    GetPrivateProfileStringA("Option", "Language", "", language, sizeof language,
                             hueloom::settings::settingsPathAnsi().c_str());
    hueloom::setLanguage(hueloom::chooseLanguage(language, PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tk::Application& app = tk::app();
    app.setTitle(L"Hueloom Ver. 1.0 A4");
    app.initialize(inst);
    app.helpFile.clear();
    // Failed file operations give the system's reason in its own words.
    hueloom::image::setSystemReasonText([](int code) { return tk::systemErrorText(static_cast<DWORD>(code)); });
    hueloom::app::TfrmMagnify form;
    app.setMainForm(&form);
    if (!form.create()) return 1;
    return app.run();
}
