// TfrmMagnify's settings file, menu shortcuts, hot-key scope and the options
// dialog.
#include "main/magnify_win.h"

#include "core/ansi_text.h"
#include "capture/cursors_win.h"
#include "core/shortcut_text.h"
#include "dialogs/infobox/info_box_win.h"
#include "dialogs/options/option.h"
#include "dialogs/options/option_win.h"
#include "image/file_io.h"
#include "settings/colour_key.h"
#include "settings/profile_win.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"
#include "core/texts.h"

namespace hueloom::app {

// ------------------------------------------------------------------ settings

namespace {

std::string platformKeyName(uint8_t vk) { return tk::keyNameText(vk); }

}  // namespace

namespace {

// The keys saveSettings would write, in order, as text: what tells whether
// the user changed a setting.
struct RecordingProfile : hueloom::settings::Profile {
    std::string text;
    std::string readString(const std::string&, const std::string&, const std::string& def) override { return def; }
    void writeString(const std::string& section, const std::string& key, const std::string& value) override {
        text += section + "/" + key + "=" + value + "\n";
    }
};

}  // namespace

void TfrmMagnify::LoadSettings() {
    namespace S = hueloom::settings;
    S::Environment env;
    env.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    env.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    env.workAreas = tk::monitorWorkAreas();
    env.windowWidth = width();
    env.windowHeight = height();
    env.programFolder = hueloom::folderOf(S::programPathAnsi());
    env.keyName = platformKeyName;
    // A settings file that is there but cannot be read (locked by another
    // program, no permission) gives the defaults and says so once; it is
    // then kept as it is unless the user changes a setting.
    const std::wstring path = tk::widen(settingsPath);
    DWORD unreadable = 0;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            unreadable = GetLastError() ? GetLastError() : ERROR_ACCESS_DENIED;
        else
            CloseHandle(h);
    }
    if (unreadable) {
        RecordingProfile none;
        settings = S::loadSettings(none, env);
        MessageBoxW(hwnd_,
                    (hueloom::wideText("main.settings.1") + path + hueloom::wideText("main.settings.2") +
                     tk::widen(tk::systemErrorText(unreadable), CP_UTF8))
                        .c_str(),
                    tk::app().title().c_str(), MB_OK | MB_ICONWARNING);
        unreadSettings_ = true;
    } else {
        S::WinProfile profile(settingsPath);
        settings = S::loadSettings(profile, env);
    }
    SetWindowPos(hwnd_, nullptr, settings.Left, settings.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TfrmMagnify::settingsText() const {
    RecordingProfile record;
    hueloom::settings::saveSettings(record, settings, model_.menuState(), platformKeyName);
    return record.text;
}

void TfrmMagnify::SaveSettings() {
    namespace S = hueloom::settings;
    RECT r = bounds();
    settings.Top = r.top;
    settings.Left = r.left;
    // The file that could not be read stays as it was, unless a setting changed.
    if (unreadSettings_ && settingsText() == settingsAtStart_) return;
    // Written whole beside the file and put in its place only once complete:
    // a full disk or a folder that cannot be written keeps the earlier file,
    // and the user is told, once; the program closes all the same.
    const std::filesystem::path target(tk::widen(settingsPath));
    try {
        hueloom::image::writeFileThrough(target, [&](const std::filesystem::path& temp) {
            std::error_code ec;
            if (!unreadSettings_ && std::filesystem::exists(target, ec)) {
                try {
                    hueloom::image::writeFileBytes(temp, hueloom::image::readFileBytes(target, 1u << 24));
                } catch (const hueloom::image::FileError& e) {
                    throw hueloom::image::FileError(e.action(), target, e.systemCode());  // the user's file
                }
            }
            S::WinProfile profile(tk::narrow(temp.wstring()));
            S::saveSettings(profile, settings, model_.menuState(), platformKeyName);
            profile.flush();
            if (profile.failure())
                throw hueloom::image::FileError(hueloom::image::FileError::Action::Write, target,
                                                static_cast<int>(profile.failure()));
        });
    } catch (const hueloom::image::ImageError& e) {
        MessageBoxW(hwnd_, tk::widen(e.what(), CP_UTF8).c_str(), tk::app().title().c_str(), MB_OK | MB_ICONERROR);
    }
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
        hueloom::dialogs::ShowInfoBox(
            hueloom::wideText("main.settings.3"),
            hueloom::wideText("main.settings.4") + taken + hueloom::wideText("main.settings.5") +
                tk::widen(tk::systemErrorText(reason), CP_UTF8) + hueloom::wideText("main.settings.6"),
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
    hueloom::dialogs::ShowInfoBox(hueloom::wideText("main.settings.7"), tk::widen(hintText_, CP_UTF8), r.right, r.top,
                                  false, settings.ActiveColor);
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
