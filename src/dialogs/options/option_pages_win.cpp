// The options dialog's seven pages and their controls, laid out at the
// dialog's dpi.
#include "dialogs/options/option_win.h"

#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "core/texts.h"

namespace hueloom::dialogs {

using namespace option_parts;

void TfrmCompressOption::buildPages() {
    auto s = [this](int v) { return scaled(v); };
    const RECT area = PageControl1.pageRect();
    for (int i = 0; i < dialogs::kOptionPageCount; ++i) {
        auto sheet = std::make_unique<Sheet>();
        sheet->create(hwnd_, area, pageColour(i));
        ShowWindow(sheet->hwnd(), SW_HIDE);
        sheets_.push_back(std::move(sheet));
    }
    const int pageW = area.right - area.left;
    auto text = [this](HWND parent, int x, int y, int w, int h, const std::wstring& s, HFONT f, COLORREF ink,
                       COLORREF back) -> tk::Label& {
        texts_.push_back(std::make_unique<tk::Label>());
        createText(*texts_.back(), parent, x, y, w, h, s, f, ink, back);
        return *texts_.back();
    };
    auto rule = [this](HWND parent, int x, int y, int w, int h, COLORREF c) {
        plain_.push_back(std::make_unique<tk::Label>());
        plain_.back()->create(parent, x, y, w, h);
        plain_.back()->setColours(c, c);
    };
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);

