#include "main/commands.h"

#include <iterator>
#include <string>

#include "core/texts.h"

namespace hueloom::app {

namespace {

const MenuEntry kMenu[] = {
    {0, Command::File},
    {1, Command::SaveTxt},
    {1, Command::SavePalette},
    {1, Command::ImgSave, Both, true},
    {1, Command::None, MainOnly},
    {1, Command::PrintImage, MainOnly},
    {1, Command::None},
    {1, Command::Exit},
    {0, Command::ImgEdit, MainOnly},
    {1, Command::ImgUndo, MainOnly},
    {1, Command::None, MainOnly},
    {1, Command::ImgMode256, MainOnly},
    {1, Command::None, MainOnly},
    {1, Command::ImgModeReverse, MainOnly},
    {1, Command::ImgModeGray, MainOnly},
    {1, Command::None, MainOnly},
    {1, Command::ImgCrop, MainOnly},
    {1, Command::ImgFill, MainOnly},
    {1, Command::ImgPixelate, MainOnly},
    {1, Command::ImgFillColor, MainOnly},
    {1, Command::None, MainOnly},
    {1, Command::CopyBMP, MainOnly},
    {1, Command::CopyEMF, MainOnly},
    {1, Command::None, MainOnly},
    {1, Command::Paste, MainOnly},
    {0, Command::Show},
    {1, Command::V10, Both, false, true},
    {1, Command::V16, Both, false, true},
    {1, Command::VHSL, Both, false, true},
    {1, Command::VHSV, Both, false, true},
    {1, Command::VCMYK, Both, false, true},
    {1, Command::VLab, Both, false, true},
    {1, Command::VColorRefHex, Both, false, true},
    {1, Command::VColorRefDec, Both, false, true},
    {1, Command::VHWB, Both, false, true},
    {1, Command::VLCH, Both, false, true},
    {1, Command::VOKLab, Both, false, true},
    {1, Command::VOKLCH, Both, false, true},
    {1, Command::VDisplayP3, Both, false, true},
    {1, Command::VLabD65, Both, false, true},
    {1, Command::VName, Both, false, true},
    {1, Command::VCustom1, Both, false, true},
    {1, Command::VCustom2, Both, false, true},
    {1, Command::VCustom3, Both, false, true},
    {1, Command::VCustom4, Both, false, true},
    {1, Command::VCustom5, Both, false, true},
    {1, Command::VCustom6, Both, false, true},
    {1, Command::VCustom7, Both, false, true},
    {1, Command::VCustom8, Both, false, true},
    {1, Command::VCustom9, Both, false, true},
    {1, Command::CopyFormat},
    {2, Command::CopySame, Both, false, true},
    {2, Command::CopyV10, Both, false, true},
    {2, Command::CopyV16, Both, false, true},
    {2, Command::CopyHSL, Both, false, true},
    {2, Command::CopyHSV, Both, false, true},
    {2, Command::CopyCMYK, Both, false, true},
    {2, Command::CopyLab, Both, false, true},
    {2, Command::CopyColorRefHex, Both, false, true},
    {2, Command::CopyColorRefDec, Both, false, true},
    {2, Command::CopyHWB, Both, false, true},
    {2, Command::CopyLCH, Both, false, true},
    {2, Command::CopyOKLab, Both, false, true},
    {2, Command::CopyOKLCH, Both, false, true},
    {2, Command::CopyDisplayP3, Both, false, true},
    {2, Command::CopyLabD65, Both, false, true},
    {2, Command::CopyName, Both, false, true},
    {2, Command::CopyCustom1, Both, false, true},
    {2, Command::CopyCustom2, Both, false, true},
    {2, Command::CopyCustom3, Both, false, true},
    {2, Command::CopyCustom4, Both, false, true},
    {2, Command::CopyCustom5, Both, false, true},
    {2, Command::CopyCustom6, Both, false, true},
    {2, Command::CopyCustom7, Both, false, true},
    {2, Command::CopyCustom8, Both, false, true},
    {2, Command::CopyCustom9, Both, false, true},
    {1, Command::ScreenValues},
    {1, Command::None},
    {1, Command::Pixel, Both, false, true},
    {1, Command::Pixels, Both, false, true},
    {1, Command::None},
    {1, Command::ColorClear},
    {1, Command::None},
    {1, Command::ColorSample},
    {1, Command::None},
    {1, Command::TOPMOST, Both, false, true},
    {1, Command::NOTOPMOST, Both, false, true},
    {1, Command::None},
    {1, Command::VariousColor},
    {1, Command::None},
    {1, Command::OriginalMode},
    {0, Command::Tool},
    {1, Command::ColorToImg},
    {1, Command::None},
    {1, Command::ScreenCapture},
    {1, Command::WindowCapture},
    {1, Command::RectCapture},
    {1, Command::None, MainOnly},
    {1, Command::LoadCursor, MainOnly},
    {1, Command::None},
    {1, Command::HookHotKeyScope},
    {2, Command::NotHookHotKey, Both, false, true},
    {2, Command::HookHotKey, Both, false, true},
    {1, Command::None},
    {1, Command::Setting},
    {0, Command::Help},
    {1, Command::Hint},
    {1, Command::HelpHelp},
    {1, Command::None},
    {1, Command::ShortCutCreate},
    {2, Command::ShortCutDesktop},
    {2, Command::ShortCutPrograms},
    {1, Command::None},
    {1, Command::SupportHP},
    {1, Command::MailToMe},
    {1, Command::None},
    {1, Command::About},
    {0, Command::None, PopupOnly},
    {0, Command::PopupClose, PopupOnly},
    {0, Command::IroCopy, PopupOnly},
};

// Indexed by Command.
const wchar_t* const kNames[] = {
    L"",
    L"mnuFile",
    L"mnuSaveTxt",
    L"mnuSavePalette",
    L"mnuImgSave",
    L"mnuPrintImage",
    L"mnuExit",
    L"mnuImgEdit",
    L"mnuImgUndo",
    L"mnuImgMode256",
    L"mnuImgModeReverse",
    L"mnuImgModeGray",
    L"mnuImgCrop",
    L"mnuImgFill",
    L"mnuImgPixelate",
    L"mnuImgFillColor",
    L"mnuCopyBMP",
    L"mnuCopyEMF",
    L"mnuPaste",
    L"mnuShow",
    L"mnuV10",
    L"mnuV16",
    L"mnuVHSL",
    L"mnuVHSV",
    L"mnuVCMYK",
    L"mnuVLab",
    L"mnuVColorRefHex",
    L"mnuVColorRefDec",
    L"mnuVHWB",
    L"mnuVLCH",
    L"mnuVOKLab",
    L"mnuVOKLCH",
    L"mnuVDisplayP3",
    L"mnuVLabD65",
    L"mnuVName",
    L"mnuVCustom1",
    L"mnuVCustom2",
    L"mnuVCustom3",
    L"mnuVCustom4",
    L"mnuVCustom5",
    L"mnuVCustom6",
    L"mnuVCustom7",
    L"mnuVCustom8",
    L"mnuVCustom9",
    L"mnuCopyFormat",
    L"mnuCopySame",
    L"mnuCopyV10",
    L"mnuCopyV16",
    L"mnuCopyHSL",
    L"mnuCopyHSV",
    L"mnuCopyCMYK",
    L"mnuCopyLab",
    L"mnuCopyColorRefHex",
    L"mnuCopyColorRefDec",
    L"mnuCopyHWB",
    L"mnuCopyLCH",
    L"mnuCopyOKLab",
    L"mnuCopyOKLCH",
    L"mnuCopyDisplayP3",
    L"mnuCopyLabD65",
    L"mnuCopyName",
    L"mnuCopyCustom1",
    L"mnuCopyCustom2",
    L"mnuCopyCustom3",
    L"mnuCopyCustom4",
    L"mnuCopyCustom5",
    L"mnuCopyCustom6",
    L"mnuCopyCustom7",
    L"mnuCopyCustom8",
    L"mnuCopyCustom9",
    L"mnuScreenValues",
    L"mnuPixel",
    L"mnuPixels",
    L"mnuColorClear",
    L"mnuColorSample",
    L"mnuTOPMOST",
    L"mnuNOTOPMOST",
    L"mnuVariousColor",
    L"mnuOriginalMode",
    L"mnuTool",
    L"mnuColorToImg",
    L"mnuScreenCapture",
    L"mnuWindowCapture",
    L"mnuRectCapture",
    L"mnuLoadCursor",
    L"mnuHookHotKeyScope",
    L"mnuNotHookHotKey",
    L"mnuHookHotKey",
    L"mnuSetting",
    L"mnuHelp",
    L"mnuHint",
    L"mnuHelpHelp",
    L"mnuShortCutCreate",
    L"mnuShortCutDesktop",
    L"mnuShortCutPrograms",
    L"mnuSupportHP",
    L"mnuMailToMe",
    L"mnuAbout",
    L"mnuPopupClose",
    L"mnuIroCopy",
};
static_assert(std::size(kNames) == static_cast<size_t>(Command::IroCopy) + 1, "one name per command");

// The formats in ColourFormat order, with their commands in both groups.
struct FormatCommands {
    ColourFormat format;
    Command shown, copy;
};
constexpr FormatCommands kFormatCommands[] = {
    {ColourFormat::Decimal, Command::V10, Command::CopyV10},
    {ColourFormat::Hexadecimal, Command::V16, Command::CopyV16},
    {ColourFormat::Hsl, Command::VHSL, Command::CopyHSL},
    {ColourFormat::Hsv, Command::VHSV, Command::CopyHSV},
    {ColourFormat::Cmyk, Command::VCMYK, Command::CopyCMYK},
    {ColourFormat::Lab, Command::VLab, Command::CopyLab},
    {ColourFormat::ColorRefHex, Command::VColorRefHex, Command::CopyColorRefHex},
    {ColourFormat::ColorRefDecimal, Command::VColorRefDec, Command::CopyColorRefDec},
    {ColourFormat::Hwb, Command::VHWB, Command::CopyHWB},
    {ColourFormat::Lch, Command::VLCH, Command::CopyLCH},
    {ColourFormat::Oklab, Command::VOKLab, Command::CopyOKLab},
    {ColourFormat::Oklch, Command::VOKLCH, Command::CopyOKLCH},
    {ColourFormat::DisplayP3, Command::VDisplayP3, Command::CopyDisplayP3},
    {ColourFormat::LabD65, Command::VLabD65, Command::CopyLabD65},
    {ColourFormat::Name, Command::VName, Command::CopyName},
    {ColourFormat::Custom1, Command::VCustom1, Command::CopyCustom1},
    {ColourFormat::Custom2, Command::VCustom2, Command::CopyCustom2},
    {ColourFormat::Custom3, Command::VCustom3, Command::CopyCustom3},
    {ColourFormat::Custom4, Command::VCustom4, Command::CopyCustom4},
    {ColourFormat::Custom5, Command::VCustom5, Command::CopyCustom5},
    {ColourFormat::Custom6, Command::VCustom6, Command::CopyCustom6},
    {ColourFormat::Custom7, Command::VCustom7, Command::CopyCustom7},
    {ColourFormat::Custom8, Command::VCustom8, Command::CopyCustom8},
    {ColourFormat::Custom9, Command::VCustom9, Command::CopyCustom9},
};

}  // namespace

Command shownFormatCommand(ColourFormat format) {
    for (const FormatCommands& f : kFormatCommands)
        if (f.format == format) return f.shown;
    return Command::V10;
}

std::optional<ColourFormat> shownFormatOf(Command command) {
    for (const FormatCommands& f : kFormatCommands)
        if (f.shown == command) return f.format;
    return std::nullopt;
}

Command copyFormatCommand(std::optional<ColourFormat> format) {
    if (format)
        for (const FormatCommands& f : kFormatCommands)
            if (f.format == *format) return f.copy;
    return Command::CopySame;
}

std::optional<ColourFormat> copyFormatOf(Command command) {
    for (const FormatCommands& f : kFormatCommands)
        if (f.copy == command) return f.format;
    return std::nullopt;
}

std::span<const MenuEntry> menuTable() { return kMenu; }

std::wstring commandName(Command command) { return kNames[static_cast<size_t>(command)]; }

std::wstring menuCaption(const MenuEntry& entry, bool popup) {
    if (entry.command == Command::None) return L"-";
    const std::wstring name = popup && entry.ownPopupCaption ? popupName(entry.command) : commandName(entry.command);
    return wideText(std::string(name.begin(), name.end()));  // names are ASCII
}

std::wstring popupName(Command command) {
    return command == Command::None ? std::wstring() : L"p" + commandName(command);
}

}  // namespace hueloom::app
