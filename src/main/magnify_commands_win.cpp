// TfrmMagnify's menu commands: the handler of each command, the menus built
// from the command table, and the commands of the Show and File menus.
#include "main/magnify_win.h"

#include "dialogs/about/about_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "dialogs/options/option.h"
#include "main/commands.h"
#include "main/menu_rules.h"
#include "shell/shell.h"
#include "shell/shell_win.h"
#include "toolkit/application_win.h"
#include "core/texts.h"

namespace hueloom::app {

void TfrmMagnify::setChecked(Command command, bool on) {
    if (tk::MenuItem* it = MainMenu1.find(commandName(command))) it->checked = on;
    if (tk::MenuItem* it = PopupMenu1.find(popupName(command))) it->checked = on;
}

void TfrmMagnify::syncMenuChecks() {
    auto check = [this](ColourFormat f) {
        setChecked(shownFormatCommand(f), model_.shownFormat() == f);
        setChecked(copyFormatCommand(f), model_.copyFormat() == f);
    };
    for (const hueloom::ColourFormatName& n : hueloom::colourFormatNames()) check(n.format);
    for (int i = 0; i < kCustomFormats; ++i) check(customFormat(i));
    setChecked(Command::CopySame, !model_.copyFormat());
    setChecked(Command::TOPMOST, model_.topmost() == true);
    setChecked(Command::NOTOPMOST, model_.topmost() == false);
    setChecked(Command::NotHookHotKey, model_.hotKeyScope() == HotKeyScope::ActiveOnly);
    setChecked(Command::HookHotKey, model_.hotKeyScope() == HotKeyScope::Always);
    setChecked(Command::ScreenValues, model_.screenValues());
    setChecked(Command::Pixel, model_.averaging() == 1);
    setChecked(Command::Pixels, model_.averaging() != 1);
    const int mode = model_.layout() == Layout::Magnifier ? model_.displayMode() : magnifier::Normal;
    PopupMenu2.find(L"pmnuDispNormal")->checked = mode == magnifier::Normal;
    PopupMenu2.find(L"pmnuDispBar1")->checked = mode == magnifier::Bar1;
    PopupMenu2.find(L"pmnuDispBar2")->checked = mode == magnifier::Bar2;
}

std::function<void()> TfrmMagnify::unlessBusy(std::function<void()> command) {
    if (!command) return command;  // a submenu's own item stays without a handler
    return [this, command = std::move(command)] {
        if (busy()) {
            MessageBeep(MB_ICONWARNING);
            return;
        }
        command();
    };
}

std::function<void()> TfrmMagnify::handlerFor(Command command) {
    using hueloom::dialogs::OptionCommand;
    if (const auto f = shownFormatOf(command)) return [this, f = *f] { selectShownFormat(f); };
    if (const auto f = copyFormatOf(command)) return [this, f = *f] { selectCopyFormat(f); };
    switch (command) {
    case Command::File: return [this] { mnuFileClick(); };
    case Command::Show: return [this] { mnuShowClick(); };
    case Command::Tool: return [this] { mnuToolClick(); };
    case Command::Exit: return [this] { close(); };
    case Command::CopySame: return [this] { selectCopyFormat(std::nullopt); };
    case Command::SavePalette: return [this] { mnuSavePaletteClick(); };
    case Command::Pixel: return [this] { mnuPixelClick(); };
    case Command::TOPMOST: return [this] { mnuTOPMOSTClick(); };
    case Command::NOTOPMOST: return [this] { mnuNOTOPMOSTClick(); };
    case Command::OriginalMode: return [this] { mnuOriginalModeClick(); };
    case Command::IroCopy: return [this] { pmnuIroCopyClick(); };
    case Command::ColorClear: return [this] { mnuColorClearClick(); };
    case Command::SaveTxt: return [this] { mnuSaveTxtClick(); };
    case Command::NotHookHotKey: return [this] { mnuNotHookHotKeyClick(); };
    case Command::HookHotKey: return [this] { mnuHookHotKeyClick(); };
    case Command::Hint: return [this] { mnuHintClick(); };
    case Command::ScreenCapture: return [this] { mnuScreenCaptureClick(); };
    case Command::WindowCapture: return [this] { mnuWindowCaptureClick(); };
    case Command::RectCapture: return [this] { mnuRectCaptureClick(); };
    case Command::ImgEdit: return [this] { mnuImgEditClick(); };
    case Command::ColorToImg: return [this] { mnuColorToImgClick(); };
    case Command::LoadCursor: return [this] { mnuLoadCursorClick(); };
    case Command::About: return [] { hueloom::dialogs::ShowAboutWindow(); };
    case Command::ColorSample: return [this] { mnuColorSampleClick(); };
    case Command::ImgSave: return [this] { mnuImgSaveClick(); };
    case Command::CopyBMP: return [this] { mnuCopyBMPClick(); };
    case Command::CopyEMF: return [this] { mnuCopyEMFClick(); };
    case Command::Paste: return [this] { mnuPasteClick(); };
    case Command::PrintImage: return [this] { mnuPrintImageClick(); };
    case Command::Setting: return [this] { mnuSettingClick(static_cast<int>(OptionCommand::Setting)); };
    case Command::Pixels: return [this] { mnuSettingClick(static_cast<int>(OptionCommand::Pixels)); };
    case Command::VariousColor: return [this] { mnuSettingClick(static_cast<int>(OptionCommand::VariousColor)); };
    case Command::HelpHelp: return [] { hueloom::shell::OpenHelpFile(tk::app().helpFile); };
    case Command::ShortCutDesktop:
        return [this] { hueloom::shell::CreateShortcut(hwnd_, hueloom::shell::kShortcutName, "DESKTOP"); };
    case Command::ShortCutPrograms:
        return [this] { hueloom::shell::CreateShortcut(hwnd_, hueloom::shell::kShortcutName, "PROGRAMS"); };
    case Command::SupportHP: return [] { hueloom::shell::OpenSupportHomepage(); };
    case Command::MailToMe: return [] { hueloom::shell::MailToAuthor(); };
    case Command::ImgUndo: return [this] { mnuImgUndoClick(); };
    case Command::ImgModeReverse: return [this] { mnuImgModeReverseClick(); };
    case Command::ImgModeGray: return [this] { mnuImgModeGrayClick(); };
    case Command::ImgMode256: return [this] { mnuImgMode256Click(); };
    case Command::ImgCrop: return [this] { mnuImgCropClick(); };
    case Command::ImgFill: return [this] { mnuImgFillClick(); };
    case Command::ImgPixelate: return [this] { mnuImgPixelateClick(); };
    case Command::ImgFillColor: return [this] { mnuImgFillColorClick(); };
    case Command::ScreenValues: return [this] { mnuScreenValuesClick(); };
    // Submenus that only open, and the pop-up's "close the menu".
    case Command::CopyFormat:
    case Command::None:
    case Command::HookHotKeyScope:
    case Command::Help:
    case Command::ShortCutCreate:
    case Command::PopupClose: return {};
    default: return {};  // the value formats, above
    }
}

void TfrmMagnify::buildMenus() {
    // Build the main menu bar and the magnifier's first pop-up from one table.
    for (int pass = 0; pass < 2; ++pass) {
        const bool isMain = pass == 0;
        tk::Menu& menu = isMain ? MainMenu1 : PopupMenu1;
        tk::MenuItem* parents[3] = {&menu.root(), nullptr, nullptr};
        for (const MenuEntry& d : menuTable()) {
            tk::MenuItem* parent = parents[d.level];
            if (!(d.where & (isMain ? MainOnly : PopupOnly))) {
                // Keep children of a skipped submenu out of the previous one.
                if (d.level < 2) parents[d.level + 1] = nullptr;
                continue;
            }
            if (!parent) continue;
            std::wstring name = isMain ? commandName(d.command) : popupName(d.command);
            const std::wstring caption = menuCaption(d, !isMain);
            tk::MenuItem* it = d.command == Command::None
                                   ? parent->separator()
                                   : parent->add(name, caption, unlessBusy(handlerFor(d.command)));
            it->radio = d.radio;
            if (d.level < 2) parents[d.level + 1] = it;
        }
    }
    setChecked(Command::OriginalMode, true);
    PopupMenu1.find(popupName(Command::IroCopy))->visible = false;
    MainMenu1.find(commandName(Command::ImgUndo))->shortcut = kShortcutCtrl | 'Z';
    MainMenu1.find(commandName(Command::Paste))->shortcut = kShortcutCtrl | 'V';

    tk::MenuItem& p2 = PopupMenu2.root();
    auto radio = [](tk::MenuItem* it) {
        it->radio = true;
        return it;
    };
    radio(
        p2.add(L"pmnuDispNormal", hueloom::wideText("main.commands.1"), unlessBusy([this] { pmnuDispNormalClick(); })));
    radio(p2.add(L"pmnuDispBar1", hueloom::wideText("main.commands.2"), unlessBusy([this] { pmnuDispBar1Click(); })));
    radio(p2.add(L"pmnuDispBar2", hueloom::wideText("main.commands.3"), unlessBusy([this] { pmnuDispBar2Click(); })));
    p2.separator();
    p2.add(L"pmnuMinimize", hueloom::wideText("main.commands.4"), unlessBusy([this] { pmnuMinimizeClick(); }));
    p2.separator();
    p2.add(L"pmuClose", hueloom::wideText("main.commands.5"), unlessBusy([this] { close(); }));

    addMenu(&MainMenu1);
    addMenu(&PopupMenu1);
    addMenu(&PopupMenu2);
    syncMenuChecks();
}

// ------------------------------------------------------------------ menus

// The user's templates in both format groups, by their names; the items of
// the templates that are not there stay hidden. A template that cannot be
// read is named once.
void TfrmMagnify::showTemplates() {
    for (int i = 0; i < kCustomFormats; ++i) {
        const ColourTemplate* t = model_.templates().at(i);
        for (Command c : {shownFormatCommand(customFormat(i)), copyFormatCommand(customFormat(i))}) {
            for (tk::MenuItem* it : {MainMenu1.find(commandName(c)), PopupMenu1.find(popupName(c))}) {
                if (!it) continue;
                it->visible = t != nullptr;
                if (t) it->caption = tk::widen(t->name());
            }
        }
    }
    if (model_.templates().errors().empty()) return;
    std::wstring text = hueloom::wideText("main.commands.6");
    for (const std::string& e : model_.templates().errors()) text += L"    [Format] " + tk::widen(e) + L"\n";
    hueloom::dialogs::ShowInfoBox(hueloom::wideText("main.commands.7"), text, -1, -1, false, settings.ActiveColor);
}

void TfrmMagnify::selectShownFormat(hueloom::ColourFormat format) {
    model_.setShownFormat(format);
    syncMenuChecks();
    showValue();  // the colour under the pointer, at once in the new format
}

void TfrmMagnify::selectCopyFormat(std::optional<hueloom::ColourFormat> format) {
    model_.setCopyFormat(format);
    syncMenuChecks();
}

void TfrmMagnify::mnuPixelClick() {
    model_.setAveraging(1);
    syncMenuChecks();
    tracker_.reset();  // the next step draws the marks for one pixel
}

void TfrmMagnify::mnuTOPMOSTClick() {
    model_.setTopmost(true);
    syncMenuChecks();
    RECT r = bounds();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOACTIVATE);
}