    // JPG
    {
        HWND p = sheets_[dialogs::kPageJPG]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageJPG);
        createText(Label1, p, s(88), s(32), s(200), s(16), wide(dialogs::jpgQualityCaption(1)), pageBoldFont_, black,
                   bg);
        JPGBar.create(p, s(80), s(48), s(209), s(41));
        JPGBar.setRange(dialogs::kJPGQualityMin, dialogs::kJPGQualityMax);
        JPGBar.setTickFrequency(dialogs::kJPGQualityTick);
        JPGBar.setHint(hueloom::wideText("options.page.1"));
        createText(Label2, p, s(88), s(96), s(220), s(60), L"", pageFont_, black, bg);
    }
    // PNG
    {
        HWND p = sheets_[dialogs::kPagePNG]->hwnd();
        RadioGroupPNG.create(p, s(128), s(34), s(113), s(171));
        RadioGroupPNG.setFont(pageFont_, pageBoldFont_);
        RadioGroupPNG.setBackground(pageColour(dialogs::kPagePNG));
        RadioGroupPNG.setCaption(hueloom::wideText("options.page.2"));
        RadioGroupPNG.setItems({hueloom::wideText("options.page.3"), hueloom::wideText("options.page.4"),
                                hueloom::wideText("options.page.5"), hueloom::wideText("options.page.6")});
    }
    // 色の画像
    {
        HWND p = sheets_[dialogs::kPageColorImage]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageColorImage);
        Edit1.create(p, s(138), s(24), s(41), s(23), 0, true);
        Edit1.setFont(pageFont_);
        UpDownRectWidth.create(p, s(179), s(24), s(16), s(23));
        UpDownRectWidth.setBuddy(Edit1.hwnd());
        UpDownRectWidth.setRange(dialogs::kRectWidthMin, dialogs::kRectWidthMax);
        createText(Label3, p, s(71), s(56), pageW - s(71) - s(4), s(60), L"", pageFont_, black, bg);
        // The interface's language.
        rule(p, s(8), s(128), pageW - s(16), s(2), workspace);
        text(p, s(16), s(140), s(120), s(16), hueloom::wideText("options.language"), pageFont_, black, bg);
        ComboLanguage.create(p, s(140), s(136), s(200), s(120), kLanguageListId);
        ComboLanguage.setFont(pageFont_);
        for (const char* key : {"options.language.auto", "language.ja", "language.en"})
            ComboLanguage.add(hueloom::wideText(key));
        text(p, s(16), s(166), pageW - s(24), s(32), hueloom::wideText("options.language.note"), noteFont_,
             RGB(0, 0, 128), bg);
    }
    // 平均値モード
    {
        HWND p = sheets_[dialogs::kPageAverage]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageAverage);
        RadioGroupAverage.create(p, s(72), s(16), s(96), s(204));
        RadioGroupAverage.setFont(pageFont_, windowFont_);  // the caption fits the group's width
        RadioGroupAverage.setBackground(bg);
        RadioGroupAverage.setCaption(hueloom::wideText("options.page.7"));
        RadioGroupAverage.setItems({hueloom::wideText("options.page.8"), hueloom::wideText("options.page.9"),
                                    hueloom::wideText("options.page.10"), hueloom::wideText("options.page.11"),
                                    hueloom::wideText("options.page.12"), hueloom::wideText("options.page.13"),
                                    hueloom::wideText("options.page.14")});
        createText(Label4, p, s(176), s(24), pageW - s(176) - s(4), s(150), L"", pageFont_, black, bg);
    }
    // 色の設定: three framed boxes of two swatches each.
    {
        HWND p = sheets_[dialogs::kPageColors]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageColors);
        const wchar_t* captions[dialogs::kOptionColourCount] = {
            hueloom::wideText("options.page.15"), hueloom::wideText("options.page.16"),
            hueloom::wideText("options.page.17"), hueloom::wideText("options.page.18"),
            hueloom::wideText("options.page.19"), hueloom::wideText("options.page.20")};
        for (int box = 0; box < 3; ++box) {
            auto frame = std::make_unique<tk::RadioGroup>();
            frame->create(p, s(40), s(8 + 72 * box), s(297), s(57));
            frame->setBackground(bg);
            HWND f = frame->hwnd();
            for (int side = 0; side < 2; ++side) {
                const int i = box * 2 + side;
                const int x = s(16 + 148 * side);
                text(f, x, s(12), s(130), s(16), captions[i], pageFont_, black, bg);
                rule(f, x, s(31), s(43), s(19), black);  // black backing
                colourLabels[static_cast<size_t>(i)].create(f, x + s(1), s(32), s(41), s(17));
                // Over its backing: a later sibling goes below the earlier ones.
                SetWindowPos(colourLabels[static_cast<size_t>(i)].hwnd(), HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                colourLabels[static_cast<size_t>(i)].onClick = [this, i] { ColourLabelClick(i); };
            }
            plainFrames_.push_back(std::move(frame));
        }
        createText(Label11, p, s(40), s(220), s(297), s(16), hueloom::wideText("options.page.21"), pageFont_, black,
                   bg);
    }
    // ホットキー
    {
        HWND p = sheets_[dialogs::kPageHotKeys]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageHotKeys);
        const int rowTop[dialogs::kOptionHotKeyCount] = {s(8), s(50), s(112), s(174)};
        for (int i = 0; i < dialogs::kOptionHotKeyCount; ++i) {
            const int y = rowTop[i];
            text(p, s(16), y + s(5), s(180), s(16), wide(dialogs::optionHotKeyCaption(i)), pageFont_, black, bg);
            hotKeys[static_cast<size_t>(i)].create(p, s(200), y, s(145), s(25));
            hotKeys[static_cast<size_t>(i)].setFont(windowFont_);  // room for three modifiers and the key
            if (i > 0) rule(p, s(8), y - s(7), pageW - s(16), s(2), workspace);
        }
        chbxPrintScreen.create(p, s(32), rowTop[1] + s(31), s(300), s(20), hueloom::wideText("options.page.22"));
        chbxAltPrintScreen.create(p, s(32), rowTop[2] + s(31), s(300), s(20), hueloom::wideText("options.page.23"));
        for (tk::CheckBox* cb : {&chbxPrintScreen, &chbxAltPrintScreen}) {
            cb->setFont(pageFont_);
            cb->setBackground(bg);
            cb->setTextColour(RGB(255, 0, 0));
        }
    }
    // ｷｬﾌﾟﾁｬ
    {
        HWND p = sheets_[dialogs::kPageCapture]->hwnd();
        const COLORREF bg = pageColour(dialogs::kPageCapture);
        edtSleep.create(p, s(16), s(8), s(97), s(23));
        edtSleep.setFont(pageFont_);
        text(p, s(120), s(12), s(260), s(16), hueloom::wideText("options.page.24"), pageFont_, black, bg);
        // The long explanations in the 13-pixel font, so their lines fit the page.
        text(p, s(16), s(36), pageW - s(24), s(32), hueloom::wideText("options.page.25"), noteFont_, RGB(255, 0, 0),
             bg);
        // A check box under a rule, with its note in green below it.
        auto check = [&](tk::CheckBox& box, int top, const char* caption, const char* note, int noteHeight) {
            rule(p, s(8), s(top - 8), pageW - s(16), s(2), workspace);
            box.create(p, s(16), s(top), s(300), s(20), hueloom::wideText(caption));
            box.setFont(pageFont_);
            box.setBackground(bg);
            text(p, s(16), s(top + 22), pageW - s(24), s(noteHeight), hueloom::wideText(note), noteFont_,
                 RGB(0, 128, 0), bg);
        };
        check(CheckCursorCapture, 80, "options.page.26", "options.page.27", 32);
        rule(p, s(8), s(138), pageW - s(16), s(2), workspace);
        ComboBox1.createOwnerDrawn(p, s(16), s(146), s(73), s(300), kCursorListId);
        ComboBox1.setFont(listFont_);
        for (const std::wstring& name : cursorNames_) ComboBox1.add(name);
        text(p, s(100), s(150), pageW - s(108), s(32), hueloom::wideText("options.page.28"), noteFont_, RGB(0, 0, 128),
             bg);
        check(CheckToSrgb, 192, "options.page.29", "options.page.30", 16);
    }
}

}  // namespace hueloom::dialogs
