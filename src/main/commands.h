// The main window's menu commands: one enumerator each, its name after the
// main-menu item ("mnuV10"; the pop-up twin is "pmnuV10"), and the table the
// main menu bar and the magnifier's first pop-up menu are built from.
#pragma once
#include <optional>
#include <span>
#include <string>

#include "core/colour_format.h"

namespace hueloom::app {

enum class Command {
    None,  // a separator
    File,
    SaveTxt,
    SavePalette,
    ImgSave,
    PrintImage,
    Exit,
    ImgEdit,
    ImgUndo,
    ImgMode256,
    ImgModeReverse,
    ImgModeGray,
    ImgCrop,
    ImgFill,
    ImgPixelate,
    ImgFillColor,
    CopyBMP,
    CopyEMF,
    Paste,
    Show,
    V10,
    V16,
    VHSL,
    VHSV,
    VCMYK,
    VLab,
    VColorRefHex,
    VColorRefDec,
    VHWB,
    VLCH,
    VOKLab,
    VOKLCH,
    VDisplayP3,
    VLabD65,
    VName,
    VCustom1,
    VCustom2,
    VCustom3,
    VCustom4,
    VCustom5,
    VCustom6,
    VCustom7,
    VCustom8,
    VCustom9,
    CopyFormat,
    CopySame,
    CopyV10,
    CopyV16,
    CopyHSL,
    CopyHSV,
    CopyCMYK,
    CopyLab,
    CopyColorRefHex,
    CopyColorRefDec,
    CopyHWB,
    CopyLCH,
    CopyOKLab,
    CopyOKLCH,
    CopyDisplayP3,
    CopyLabD65,
    CopyName,
    CopyCustom1,
    CopyCustom2,
    CopyCustom3,
    CopyCustom4,
    CopyCustom5,
    CopyCustom6,
    CopyCustom7,
    CopyCustom8,
    CopyCustom9,
    ScreenValues,
    Pixel,
    Pixels,
    ColorClear,
    ColorSample,
    TOPMOST,
    NOTOPMOST,
    VariousColor,
    OriginalMode,
    Tool,
    ColorToImg,
    ScreenCapture,
    WindowCapture,
    RectCapture,
    LoadCursor,
    HookHotKeyScope,
    NotHookHotKey,
    HookHotKey,
    Setting,
    Help,
    Hint,
    HelpHelp,
    ShortCutCreate,
    ShortCutDesktop,
    ShortCutPrograms,
    SupportHP,
    MailToMe,
    About,
    PopupClose,
    IroCopy,
};

// Which menus an entry is in.
enum MenuPlacement { MainOnly = 1, PopupOnly = 2, Both = 3 };

// An entry's caption is the text of its name (mnuFile), the pop-up twin's of
// its own name (pmnuImgSave) where it differs; Command::None is a separator.
struct MenuEntry {
    int level;  // 0 top level, 1 its items, 2 a submenu's items
    Command command;
    int where = Both;
    bool ownPopupCaption = false;
    bool radio = false;
};

// The caption shown, in the interface's language ("-" for a separator).
std::wstring menuCaption(const MenuEntry& entry, bool popup);

// In menu order.
std::span<const MenuEntry> menuTable();

// "mnu" + the command's name, and the pop-up twin's "pmnu…"; empty for None.
std::wstring commandName(Command command);
std::wstring popupName(Command command);

// The value formats of the Show menu's radio group (mnuV10, mnuV16, mnuVHSL,
// …) and of its "コピーする形式" submenu (mnuCopyV10 …; mnuCopySame, "表示と
// 同じ", stands for no format of its own): the command of each format and the
// format of each command.
Command shownFormatCommand(ColourFormat format);
std::optional<ColourFormat> shownFormatOf(Command command);
Command copyFormatCommand(std::optional<ColourFormat> format);
std::optional<ColourFormat> copyFormatOf(Command command);

}  // namespace hueloom::app