void TfrmMagnify::mnuNOTOPMOSTClick() {
    model_.setTopmost(false);
    syncMenuChecks();
    RECT r = bounds();
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOACTIVATE);
}

MenuFacts TfrmMagnify::menuFacts() const {
    MenuFacts f;
    f.magnifierRunning = magnifierRunning();
    f.hasPickedColours = !model_.picked().empty();
    f.undoAvailable = UndoAvailable;
    f.hasSelection = selectedRect().has_value();
    f.workingImagePalette8 = workingImage_.isPalette8();
    return f;
}

void TfrmMagnify::enableTwins(std::initializer_list<Command> commands, bool on) {
    for (Command c : commands) {
        if (tk::MenuItem* it = MainMenu1.find(commandName(c))) it->enabled = on;
        if (tk::MenuItem* it = PopupMenu1.find(popupName(c))) it->enabled = on;
    }
}

void TfrmMagnify::mnuFileClick() {
    const MenuEnabling e = menuEnabling(menuFacts());
    enableTwins({Command::SaveTxt}, e.saveTxt);
    enableTwins({Command::SavePalette}, e.savePalette);
    enableTwins({Command::ImgSave}, e.imgSave);
}

void TfrmMagnify::mnuShowClick() {
    const MenuEnabling e = menuEnabling(menuFacts());
    enableTwins({Command::ColorClear}, e.colorClear);
    enableTwins({Command::ColorSample, Command::VariousColor}, e.colorSample);
    syncMenuChecks();
}

void TfrmMagnify::mnuToolClick() { enableTwins({Command::ColorToImg}, menuEnabling(menuFacts()).colorToImg); }

void TfrmMagnify::CuteButton1Click() {
    RECT r;
    GetWindowRect(CuteButton1.hwnd(), &r);
    PopupMenu1.popup(hwnd_, r.left, r.bottom);
}

void TfrmMagnify::CuteButton2Click() {
    RECT r;
    GetWindowRect(CuteButton2.hwnd(), &r);
    PopupMenu2.popup(hwnd_, r.left, r.bottom);
}

}  // namespace hueloom::app
