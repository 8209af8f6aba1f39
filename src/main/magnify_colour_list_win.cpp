// The colour-list image: the picked colours drawn as square swatches, shown
// as the working image and redrawn as vectors for metafile output.
#include <windows.h>

#include <cstring>

#include "main/magnify_win.h"
#include "picking/swatch_grid.h"
#include "image/win/dib_win.h"
#include "settings/colour_key.h"
#include "toolkit/application_win.h"
#include "dialogs/infobox/info_box_win.h"

using hueloom::image::Dib;

namespace {

hueloom::app::SwatchGrid gridFor(const TfrmMagnify& f, int areaWidth) {
    return hueloom::app::layoutSwatches(f.picked().count(), f.settings.OptionRectWidth, areaWidth);
}

int areaWidth(const tk::ScrollBox& box) {
    RECT r = box.bounds();
    return r.right - r.left;
}

}  // namespace

SIZE TfrmMagnify::colourListSize() const {
    auto g = gridFor(*this, areaWidth(ScrollBox1));
    return {g.width, g.height};
}

void TfrmMagnify::drawColourList(HDC dc, bool raster) {
    const int s = settings.OptionRectWidth;
    auto g = gridFor(*this, areaWidth(ScrollBox1));
    if (g.empty()) return;
    if (raster) {
        RECT all{0, 0, g.width, g.height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    const auto& texts = pickedList_.colourTexts();
    for (int k = 0; k < static_cast<int>(texts.size()); ++k) {
        auto value = hueloom::settings::parseColourKey(texts[static_cast<size_t>(k)]);
        if (!value) continue;
        hueloom::Rect c = g.cell(k, s);
        RECT r{c.left, c.top, c.right, c.bottom};
        tk::Brush b(CreateSolidBrush(tk::resolveColour(*value)));
        FillRect(dc, &r, b);
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
    if (!settings.Msg_ID[3]) {
        RECT r = bounds();
        settings.Msg_ID[3] = ShowInfoBox(
            L"情報！",
            L"現在，拡大鏡＆色の取得を停止中です。\r\n表示(V)－拡大鏡モード(K)で元の状態に戻ります。\r\n\r\n"
            L"フォームをリサイズすると，横に表示される色の数が変化します。\r\n保存やコピー時の画像に反映されます。",
            r.right, r.top, true, settings.ActiveColor);
    }
    setText(L"取得した色を画像として表示");
    if (isChecked(L"mnuTOPMOST")) mnuTOPMOSTClick();
    if (isChecked(L"mnuNotHookHotKey")) mnuNotHookHotKeyClick();
    if (isChecked(L"mnuHookHotKey")) mnuHookHotKeyClick();
}
