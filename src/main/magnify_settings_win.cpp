// TfrmMagnify's settings file, menu shortcuts, hot-key scope and the options
// dialog.
#include "main/magnify_win.h"

#include "core/ansi_text.h"
#include "capture/cursors_win.h"
#include "core/shortcut_text.h"
#include "dialogs/infobox/info_box_win.h"
#include "dialogs/options/option.h"
#include "dialogs/options/option_win.h"
#include "settings/colour_key.h"
#include "settings/profile_win.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"

namespace hueloom::app {

// ------------------------------------------------------------------ settings

namespace {

std::string platformKeyName(uint8_t vk) { return tk::keyNameText(vk); }

}  // namespace

void TfrmMagnify::LoadSettings() {
    namespace S = hueloom::settings;
    S::WinProfile profile(settingsPath);
    S::Environment env;
    env.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    env.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    env.workAreas = tk::monitorWorkAreas();
    env.windowWidth = width();
    env.windowHeight = height();
    env.programFolder = hueloom::folderOf(S::programPathAnsi());
    env.keyName = platformKeyName;
    settings = S::loadSettings(profile, env);
    SetWindowPos(hwnd_, nullptr, settings.Left, settings.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMagnify::SaveSettings() {
    namespace S = hueloom::settings;
    RECT r = bounds();
    settings.Top = r.top;
    settings.Left = r.left;
    S::WinProfile profile(settingsPath);
    S::saveSettings(profile, settings, model_.menuState(), platformKeyName);
}

void TfrmMagnify::setMenuShortcuts() {
    auto set = [this](Command command, uint16_t sc) {
        if (tk::MenuItem* it = MainMenu1.find(commandName(command))) it->shortcut = sc;
        if (tk::MenuItem* it = PopupMenu1.find(popupName(command))) it->shortcut = sc;
    };
    set(Command::IroCopy, settings.HotKeyGetColor);
    set(Command::ScreenCapture, settings.HotKeyScreenCapture);
    set(Command::WindowCapture, settings.HotKeyWindowCapture);
    set(Command::RectCapture, settings.HotKeyRectCapture);
}

// ------------------------------------------------------------------ hot keys

void TfrmMagnify::mnuNotHookHotKeyClick() {
    model_.setHotKeyScope(HotKeyScope::ActiveOnly);
    syncMenuChecks();
    for (int index = 1; index <= 4; ++index) HookHotKey1->RemoveHotKey(index);
}

void TfrmMagnify::mnuHookHotKeyClick() {
    model_.setHotKeyScope(HotKeyScope::Always);
    syncMenuChecks();
    const uint16_t keys[4] = {settings.HotKeyGetColor, settings.HotKeyScreenCapture, settings.HotKeyWindowCapture,
                              settings.HotKeyRectCapture};
    // A key another program holds (or one set for two commands) cannot be
    // had: say which, once per key, instead of showing a shortcut that never
    // fires.
    std::wstring taken;
    DWORD reason = 0;
    for (int index = 1; index <= 4; ++index) {
        const uint16_t key = keys[index - 1];
        if (HookHotKey1->AddHotKey(index, key) || key == 0) continue;
        reason = GetLastError();
        if (takenKeysReported_.insert(key).second)
            taken += L"    " + tk::widen(hueloom::shortcutToText(key, platformKeyName)) + L"\n";
    }
    if (!taken.empty())
        hueloom::dialogs::ShowInfoBox(L"ホットキー",
                                      L"次のホットキーを登録できませんでした。\n" + taken + L"（" +
                                          tk::widen(tk::systemErrorText(reason), CP_UTF8) + L"）",
                                      -1, -1, false, settings.ActiveColor);
}

// The main window's commands as the hot-key dispatch sees them.
class MagnifyCommands : public hueloom::hotkeys::HotKeyCommands {
public:
    explicit MagnifyCommands(TfrmMagnify& f) : f_(f) {}
    bool savePictureDialogOpen() override { return f_.savePictureDialogOpen; }
    void copyColour() override { f_.pmnuIroCopyClick(); }
    void screenCapture() override { f_.mnuScreenCaptureClick(); }
    void windowCapture() override { f_.mnuWindowCaptureClick(); }
    void rectCapture() override { f_.mnuRectCaptureClick(); }
    void setActivate(bool on) override { f_.HookHotKey1->Activate = on; }

private:
    TfrmMagnify& f_;
};

void TfrmMagnify::HookHotKey1HotKey(int index) {
    if (busy()) return;
    MagnifyCommands commands(*this);
    hueloom::hotkeys::dispatchHotKey(index, commands);
}

void TfrmMagnify::PrintScreenFilter(MSG& msg, bool& handled) {
    if (printScreenKeys && !busy()) printScreenKeys->filter(msg, handled);
}

void TfrmMagnify::mnuHintClick() {
    tk::app().setTitle(L"Hueloom");
    RECT r = bounds();
    hueloom::dialogs::ShowInfoBox(L"ヒント", tk::widen(hintText_, CP_UTF8), r.right, r.top, false,
                                  settings.ActiveColor);
}

// ------------------------------------------------------------------ options

void TfrmMagnify::mnuSettingClick(int command) {
    // While the dialog is open the system-wide keys stay unregistered, so a
    // combination typed into a hot-key field is entered, not fired.
    if (model_.hotKeyScope() == HotKeyScope::Always)
        for (int index = 1; index <= 4; ++index) HookHotKey1->RemoveHotKey(index);
    struct Reapply {
        TfrmMagnify* f;
        ~Reapply() {
            if (f->model_.hotKeyScope() == HotKeyScope::ActiveOnly)
                f->mnuNotHookHotKeyClick();
            else
                f->mnuHookHotKeyClick();
        }
    } reapply{this};

    hueloom::dialogs::OptionDialogState st;
    st.settings = settings;
    st.averagingSize = model_.averaging();
    for (int i = 0; i < hueloom::capture::kCursorCount; ++i) st.cursorNames.push_back(hueloom::capture::cursorName(i));
    st.cursorImage = [](const std::wstring& name) {
        for (int i = 0; i < hueloom::capture::kCursorCount; ++i)
            if (name == hueloom::capture::cursorName(i)) return hueloom::capture::cursorForIndex(i);
        return LoadCursorW(nullptr, IDC_ARROW);
    };
    st.chooseColor = [this](unsigned& c) {
        colourSampleOpen_ = true;
        hueloom::picking::SampleColorChoice r;
        {
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{colourSampleOpen_};
            r = hueloom::picking::ChooseSampleColor(*this);
        }
        if (r.confirmed) c = r.colour;
        return r.confirmed;
    };
    if (!hueloom::dialogs::ShowOptionDialog(
            st, hueloom::dialogs::firstOptionPage(static_cast<hueloom::dialogs::OptionCommand>(command))))
        return;
    settings = st.settings;
    model_.setAveraging(st.averagingSize);
    syncMenuChecks();
    applyCaptureCursor();
    ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
    if (colourListMode_) rebuildColourList();
    setFrameColour(settings.ActiveColor);
    tracker_.reset();  // the next sampling step redraws with the new colours and size
    setMenuShortcuts();
}

}  // namespace hueloom::app
