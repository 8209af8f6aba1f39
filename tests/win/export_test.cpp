// Image output under Wine: every export format written and read back (BMP
// and PNG with our decoders, JPEG by its markers, EMF and WMF played back
// with GDI), the save command through the real save dialog, the clipboard
// copy and paste, and the print layout and page drawing.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image/codecs/png_decoder.h"
#include "image/bmp.h"
#include "editing/clipboard_win.h"
#include "image/win/dib_win.h"
#include "editing/export_win.h"
#include "image/file_io.h"
#include "editing/print_win.h"
#include "toolkit/application_win.h"
#include "toolkit/clipboard_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "win_test_support.h"

using hueloom::image::Dib;
using hueloom::image::RgbQuad;
namespace img = hueloom::image;
namespace editing = hueloom::editing;
namespace fs = std::filesystem;

namespace {

constexpr COLORREF kRed = RGB(220, 20, 30), kGreen = RGB(10, 200, 40), kBlue = RGB(20, 40, 230),
                   kYellow = RGB(250, 240, 10);

void put(Dib& d, int x, int y, COLORREF c) {
    uint8_t* p = d.scanLine(y) + x * (d.bitsPerPixel() / 8);
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

// Four solid quadrants: red, green / blue, yellow.
Dib quadrants(int w, int h, int bpp) {
    Dib d(w, h, bpp);
    if (bpp == 8) {
        d.setPalette({{GetBValue(kRed), GetGValue(kRed), GetRValue(kRed), 0},
                      {GetBValue(kGreen), GetGValue(kGreen), GetRValue(kGreen), 0},
                      {GetBValue(kBlue), GetGValue(kBlue), GetRValue(kBlue), 0},
                      {GetBValue(kYellow), GetGValue(kYellow), GetRValue(kYellow), 0}});
    }
    const COLORREF cs[4] = {kRed, kGreen, kBlue, kYellow};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int q = (x >= w / 2) + 2 * (y >= h / 2);
            if (bpp == 8)
                d.scanLine(y)[x] = static_cast<uint8_t>(q);
            else
                put(d, x, y, cs[q]);
        }
    return d;
}

COLORREF pixel(const Dib& d, int x, int y) {
    const Dib rgb = img::toBpp24(d);
    const uint8_t* p = rgb.scanLine(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

// Quadrant centres of a w × h picture.
struct Probe {
    int x, y;
    COLORREF c;
};
std::vector<Probe> quadrantProbes(int w, int h) {
    return {
        {w / 4, h / 4, kRed}, {3 * w / 4, h / 4, kGreen}, {w / 4, 3 * h / 4, kBlue}, {3 * w / 4, 3 * h / 4, kYellow}};
}

// A top-down DIB section's pixels (GetObject does not tell top-down
// sections apart, so they are copied row by row here).
Dib fromSection(const tk::DibSection& s) {
    Dib d(s.width(), s.height(), 32);
    for (int y = 0; y < s.height(); ++y) std::memcpy(d.scanLine(y), s.row(y), d.rowBytes());
    return d;
}

// Plays a metafile into a white w × h 32-bit picture.
Dib playBack(HENHMETAFILE emf, int w, int h) {
    tk::DibSection canvas(w, h, 32);
    {
        tk::MemoryDC mem;
        tk::Select sel(mem, canvas.handle());
        RECT all{0, 0, w, h};
        FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PlayEnhMetaFile(mem, emf, &all);
        GdiFlush();
    }
    return fromSection(canvas);
}

std::vector<uint8_t> readAll(const fs::path& p) { return img::readFileBytes(p, 1u << 30); }

// Types of the records in an enhanced metafile.
int CALLBACK collectType(HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM lp) {
    reinterpret_cast<std::vector<DWORD>*>(lp)->push_back(r->iType);
    return 1;
}
std::vector<DWORD> recordTypes(HENHMETAFILE emf) {
    std::vector<DWORD> types;
    EnumEnhMetaFile(nullptr, emf, collectType, &types, nullptr);
    return types;
}

// What the main window offers the output commands, recorded.
class FakeHost : public editing::ImageOutputHost {
public:
    HWND ownerWnd = nullptr;
    Dib image;
    bool hasImage = true;
    bool listMode = false;
    bool running = false;
    bool systemWide = false;
    bool dialogOpen = false;
    int undoForgotten = 0;
    int replaced = 0;
    std::vector<bool> scopeCalls;
    hueloom::settings::Settings s;

    HWND owner() override { return ownerWnd; }
    const Dib* workingImage() override { return hasImage && !image.isNull() ? &image : nullptr; }
    bool colourListMode() override { return listMode; }
    // Two swatches as filled rectangles: left half green, right half blue.
    void drawColourList(HDC dc, int width, int height) override {
        tk::Brush g(CreateSolidBrush(kGreen)), b(CreateSolidBrush(kBlue));
        tk::Select pen(dc, GetStockObject(NULL_PEN));
        {
            tk::Select br(dc, g);
            Rectangle(dc, 0, 0, width / 2 + 1, height + 1);
        }
        tk::Select br(dc, b);
        Rectangle(dc, width / 2, 0, width + 1, height + 1);
    }
    hueloom::settings::Settings& settings() override { return s; }
    bool systemWideHotKeys() override { return systemWide; }
    void setSystemWideHotKeys(bool on) override {
        systemWide = on;
        scopeCalls.push_back(on);
    }
    void setSavePictureDialogOpen(bool open) override { dialogOpen = open; }
    bool magnifierRunning() override { return running; }
    void forgetUndo() override { ++undoForgotten; }
    void replaceWorkingImage(Dib d) override {
        image = std::move(d);
        listMode = false;
        ++replaced;
    }
};

// A fresh folder per test process.
fs::path tempDir() {
    static fs::path dir = [] {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        fs::path d = fs::path(base) / (L"hueloom_export_" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::wstring tempFile(const std::wstring& name) { return (tempDir() / name).wstring(); }

struct Output : SharedFormSuite {
    TestForm* form = sharedForm;
    FakeHost host;
    void SetUp() override {
        ASSERT_TRUE(form->hwnd());
        host.ownerWnd = form->hwnd();
        host.image = quadrants(40, 30, 24);
        host.s.InitialDirImg = tk::narrow(tempDir().wstring());
    }
};

}  // namespace

// ---------------------------------------------------------------- writers

TEST_F(Output, BitmapFilesKeepTheirFormatPaletteAndPixels) {
    for (int bpp : {8, 15, 24, 32}) {
        Dib d = bpp == 8 ? quadrants(21, 9, 8) : Dib(21, 9, bpp);
        if (bpp != 8) {
            for (int y = 0; y < 9; ++y)
                for (size_t i = 0; i < d.rowBytes(); ++i) d.scanLine(y)[i] = static_cast<uint8_t>(i * 13 + y * 7);
            if (bpp == 32)
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < 21; ++x) d.scanLine(y)[x * 4 + 3] = 0;
            if (bpp == 15)
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < 21; ++x) d.scanLine(y)[x * 2 + 1] &= 0x7F;
        }
        const std::wstring f = tempFile(L"fmt" + std::to_wstring(bpp) + L".bmp");
        editing::writeBitmapFile(d, f);
        const Dib back = img::loadBmp(f);
        EXPECT_EQ(back.bitsPerPixel(), bpp);
        EXPECT_TRUE(back == d) << bpp;
    }
}

TEST_F(Output, PngFilesPaletteAndTruecolour) {
    const Dib pal = quadrants(17, 11, 8);
    const std::wstring f8 = tempFile(L"pal.png");
    editing::writePngFile(pal, 1, f8);
    const auto bytes8 = readAll(f8);
    const Dib back8 = hueloom::codecs::decodePng(bytes8);
    EXPECT_EQ(back8.bitsPerPixel(), 8);
    ASSERT_GE(back8.palette().size(), 4u);
    EXPECT_TRUE(std::equal(pal.palette().begin(), pal.palette().end(), back8.palette().begin()));
    for (int y = 0; y < 11; ++y) EXPECT_EQ(std::memcmp(back8.scanLine(y), pal.scanLine(y), 17), 0) << y;
    EXPECT_NE(std::search(bytes8.begin(), bytes8.end(), "PLTE", "PLTE" + 4), bytes8.end());

    const Dib rgb32 = quadrants(17, 11, 32);
    const std::wstring f32 = tempFile(L"true.png");
    editing::writePngFile(rgb32, 3, f32);
    const auto bytes32 = readAll(f32);
    const Dib back32 = hueloom::codecs::decodePng(bytes32);
    EXPECT_EQ(back32.bitsPerPixel(), 24);  // no alpha channel
    EXPECT_TRUE(back32 == img::toBpp24(rgb32));
    EXPECT_EQ(std::search(bytes32.begin(), bytes32.end(), "PLTE", "PLTE" + 4), bytes32.end());
    EXPECT_EQ(bytes32[25], 2);  // IHDR colour type: truecolour

    // Stored blocks: larger than the raw pixels; the best level is far smaller.
    const Dib big = quadrants(200, 100, 24);
    editing::writePngFile(big, 0, tempFile(L"stored.png"));
    editing::writePngFile(big, 3, tempFile(L"best.png"));
    const auto stored = fs::file_size(tempFile(L"stored.png")), best = fs::file_size(tempFile(L"best.png"));
    EXPECT_GT(stored, 200u * 100u * 3u);
    EXPECT_LT(best * 10, stored);

    // A capture larger than one compression piece, smooth colours below the
    // flat ones.
    Dib large = quadrants(1500, 1000, 32);
    for (int y = 500; y < 1000; ++y)
        for (int x = 0; x < 1500; ++x) put(large, x, y, RGB(x & 255, y & 255, (x + y) / 10 & 255));
    editing::writePngFile(large, 1, tempFile(L"large.png"));
    EXPECT_TRUE(hueloom::codecs::decodePng(readAll(tempFile(L"large.png"))) == img::toBpp24(large));
}

namespace {
// The SOF marker and its dimensions / component count in a JPEG file.
struct JpegFrame {
    int marker = 0, width = 0, height = 0, components = 0;
    bool jfif = false;
};
JpegFrame jpegFrame(const std::vector<uint8_t>& b) {
    JpegFrame f;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return f;
    size_t i = 2;
    while (i + 4 <= b.size() && b[i] == 0xFF) {
        const int m = b[i + 1];
        const size_t len = (b[i + 2] << 8) | b[i + 3];
        if (m == 0xE0 && i + 9 <= b.size()) f.jfif = std::memcmp(&b[i + 4], "JFIF", 4) == 0;
        if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC && i + 10 <= b.size()) {
            f.marker = m;
            f.height = (b[i + 5] << 8) | b[i + 6];
            f.width = (b[i + 7] << 8) | b[i + 8];
            f.components = b[i + 9];
            return f;
        }
        i += 2 + len;
    }
    return f;
}
}  // namespace

TEST_F(Output, JpegFilesAreBaselineJfifAtBothQualityExtremes) {
    const Dib d = quadrants(33, 21, 8);
    editing::writeJpegFile(d, 1, tempFile(L"q1.jpg"));
    editing::writeJpegFile(d, 100, tempFile(L"q100.jpg"));
    for (const wchar_t* name : {L"q1.jpg", L"q100.jpg"}) {
        const auto bytes = readAll(tempFile(name));
        const JpegFrame f = jpegFrame(bytes);
        EXPECT_TRUE(f.jfif) << name;
        EXPECT_EQ(f.marker, 0xC0) << name;  // baseline
        EXPECT_EQ(f.width, 33);
        EXPECT_EQ(f.height, 21);
        EXPECT_EQ(f.components, 3);
        EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
        EXPECT_EQ(bytes.back(), 0xD9);
    }
    EXPECT_LT(fs::file_size(tempFile(L"q1.jpg")), fs::file_size(tempFile(L"q100.jpg")));
}

TEST_F(Output, EnhancedMetafileHoldsTheBitmapAtItsScreenSize) {
    editing::EnhMetaFile emf = editing::workingImageMetafile(host);
    ASSERT_TRUE(emf);
    const std::wstring f = tempFile(L"pic.emf");
    editing::writeMetafileFile(emf.get(), 40, 30, f);
    const auto bytes = readAll(f);
    ASSERT_GT(bytes.size(), 88u);
    EXPECT_EQ(bytes[0], 1);  // EMR_HEADER
    EXPECT_EQ(std::memcmp(&bytes[40], " EMF", 4), 0);  // its signature
    editing::EnhMetaFile loaded(GetEnhMetaFileW(f.c_str()));
    ASSERT_TRUE(loaded);
    ENHMETAHEADER h{};
    GetEnhMetaFileHeader(loaded.get(), sizeof h, &h);
    tk::WindowDC screen(nullptr);
    EXPECT_EQ(h.rclFrame.right - h.rclFrame.left,
              editing::pixelsToHundredthsMm(40, GetDeviceCaps(screen, HORZSIZE), GetDeviceCaps(screen, HORZRES)));
    const auto types = recordTypes(loaded.get());
    EXPECT_NE(std::find(types.begin(), types.end(), EMR_STRETCHDIBITS), types.end());
    // Drawn one pixel wider and higher than the picture.
    EXPECT_EQ(h.rclBounds.right, 40);
    EXPECT_EQ(h.rclBounds.bottom, 30);
    const Dib shown = playBack(loaded.get(), 40, 30);
    for (const Probe& p : quadrantProbes(40, 30)) EXPECT_EQ(pixel(shown, p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST_F(Output, PlaceableWindowsMetafilePlaysBackThePicture) {
    editing::EnhMetaFile emf = editing::workingImageMetafile(host);
    const std::wstring f = tempFile(L"pic.wmf");
    editing::writeMetafileFile(emf.get(), 40, 30, f);
    const auto bytes = readAll(f);
    ASSERT_GT(bytes.size(), 22u + 18u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[1], 0xCD);
    EXPECT_EQ(bytes[2], 0xC6);
    EXPECT_EQ(bytes[3], 0x9A);
    auto w16 = [&](size_t at) { return bytes[at] | (bytes[at + 1] << 8); };
    EXPECT_EQ(w16(10), 40);  // right
    EXPECT_EQ(w16(12), 30);  // bottom
    EXPECT_EQ(w16(14), 96);  // units per inch
    int x = 0;
    for (int i = 0; i < 10; ++i) x ^= w16(i * 2);
    EXPECT_EQ(w16(20), x);  // checksum
    EXPECT_EQ(w16(22), 1);  // METAHEADER: memory metafile
    METAFILEPICT mfp{MM_ANISOTROPIC, 40 * 2540 / 96, 30 * 2540 / 96, nullptr};
    editing::EnhMetaFile played(
        SetWinMetaFileBits(static_cast<UINT>(bytes.size() - 22), bytes.data() + 22, nullptr, &mfp));
    ASSERT_TRUE(played);
    const Dib shown = playBack(played.get(), 40, 30);
    for (const Probe& p : quadrantProbes(40, 30)) EXPECT_EQ(pixel(shown, p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST_F(Output, ColourListModeRecordsTheSwatchesAsVectors) {
    host.listMode = true;
    editing::EnhMetaFile emf = editing::workingImageMetafile(host);
    ASSERT_TRUE(emf);
    const auto types = recordTypes(emf.get());
    EXPECT_EQ(std::find(types.begin(), types.end(), EMR_STRETCHDIBITS), types.end());
    EXPECT_EQ(std::count(types.begin(), types.end(), EMR_RECTANGLE), 2);
    const Dib shown = playBack(emf.get(), 40, 30);
    EXPECT_EQ(pixel(shown, 5, 15), kGreen);
    EXPECT_EQ(pixel(shown, 35, 15), kBlue);
    // The .wmf of it too.
    editing::writeMetafileFile(emf.get(), 40, 30, tempFile(L"list.wmf"));
    const auto bytes = readAll(tempFile(L"list.wmf"));
    EXPECT_EQ(bytes[0], 0xD7);
}

TEST_F(Output, UnwritableTargetThrowsAndShowsNoConfirmation) {
    editing::ImageExport exporter(host);
    const std::wstring f = tempFile(L"no such folder\\x.png");
    EXPECT_THROW(exporter.saveAs(f), std::exception);
    EXPECT_EQ(hueloom::dialogs::TfrmMyDlg::current(), nullptr);
    EXPECT_FALSE(exporter.saveAs(tempFile(L"x.gif")));  // unknown: nothing written
    EXPECT_FALSE(fs::exists(tempFile(L"x.gif")));
}

// ---------------------------------------------------------------- the save command

namespace {

// Drives whatever modal window is up during a command, from a thread timer
// that runs inside the modal loops: the save dialog gets the scripted steps,
// information boxes are read and closed. After ~10 s everything still open is
// cancelled, so no test can hang.
struct Driver {
    static inline editing::ImageExport* exporter = nullptr;
    static inline FakeHost* host = nullptr;
    static inline std::vector<std::function<bool(HWND)>> steps;
    static inline size_t next = 0;
    static inline bool dialogSeen = false, timedOut = false, tickBox = false;
    static inline bool quietWhileOpen = true;
    static inline std::vector<std::pair<std::wstring, std::wstring>> boxes;
    static inline std::vector<POINT> boxAt;
    static inline int ticks = 0;

    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        if (hueloom::dialogs::TfrmMyDlg* box = hueloom::dialogs::TfrmMyDlg::current(); box && box->visible()) {
            if (!box->isModal() || box->modalResult() != 0) return;
            boxes.emplace_back(box->lblTitle.caption(), box->lblContent.caption());
            RECT r;
            GetWindowRect(box->hwnd(), &r);
            boxAt.push_back({r.left, r.top});
            if (tickBox) box->CheckBox1.setChecked(true);
            box->setModalResult(IDOK);
            return;
        }
        HWND dlg = exporter ? exporter->SavePictureDialog1.handle() : nullptr;
        if (!dlg && ticks > 400) {
            // A dialog our hook never saw.
            timedOut = true;
            if (HWND other = FindWindowW(L"#32770", L"画像ファイルとして保存"))
                PostMessageW(other, WM_COMMAND, IDCANCEL, 0);
        }
        if (dlg && IsWindowVisible(dlg)) {
            dialogSeen = true;
            if (host->systemWide || !host->dialogOpen) quietWhileOpen = false;
            if (ticks > 400) {
                timedOut = true;
                PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            if (next < steps.size() && steps[next](dlg)) ++next;
        }
        if (ticks > 500) {
            timedOut = true;
            if (hueloom::dialogs::TfrmMyDlg* b = hueloom::dialogs::TfrmMyDlg::current()) b->setModalResult(IDCANCEL);
        }
    }

    static void run(editing::ImageExport& e, FakeHost& h, std::vector<std::function<bool(HWND)>> script,
                    bool tick = false) {
        exporter = &e;
        host = &h;
        steps = std::move(script);
        next = 0;
        dialogSeen = timedOut = false;
        quietWhileOpen = true;
        tickBox = tick;
        boxes.clear();
        boxAt.clear();
        ticks = 0;
        UINT_PTR id = SetTimer(nullptr, 0, 25, Driver::tick);
        EXPECT_NO_THROW(e.mnuImgSaveClick());
        KillTimer(nullptr, id);
        pump();
        EXPECT_FALSE(timedOut) << "had to be cancelled by the watchdog";
        EXPECT_EQ(next, steps.size()) << "not every step of the script ran";
    }
};

HWND fileNameControl(HWND dlg) {
    for (int id : {cmb13, edt1}) {
        HWND c = GetDlgItem(dlg, id);
        if (c && IsWindowVisible(c)) return c;
    }
    return nullptr;
}

std::function<bool(HWND)> typeName(const std::wstring& name) {
    return [name](HWND dlg) {
        HWND c = fileNameControl(dlg);
        if (!c) return false;
        SetWindowTextW(c, name.c_str());
        return true;
    };
}

std::function<bool(HWND)> press(int id) {
    return [id](HWND dlg) {
        PostMessageW(dlg, WM_COMMAND, id, 0);
        return true;
    };
}

std::function<bool(HWND)> chooseFilter(int index) {
    return [index](HWND dlg) {
        HWND combo = GetDlgItem(dlg, cmb1);
        if (!combo) return false;
        SendMessageW(combo, CB_SETCURSEL, index - 1, 0);
        // What a user's pick sends: the change, then the confirmed choice.
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        return true;
    };
}

HWND listView(HWND dlg) {
    HWND view = FindWindowExW(dlg, nullptr, L"SHELLDLL_DefView", nullptr);
    return view ? FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
}

// Selects the first file of the list as a user's click would.
std::function<bool(HWND)> selectFirstFile() {
    return [](HWND dlg) {
        HWND lv = listView(dlg);
        if (!lv || SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0) < 1) return false;
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(lv, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        return true;
    };
}

std::function<bool(HWND)> check(const std::function<void()>& fn) {
    return [fn](HWND) {
        fn();
        return true;
    };
}

}  // namespace

TEST_F(Output, NoImageSaysSoBesideTheWindowWithoutADialog) {
    host.hasImage = false;
    editing::ImageExport exporter(host);
    Driver::run(exporter, host, {});
    EXPECT_FALSE(Driver::dialogSeen);
    ASSERT_EQ(Driver::boxes.size(), 1u);
    EXPECT_EQ(Driver::boxes[0].first, L"確認");
    EXPECT_EQ(Driver::boxes[0].second, L"No image!");
    RECT owner;
    GetWindowRect(form->hwnd(), &owner);
    EXPECT_EQ(Driver::boxAt[0].x, owner.right);
    EXPECT_EQ(Driver::boxAt[0].y, owner.top);
}

TEST_F(Output, SaveThroughTheDialogWritesConfirmsOnceAndRemembersTheFolder) {
    host.systemWide = true;
    editing::ImageExport exporter(host);
    fs::create_directories(tempDir() / L"sub");
    const std::wstring target = (tempDir() / L"sub" / L"Shot.PNG").wstring();
    Driver::run(exporter, host, {typeName(target), press(IDOK)}, /*tick the box*/ true);
    EXPECT_TRUE(Driver::dialogSeen);
    EXPECT_TRUE(Driver::quietWhileOpen) << "hot keys must be off and the dialog flag up while it is open";
    EXPECT_TRUE(host.systemWide) << "scope restored";
    EXPECT_EQ(host.scopeCalls, (std::vector<bool>{false, true}));
    EXPECT_FALSE(host.dialogOpen);
    ASSERT_TRUE(fs::exists(target));
    EXPECT_TRUE(hueloom::codecs::loadPng(target) == img::toBpp24(host.image));
    ASSERT_EQ(Driver::boxes.size(), 1u);
    EXPECT_EQ(Driver::boxes[0].first, L"Hueloom");
    EXPECT_EQ(Driver::boxes[0].second, L"< " + target + L" > 保存しました!");
    EXPECT_TRUE(host.s.Msg_ID[2]);
    EXPECT_EQ(tk::widen(host.s.InitialDirImg), (tempDir() / L"sub").wstring());
    EXPECT_EQ(exporter.SavePictureDialog1.FileName, L"Untitled");
    EXPECT_EQ(exporter.SavePictureDialog1.FilterIndex, 1);

    // Once ticked, no more confirmations; an unknown extension writes
    // nothing and says nothing but still moves the folder.
    const std::wstring bmp = tempFile(L"second.bmp");
    Driver::run(exporter, host, {typeName(bmp), press(IDOK)});
    EXPECT_TRUE(fs::exists(bmp));
    EXPECT_TRUE(Driver::boxes.empty());
    const std::wstring gif = (tempDir() / L"sub" / L"third.gif").wstring();
    Driver::run(exporter, host, {typeName(gif), press(IDOK)});
    EXPECT_FALSE(fs::exists(gif));
    EXPECT_TRUE(Driver::boxes.empty());
    EXPECT_EQ(tk::widen(host.s.InitialDirImg), (tempDir() / L"sub").wstring());
}

TEST_F(Output, CancelLeavesTheFolderAndRestoresTheScope) {
    host.systemWide = true;
    host.s.InitialDirImg = "C:\\somewhere";
    editing::ImageExport exporter(host);
    Driver::run(exporter, host, {press(IDCANCEL)});
    EXPECT_TRUE(Driver::dialogSeen);
    EXPECT_EQ(host.s.InitialDirImg, "C:\\somewhere");
    EXPECT_TRUE(host.systemWide);
    EXPECT_FALSE(host.dialogOpen);
    EXPECT_TRUE(Driver::boxes.empty());
}

TEST_F(Output, SelectionChangeSetsTheDefaultExtensionFromTheFilter) {
    host.s.Msg_ID[2] = true;
    fs::create_directories(tempDir() / L"sel");
    host.s.InitialDirImg = tk::narrow((tempDir() / L"sel").wstring());
    editing::writePngFile(quadrants(64, 48, 24), 1, (tempDir() / L"sel" / L"existing.png").wstring());
    editing::ImageExport exporter(host);
    std::wstring extBefore, extAfter, preview, previewText;
    Driver::run(exporter, host,
                {check([&] { extBefore = exporter.SavePictureDialog1.DefaultExt; }), chooseFilter(4), selectFirstFile(),
                 [&](HWND) { return exporter.SavePictureDialog1.DefaultExt == L"png"; }, check([&] {
                     extAfter = exporter.SavePictureDialog1.DefaultExt;
                     preview = exporter.SavePictureDialog1.previewFile();
                     previewText = exporter.SavePictureDialog1.previewText();
                 }),
                 typeName(L"typed"), press(IDOK)});
    EXPECT_EQ(extBefore, L"jpg");
    EXPECT_EQ(extAfter, L"png");
    EXPECT_EQ(preview, (tempDir() / L"sel" / L"existing.png").wstring());
    EXPECT_EQ(previewText, L"64 x 48");
    const fs::path typed = tempDir() / L"sel" / L"typed.png";
    std::string listing;
    for (const auto& e : fs::directory_iterator(tempDir() / L"sel")) listing += e.path().filename().string() + " ";
    ASSERT_TRUE(fs::exists(typed)) << listing;
    EXPECT_EQ(readAll(typed)[1], 'P');
    // The default extension stays for the next run.
    EXPECT_EQ(exporter.SavePictureDialog1.DefaultExt, L"png");
}

// ---------------------------------------------------------------- clipboard

namespace {
bool offered(UINT format) { return IsClipboardFormatAvailable(format) != 0; }

DWORD WINAPI holdClipboard(void* p) {
    auto* events = static_cast<HANDLE*>(p);
    if (OpenClipboard(nullptr)) {
        SetEvent(events[0]);
        WaitForSingleObject(events[1], 5000);
        CloseClipboard();
    } else {
        SetEvent(events[0]);
    }
    return 0;
}
}  // namespace

TEST_F(Output, CopyBitmapOffersAPaletteOnlyForPaletteImagesAndPastesBack) {
    editing::ImageClipboard clip(host);
    host.image = quadrants(16, 12, 8);
    clip.mnuCopyBMPClick();
    EXPECT_TRUE(offered(CF_BITMAP));
    EXPECT_TRUE(offered(CF_PALETTE));
    EXPECT_TRUE(editing::ImageClipboard::canPaste());
    const Dib original = host.image;
    host.image = Dib(3, 3, 24);
    host.listMode = true;
    clip.mnuPasteClick();
    EXPECT_EQ(host.undoForgotten, 1);
    EXPECT_GE(host.replaced, 1);
    EXPECT_FALSE(host.listMode);
    ASSERT_EQ(host.image.width(), 16);
    ASSERT_EQ(host.image.height(), 12);
    for (const Probe& p : quadrantProbes(16, 12)) EXPECT_EQ(pixel(host.image, p.x, p.y), p.c);

    host.image = quadrants(16, 12, 24);
    clip.mnuCopyBMPClick();
    EXPECT_TRUE(offered(CF_BITMAP));
    EXPECT_FALSE(offered(CF_PALETTE));
    EXPECT_FALSE(offered(CF_ENHMETAFILE));
}

TEST_F(Output, CopyMetafileThenPasteGivesThePictureAtItsFrameSize) {
    editing::ImageClipboard clip(host);
    clip.mnuCopyEMFClick();
    EXPECT_TRUE(offered(CF_ENHMETAFILE));
    EXPECT_TRUE(offered(CF_METAFILEPICT));
    EXPECT_FALSE(offered(CF_PALETTE));
    host.image = Dib(2, 2, 24);
    clip.mnuPasteClick();
    EXPECT_NEAR(host.image.width(), 40, 1);
    EXPECT_NEAR(host.image.height(), 30, 1);
    for (const Probe& p : quadrantProbes(host.image.width(), host.image.height()))
        EXPECT_EQ(pixel(host.image, p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST_F(Output, PastedDibV5KeepsItsAlphaOverTheImageAreasColour) {
    // A 2 x 1 top-down 32-bit DIBV5 with an alpha mask: one pixel opaque
    // red, one half-transparent green, over an image area of (0, 0, 200).
    host.s.ImgBKColor = RGB(0, 0, 200);
    BITMAPV5HEADER h{};
    h.bV5Size = sizeof h;
    h.bV5Width = 2;
    h.bV5Height = -1;
    h.bV5Planes = 1;
    h.bV5BitCount = 32;
    h.bV5Compression = BI_BITFIELDS;
    h.bV5RedMask = 0xFF0000, h.bV5GreenMask = 0xFF00, h.bV5BlueMask = 0xFF, h.bV5AlphaMask = 0xFF000000;
    h.bV5CSType = 0x73524742;  // LCS_sRGB, "sRGB"
    const DWORD pixels[2] = {0xFFFF0000, 0x8000FF00};
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof h + sizeof pixels);
    auto* p = static_cast<BYTE*>(GlobalLock(mem));
    std::memcpy(p, &h, sizeof h);
    std::memcpy(p + sizeof h, pixels, sizeof pixels);
    GlobalUnlock(mem);
    {
        tk::Clipboard c(form->hwnd());
        c.empty();
        ASSERT_TRUE(SetClipboardData(CF_DIBV5, mem));
    }
    editing::ImageClipboard(host).mnuPasteClick();
    ASSERT_EQ(host.image.width(), 2);
    EXPECT_EQ(pixel(host.image, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixel(host.image, 1, 0), RGB(0, 128, 100));  // (255·128 + 0·127) / 255, (0 + 200·127) / 255
}

TEST_F(Output, PasteDoesNothingWhileTheMagnifierRunsOrWithNothingToTakeAndThenKeepsUndo) {
    editing::ImageClipboard clip(host);
    clip.mnuCopyBMPClick();
    host.running = true;
    const Dib before = host.image;
    host.image = Dib(5, 5, 24);
    clip.mnuPasteClick();
    EXPECT_EQ(host.undoForgotten, 0);
    EXPECT_EQ(host.replaced, 0);
    EXPECT_EQ(host.image.width(), 5);

    host.running = false;
    {
        tk::Clipboard c(form->hwnd());
        c.empty();
        c.setText(L"just text");
    }
    EXPECT_FALSE(editing::ImageClipboard::canPaste());
    clip.mnuPasteClick();
    EXPECT_EQ(host.undoForgotten, 0);  // the snapshot still undoes what came before
    EXPECT_EQ(host.replaced, 0);
    EXPECT_EQ(host.image.width(), 5);
}

TEST_F(Output, ClipboardHeldByAnotherThreadIsReportedAndChangesNothing) {
    editing::ImageClipboard clip(host);
    HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE t = CreateThread(nullptr, 0, holdClipboard, events, 0, nullptr);
    WaitForSingleObject(events[0], 5000);
    std::string message;
    try {
        clip.mnuCopyBMPClick();
    } catch (const std::exception& e) {
        message = e.what();
    }
    std::string emfMessage = "(no error)";
    try {
        clip.mnuCopyEMFClick();
    } catch (const std::exception& e) {
        emfMessage = e.what();
    }
    SetEvent(events[1]);
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
    CloseHandle(events[0]);
    CloseHandle(events[1]);
    EXPECT_EQ(message, "クリップボードを開くことができません");
    EXPECT_EQ(emfMessage, message);
}

TEST(MetafilePicture, SizeFollowsTheFrameAtTheReferenceResolution) {
    editing::EnhMetaFile emf = editing::recordMetafile(120, 80, [](HDC dc) {
        tk::Brush red(CreateSolidBrush(kRed));
        // Covers the whole frame once, so playback maps it as recorded.
        RECT mark{0, 0, 1, 1}, r{40, 20, 80, 60}, corner{119, 79, 120, 80};
        FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc, &r, red);
    });
    const SIZE s = editing::metafilePixelSize(emf.get());
    EXPECT_NEAR(s.cx, 120, 1);
    EXPECT_NEAR(s.cy, 80, 1);
    const Dib d = editing::pictureFromMetafile(emf.get());
    EXPECT_EQ(d.width(), s.cx);
    EXPECT_EQ(pixel(d, 60, 40), kRed);
    // Played onto white.
    EXPECT_EQ(pixel(d, 20, 40), RGB(255, 255, 255));
    EXPECT_EQ(pixel(d, 100, 40), RGB(255, 255, 255));
    EXPECT_EQ(pixel(d, 0, 0), RGB(0, 0, 0));
}

// ---------------------------------------------------------------- printing

TEST(PrintLayout, PaletteImageIsDrawnInItsColoursIntoTheTarget) {
    tk::DibSection page(200, 150, 32);
    const Dib image = quadrants(4, 4, 8);
    {
        tk::MemoryDC mem;
        tk::Select sel(mem, page.handle());
        RECT all{0, 0, 200, 150};
        FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        editing::drawImageOnPage(mem, image, {50, 25, 100, 100});
        GdiFlush();
    }
    const Dib shown = fromSection(page);
    EXPECT_EQ(pixel(shown, 75, 50), kRed);
    EXPECT_EQ(pixel(shown, 125, 50), kGreen);
    EXPECT_EQ(pixel(shown, 75, 100), kBlue);
    EXPECT_EQ(pixel(shown, 125, 100), kYellow);
    EXPECT_EQ(pixel(shown, 49, 50), RGB(255, 255, 255));
    EXPECT_EQ(pixel(shown, 150, 50), RGB(255, 255, 255));
    EXPECT_EQ(pixel(shown, 75, 24), RGB(255, 255, 255));
}

TEST_F(Output, PrintingWithoutAPrinterSaysSoAtOnceAndStartsNothing) {
    editing::ImagePrint print(host);
    if (!print.Printer.printers().empty()) GTEST_SKIP() << "a printer is installed here";
    const DWORD t = GetTickCount();
    std::string message;
    try {
        print.mnuPrintImageClick();
    } catch (const std::exception& e) {
        message = e.what();
    }
    EXPECT_LT(GetTickCount() - t, 5000u);
    EXPECT_EQ(message, "プリンタがインストールされていません");
    EXPECT_FALSE(print.Printer.printing());
    // Every query of the printer wrapper refuses without a device.
    EXPECT_THROW(print.Printer.pageSize(), std::exception);
    EXPECT_THROW(print.Printer.beginDoc(editing::ImagePrint::kJobTitle), std::exception);
}
