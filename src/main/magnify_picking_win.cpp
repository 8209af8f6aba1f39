// TfrmMagnify's picked colours: copying the value into the list, the colour
// memo, the colour sample window, and the colour-list image (the picked
// colours drawn as square swatches, shown as the working image and redrawn as
// vectors for metafile output).
#include <windows.h>

#include <algorithm>
#include <cstring>

#include <commctrl.h>
#include <commdlg.h>

#include "main/magnify_win.h"
#include "core/colour_names.h"
#include "picking/list_contrast.h"
#include "picking/palette_files.h"
#include "picking/swatch_grid.h"
#include "image/file_io.h"
#include "image/win/dib_win.h"
#include "toolkit/file_types_win.h"
#include "toolkit/application_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "core/ansi_text.h"
#include "toolkit/clipboard_win.h"
#include "toolkit/controls/common_controls_win.h"
#include "core/texts.h"

namespace hueloom::app {

using hueloom::image::Dib;

namespace {

int areaWidth(const tk::ScrollBox& box) {
    RECT r = box.bounds();
    return r.right - r.left;
}

}  // namespace

SIZE TfrmMagnify::colourListSize() const {
    auto g = picking::layoutSwatches(model_.picked().count(), settings.OptionRectWidth, areaWidth(ScrollBox1));
    return {g.width, g.height};
}

namespace {

// A solid rectangle, right and bottom edges excluded as FillRect has them.
// Drawn as a polygon without outline (a null pen draws Rectangle one pixel
// smaller, hence the + 1): in a metafile it is a rectangle record that every
// reader draws, where FillRect's PATBLT is left out by some.
void solidRect(HDC dc, const hueloom::Rect& r, COLORREF colour) {
    tk::Brush brush(CreateSolidBrush(colour));
    tk::Select b(dc, brush.get());
    tk::Select p(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
}

}  // namespace

void TfrmMagnify::drawColourList(HDC dc, bool raster) {
    const int s = settings.OptionRectWidth;
    const auto& colours = model_.picked().colours();
    auto g = picking::layoutSwatches(model_.picked().count(), settings.OptionRectWidth, areaWidth(ScrollBox1));
    if (g.empty()) return;
    if (raster) solidRect(dc, {0, 0, g.width, g.height}, RGB(255, 255, 255));
    for (int k = 0; k < static_cast<int>(colours.size()); ++k) {
        const Rgb colour = colours[static_cast<size_t>(k)];
        solidRect(dc, g.cell(k, s), RGB(colour.r, colour.g, colour.b));
    }
}

void TfrmMagnify::rebuildColourList() {
    SIZE sz = colourListSize();
    if (sz.cx <= 0 || sz.cy <= 0) {
        setWorkingImage(Dib());
        return;
    }
    tk::DibSection section(sz.cx, sz.cy, 24);
    if (!section) return;
    {
        tk::MemoryDC mem;
        tk::Select sel(mem, section.handle());
        drawColourList(mem, true);
        GdiFlush();
    }
    Dib dib(sz.cx, sz.cy, 24);
    for (int y = 0; y < sz.cy; ++y) std::memcpy(dib.scanLine(y), section.row(y), dib.rowBytes());
    setWorkingImage(std::move(dib));
}

void TfrmMagnify::mnuColorToImgClick() {
    colourListMode_ = true;
    StopMagnifier();
    rebuildColourList();
    if (!settings.message(settings::Message::ColourListNote)) {
        RECT r = bounds();
        settings.message(settings::Message::ColourListNote) =
            hueloom::dialogs::ShowInfoBox(hueloom::wideText("main.picking.1"), hueloom::wideText("main.picking.2"),
                                          r.right, r.top, true, settings.ActiveColor);
    }
    setText(hueloom::wideText("main.picking.3"));
    showListContrast();
    reapplySwitches();
}

// ------------------------------------------------------------------ memo

// Writes a file of the picked list (memo or palette) through the one atomic
// writer: a failed save keeps the earlier file and says why.
bool TfrmMagnify::writeListFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    try {
        hueloom::image::writeFileBytes(std::filesystem::path(path), bytes);
        return true;
    } catch (const hueloom::image::ImageError& e) {
        MessageBoxW(hwnd_, tk::widen(e.what(), CP_UTF8).c_str(), tk::app().title().c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
}

// ------------------------------------------------------------------ picked colours

void TfrmMagnify::showListContrast() {
    const std::vector<std::string> lines = picking::listContrastLines(model_.picked());
    // Under the colour-list image the first comparison, which fits the
    // window; the list's tooltip has them all, one a line.
    if (colourListMode_) {
        lblPickColor1.setFont(windowFont_);
        lblPickColor1.setCaption(lines.empty() ? hueloom::wideText("main.picking.4") : tk::widen(lines.front()));
    }
    // The newest colour's CSS name first, then its comparisons.
    std::wstring tip;
    if (!model_.picked().empty())
        tip = tk::widen(picking::paletteEntries(model_.picked()).back().name + ": " +
                            colourNameText(model_.picked().colours().back()),
                        CP_UTF8);
    for (const std::string& line : lines) tip += (tip.empty() ? L"" : L"\r\n") + tk::widen(line);
    tk::setToolTip(listTip_, hwnd_, cbxPickColor.hwnd(), hwnd_, tip);
}

void TfrmMagnify::pmnuIroCopyClick() {
    if (!magnifierRunning()) return;
    // The colour under the pointer now: a move the follower has not shown
    // yet is shown first, so what is copied is what the user sees.
    followPointer(true);
    // Nothing shown (the pointer over the window): nothing to copy.
    const std::string text = model_.copyText();
    if (text.empty()) return;
    copyPickedColour(tk::widen(text, CP_UTF8), *model_.value());
}

void TfrmMagnify::mnuColorClearClick() {
    model_.clearPicked();
    cbxPickColor.clear();
    if (colourListMode_) {
        // The swatches go from the picture itself too, not only from view:
        // save, copy, print and the filters must not act on what is gone.
        setWorkingImage({});
    }
    showListContrast();
}

DWORD TfrmMagnify::askListFileName(std::wstring& file, const std::vector<tk::FileType>& types,
                                   const wchar_t* defaultExtension) {
    // The system-wide hot keys stay quiet while the dialog is open.
    const bool switched = model_.hotKeyScope() == HotKeyScope::Always;
    if (switched) mnuNotHookHotKeyClick();
    struct Restore {
        TfrmMagnify* self;
        bool on;
        ~Restore() {
            if (on) self->mnuHookHotKeyClick();
        }
    } restore{this, switched};

    const std::wstring initialDir = tk::widen(settings.InitialDirTxt);
    wchar_t name[MAX_PATH * 4] = {};
    lstrcpynW(name, file.c_str(), static_cast<int>(std::size(name)));
    OPENFILENAMEW ofn{sizeof(ofn)};
    ofn.hwndOwner = hwnd_;
    const std::wstring filter = tk::fileTypeFilter(types);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = static_cast<DWORD>(std::size(name));
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExtension;  // the dialog appends the chosen type's extension
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return 0;
    file = name;
    return ofn.nFilterIndex;
}

void TfrmMagnify::mnuSaveTxtClick() {
    const picking::PickedColours& picked = model_.picked();
    if (picked.empty()) return;
    // The first type keeps each value as it was copied; the others write
    // every colour of the list in one format.
    const auto formats = colourFormatNames();
    std::vector<tk::FileType> types{{hueloom::wideText("main.picking.5"), L"*.txt"}};
    for (const ColourFormatName& f : formats)
        types.push_back({hueloom::wideText("main.picking.6") + tk::widen(f.iniName) + L"(*.txt)", L"*.txt"});
    std::wstring file = memoFileName_;
    if (const DWORD type = askListFileName(file, types, L"txt")) {
        const std::string text = type >= 2 && type - 2 < formats.size()
                                     ? picking::memoTextIn(picked, formats[type - 2].format)
                                     : picked.memoText();
        if (!writeListFile(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))) return;
        memoFileName_ = file;
    }
    settings.InitialDirTxt = hueloom::folderOf(tk::narrow(memoFileName_));
}

void TfrmMagnify::mnuSavePaletteClick() {
    if (model_.picked().empty()) return;
    std::wstring file = L"Untitled";
    const DWORD type = askListFileName(file,
                                       {{hueloom::wideText("main.picking.7"), L"*.gpl"},
                                        {hueloom::wideText("main.picking.8"), L"*.css"},
                                        {L"JSON(*.json)", L"*.json"}},
                                       L"gpl");
    if (!type) return;
    // The type chosen in the dialog, unless the name already says it.
    const picking::PaletteTarget target = picking::paletteTarget(tk::narrow(file, CP_UTF8), static_cast<int>(type));
    const std::wstring path = tk::widen(target.fileName, CP_UTF8);
    std::string stem = target.fileName.substr(target.fileName.find_last_of("\\/") + 1);
    stem = stem.substr(0, stem.rfind('.'));
    const std::vector<uint8_t> bytes =
        picking::paletteBytes(target.kind, picking::paletteEntries(model_.picked()), stem);
    if (!writeListFile(path, bytes)) return;
    settings.InitialDirTxt = hueloom::folderOf(tk::narrow(path));
}

// ------------------------------------------------------------------ colour sample

void TfrmMagnify::mnuColorSampleClick() {
    if (!magnifierRunning()) return;
    colourSampleOpen_ = true;
    startSampling(false);
    Image1.clear();
    struct Restart {
        TfrmMagnify* f;
        ~Restart() {
            f->colourSampleOpen_ = false;
            f->startSampling(true);
        }
    } restart{this};
    hueloom::picking::ShowColorSample(*this);
}

// The colour copy shared by the hot key and the colour sample window: only
// once the value is on the clipboard does the list take it.
void TfrmMagnify::copyPickedColour(const std::wstring& shownText, Rgb colour) {
    // The copy format chosen, whoever copies (the hot key, the colour sample).
    const std::wstring valueText =
        model_.copyFormat() ? tk::widen(model_.text(colour, *model_.copyFormat()), CP_UTF8) : shownText;
    if (valueText.empty()) return;
    {
        tk::Clipboard clip(hwnd_);
        clip.empty();
        clip.setText(valueText);
    }
    std::string entry = model_.pick(tk::narrow(valueText), colour);
    cbxPickColor.add(tk::widen(entry));
    cbxPickColor.select(cbxPickColor.count() - 1);
    showListContrast();
}

void TfrmMagnify::showReadout(const std::wstring& text) {
    lblPickColor1.setTransparent(false);
    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), tk::resolveColour(settings.MojiBKColor));
    lblPickColor1.setCaption(text);
}

void TfrmMagnify::clearReadout() {
    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), RGB(255, 255, 255));
    lblPickColor1.setCaption(L"");
}

}  // namespace hueloom::app
