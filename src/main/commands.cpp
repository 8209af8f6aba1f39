#include "main/commands.h"

#include <iterator>

namespace hueloom::app {

namespace {

const MenuEntry kMenu[] = {
    {0, Command::File, L"ファイル(&F)"},
    {1, Command::SaveTxt, L"色のメモの保存(&C)"},
    {1, Command::SavePalette, L"パレットの保存(&L)"},
    {1, Command::ImgSave, L"画像の保存(&S)", Both, L"画像の保存(&I)"},
    {1, Command::None, L"-", MainOnly},
    {1, Command::PrintImage, L"画像を印刷(&P)", MainOnly},
    {1, Command::None, L"-"},
    {1, Command::Exit, L"終了(&X)"},
    {0, Command::ImgEdit, L"画像編集(&E)", MainOnly},
    {1, Command::ImgUndo, L"元に戻す(&U)", MainOnly},
    {1, Command::None, L"-", MainOnly},
    {1, Command::ImgMode256, L"256色に減色(&S)", MainOnly},
    {1, Command::None, L"-", MainOnly},
    {1, Command::ImgModeReverse, L"反転(&R)", MainOnly},
    {1, Command::ImgModeGray, L"グレースケール(&G)", MainOnly},
    {1, Command::None, L"-", MainOnly},
    {1, Command::ImgCrop, L"選択範囲で切り抜き(&T)", MainOnly},
    {1, Command::ImgFill, L"選択範囲を塗りつぶし(&F)", MainOnly},
    {1, Command::ImgPixelate, L"選択範囲をモザイク(&M)", MainOnly},
    {1, Command::ImgFillColor, L"塗りつぶしの色(&K)", MainOnly},
    {1, Command::None, L"-", MainOnly},
    {1, Command::CopyBMP, L"コピー・BMP(&B)", MainOnly},
    {1, Command::CopyEMF, L"コピー・EMF(&E)", MainOnly},
    {1, Command::None, L"-", MainOnly},
    {1, Command::Paste, L"ペースト(&P)", MainOnly},
    {0, Command::Show, L"表示(&V)"},
    {1, Command::V10, L"色の10進数表示(&1)", Both, nullptr, true},
    {1, Command::V16, L"色の16進数表示(&6)", Both, nullptr, true},
    {1, Command::VHSL, L"HSL表示(&L)", Both, nullptr, true},
    {1, Command::VHSV, L"HSV表示(&B)", Both, nullptr, true},
    {1, Command::VCMYK, L"CMYK表示(&Y)", Both, nullptr, true},
    {1, Command::VLab, L"L*a*b*(CSS lab)表示(&A)", Both, nullptr, true},
    {1, Command::VColorRefHex, L"COLORREF(16進)表示(&R)", Both, nullptr, true},
    {1, Command::VColorRefDec, L"COLORREF(10進)表示(&E)", Both, nullptr, true},
    {1, Command::VHWB, L"HWB表示(&H)", Both, nullptr, true},
    {1, Command::VLCH, L"LCH表示(&C)", Both, nullptr, true},
    {1, Command::VOKLab, L"OKLab表示(&J)", Both, nullptr, true},
    {1, Command::VOKLCH, L"OKLCH表示(&G)", Both, nullptr, true},
    {1, Command::VDisplayP3, L"display-p3表示(&P)", Both, nullptr, true},
    {1, Command::VLabD65, L"L*a*b*(D65)表示(&5)", Both, nullptr, true},
    {1, Command::VName, L"色の名前表示(&I)", Both, nullptr, true},
    {1, Command::VCustom1, L"書式1", Both, nullptr, true},
    {1, Command::VCustom2, L"書式2", Both, nullptr, true},
    {1, Command::VCustom3, L"書式3", Both, nullptr, true},
    {1, Command::VCustom4, L"書式4", Both, nullptr, true},
    {1, Command::VCustom5, L"書式5", Both, nullptr, true},
    {1, Command::VCustom6, L"書式6", Both, nullptr, true},
    {1, Command::VCustom7, L"書式7", Both, nullptr, true},
    {1, Command::VCustom8, L"書式8", Both, nullptr, true},
    {1, Command::VCustom9, L"書式9", Both, nullptr, true},
    {1, Command::CopyFormat, L"コピーする形式(&O)"},
    {2, Command::CopySame, L"表示と同じ", Both, nullptr, true},
    {2, Command::CopyV10, L"10進数 rgb()", Both, nullptr, true},
    {2, Command::CopyV16, L"16進数 #RRGGBB", Both, nullptr, true},
    {2, Command::CopyHSL, L"HSL", Both, nullptr, true},
    {2, Command::CopyHSV, L"HSV", Both, nullptr, true},
    {2, Command::CopyCMYK, L"CMYK", Both, nullptr, true},
    {2, Command::CopyLab, L"L*a*b*(CSS lab)", Both, nullptr, true},
    {2, Command::CopyColorRefHex, L"COLORREF(16進)", Both, nullptr, true},
    {2, Command::CopyColorRefDec, L"COLORREF(10進)", Both, nullptr, true},
    {2, Command::CopyHWB, L"HWB", Both, nullptr, true},
    {2, Command::CopyLCH, L"LCH", Both, nullptr, true},
    {2, Command::CopyOKLab, L"OKLab", Both, nullptr, true},
    {2, Command::CopyOKLCH, L"OKLCH", Both, nullptr, true},
    {2, Command::CopyDisplayP3, L"display-p3", Both, nullptr, true},
    {2, Command::CopyLabD65, L"L*a*b*(D65)", Both, nullptr, true},
    {2, Command::CopyName, L"色の名前", Both, nullptr, true},
    {2, Command::CopyCustom1, L"書式1", Both, nullptr, true},
    {2, Command::CopyCustom2, L"書式2", Both, nullptr, true},
    {2, Command::CopyCustom3, L"書式3", Both, nullptr, true},
    {2, Command::CopyCustom4, L"書式4", Both, nullptr, true},
    {2, Command::CopyCustom5, L"書式5", Both, nullptr, true},
    {2, Command::CopyCustom6, L"書式6", Both, nullptr, true},
    {2, Command::CopyCustom7, L"書式7", Both, nullptr, true},
    {2, Command::CopyCustom8, L"書式8", Both, nullptr, true},
    {2, Command::CopyCustom9, L"書式9", Both, nullptr, true},
    {1, Command::ScreenValues, L"画面の値を表示(&W)"},
    {1, Command::None, L"-"},
    {1, Command::Pixel, L"標準モード(&T)", Both, nullptr, true},
    {1, Command::Pixels, L"平均値モード(&V)", Both, nullptr, true},
    {1, Command::None, L"-"},
    {1, Command::ColorClear, L"取得色の一覧のクリア(&D)"},
    {1, Command::None, L"-"},
    {1, Command::ColorSample, L"カラー・サンプルの表示(&S)"},
    {1, Command::None, L"-"},
    {1, Command::TOPMOST, L"常に手前に表示(&M)", Both, nullptr, true},
    {1, Command::NOTOPMOST, L"常に手前に表示の解除(&N)", Both, nullptr, true},
    {1, Command::None, L"-"},
    {1, Command::VariousColor, L"色の設定"},
    {1, Command::None, L"-"},
    {1, Command::OriginalMode, L"拡大鏡モード(&K)"},
    {0, Command::Tool, L"ツール(&T)"},
    {1, Command::ColorToImg, L"取得した色の一覧を画像として表示(&C)"},
    {1, Command::None, L"-"},
    {1, Command::ScreenCapture, L"スクリーン・キャプチャ(&S)"},
    {1, Command::WindowCapture, L"アクティブウインドウ・キャプチャ(&W)"},
    {1, Command::RectCapture, L"矩形領域・キャプチャ(&R)"},
    {1, Command::None, L"-", MainOnly},
    {1, Command::LoadCursor, L"ファイルからカーソルを読み込む", MainOnly},
    {1, Command::None, L"-"},
    {1, Command::HookHotKeyScope, L"ホットキーの有効範囲"},
    {2, Command::NotHookHotKey, L"Hueloomがｱｸﾃｨﾌﾞ時のみ有効", Both, nullptr, true},
    {2, Command::HookHotKey, L"いつでも有効", Both, nullptr, true},
    {1, Command::None, L"-"},
    {1, Command::Setting, L"設定(&O)"},
    {0, Command::Help, L"ヘルプ(&H)"},
    {1, Command::Hint, L"ヒント(&I)"},
    {1, Command::HelpHelp, L"ヘルプ(&H)"},
    {1, Command::None, L"-"},
    {1, Command::ShortCutCreate, L"ショートカットの作成"},
    {2, Command::ShortCutDesktop, L"デスクトップ"},
    {2, Command::ShortCutPrograms, L"スタートメニュー"},
    {1, Command::None, L"-"},
    {1, Command::SupportHP, L"サポート・ホームページ(&S)"},
    {1, Command::MailToMe, L"作者へメール(&M)"},
    {1, Command::None, L"-"},
    {1, Command::About, L"バージョン情報(&V)"},
    {0, Command::None, L"-", PopupOnly},
    {0, Command::PopupClose, L"メニューを閉じる", PopupOnly},
    {0, Command::IroCopy, L"色の値をコピー", PopupOnly},
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

std::wstring popupName(Command command) {
    return command == Command::None ? std::wstring() : L"p" + commandName(command);
}

}  // namespace hueloom::app
