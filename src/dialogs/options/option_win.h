// TfrmCompressOption, the options dialog "オプション設定", and
// ShowOptionDialog, which runs it over the running settings.
//
// A borderless 406 x 320 window with rounded top corners, framed in the
// active frame colour, with seven owner-drawn tab pages: JPEG quality, PNG
// compression, the swatch size of the colour-list image, the averaging size,
// the six display colours, the four hot keys with the two PrintScreen hooks,
// and the capture delay, cursor inclusion and stamping cursor. It has no OK
// or Cancel: however it is closed, every value is taken back. It does not
// close while one key is set for two commands.
//
// Wiring in the main window (mnuSettingClick; mnuPixels and mnuVariousColor
// and their pop-up twins land there too):
//
//   OptionDialogState st;
//   st.settings = settings;  st.averagingSize = averaging_;
//   st.cursorNames = <the 20 names of cbxCursor>;
//   st.cursorImage = <name -> cursor of the application's cursor table>;
//   st.chooseColor = <ChooseSampleColor, once the colour sample window has a
//                     selection mode; leave empty for the system colour dialog>;
//   if (ShowOptionDialog(st, hueloom::dialogs::firstOptionPage(command))) {
//       settings = st.settings;  averaging_ = st.averagingSize;
//       then, in this order: the image area's cursor := the cursor named by
//       entry settings.CaptureCursor; rebuild the colour-list image if it is
//       shown; the frame colour := settings.ActiveColor and repaint;
//       setMenuShortcuts(); invoke mnuNotHookHotKey or mnuHookHotKey,
//       whichever is checked, so the new keys are registered in that scope.
//   }
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "toolkit/controls/check_box_win.h"
#include "toolkit/controls/common_controls_win.h"
#include "toolkit/controls/label_win.h"
#include "toolkit/controls/combo_box_win.h"
#include "toolkit/controls/control_win.h"
#include "toolkit/controls/edit_box_win.h"
#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/controls/radio_group_win.h"
#include "toolkit/controls/cute_button_win.h"
#include "dialogs/options/option.h"

namespace hueloom::dialogs {

// What the main window hands the dialog and takes back.
struct OptionDialogState {
    // In and out: the running settings (JPGQuality, PNGQuality,
    // OptionRectWidth, the six colours, the four hot keys, both PrintScreen
    // flags, SleepTime, CaptureCursor, flgCursorCapture are edited; the other
    // fields pass through unchanged) and the averaging size (1 = standard
    // mode, 3, 5, ... 15).
    hueloom::settings::Settings settings;
    int averagingSize = 1;

    // In: the cursor list, index 0..19, e.g. L"crArrow". Empty: the standard
    // list (OptionCursorNames()).
    std::vector<std::wstring> cursorNames;
    // In: the cursor drawn for a list entry. Empty: OptionCursorByName.
    std::function<HCURSOR(const std::wstring& name)> cursorImage;
    // In: asked when a colour swatch is clicked, with the swatch's colour
    // value; true with `colour` set when the user confirmed a colour. Empty:
    // the system colour dialog.
    std::function<bool(unsigned& colour)> chooseColor;
};

// Runs the dialog modally on page `page` (OptionPage; an
// invalid index gives the first page), then copies every control back into
// `state`. Returns false, showing nothing and changing nothing, while another
// options dialog is open; throws std::runtime_error when the window cannot be
// created.
bool ShowOptionDialog(OptionDialogState& state, int page);

// The standard cursor list of the capture page, in order.
const std::vector<std::wstring>& OptionCursorNames();
// The platform cursor for one of those names: the system cursor of the same
// shape, or the program's cursor resource for the shapes the system lacks
// (nullptr when the program carries none).
HCURSOR OptionCursorByName(const std::wstring& name);
// The system colour dialog, opened on `colour` (a colour value; system colours
// are resolved). True with `colour` set to the chosen 00BBGGRR colour.
bool ChooseColorDialog(HWND owner, unsigned& colour);

// Shared by the dialog's two files (option_win.cpp, option_pages_win.cpp).
namespace option_parts {
inline constexpr UINT kCursorListId = 1001, kLanguageListId = 1002;
// Text of one or more lines on a page, over the page's colour.
void createText(tk::Label& label, HWND page, int x, int y, int w, int h, const std::wstring& text, HFONT font,
                COLORREF ink, COLORREF back);
COLORREF pageColour(int page);
std::wstring wide(std::string_view utf8);
}  // namespace option_parts

class TfrmCompressOption : public tk::Dialog, public tk::SingleInstance<TfrmCompressOption> {
public:
    // Creates the window and every page (hidden, centred on the screen).
    // `frameColor` is the running ActiveColor; the cursor list and chooser
    // as in OptionDialogState.
    bool create(unsigned frameColor, const std::vector<std::wstring>& cursorNames,
                std::function<HCURSOR(const std::wstring&)> cursorImage, std::function<bool(unsigned&)> chooseColor);

    // Pages.
    void setActivePage(int page);
    int activePage() const { return PageControl1.selected(); }
    tk::Control& page(int i) { return *sheets_[static_cast<size_t>(i)]; }

    // The values of the controls.
    void setControls(const hueloom::dialogs::OptionControls& c);
    hueloom::dialogs::OptionControls controls() const;
    // The colour a colour swatch holds (OptionColour index).
    unsigned swatchColour(int which) const;

    // Events.
    void FormCreate();
    void buildShape() override;
    void FormDpiChanged() override;
    void FormShow() override;
    void FormPaint(HDC dc) override;
    void JPGBarChange();
    void PageControl1Change();
    void PageControl1DrawTab(const DRAWITEMSTRUCT& di);
    void ComboBox1DrawItem(const DRAWITEMSTRUCT& di);
    void ColourLabelClick(int which);  // lblMojiColorClick and its five twins
    void CuteButton1Click();
    // Closing is refused while one key is set for two commands: a message
    // names the key and the commands, and the hot-key page is shown.
    bool closeQuery() override;

    // A colour swatch: a filled rectangle with the hand cursor that reports clicks.
    class ColourSwatch : public tk::Control {
    public:
        bool create(HWND parent, int x, int y, int w, int h);
        void setColour(unsigned value);
        unsigned colour() const { return value_; }
        std::function<void()> onClick;
        LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

    protected:
        void paint(HDC dc, const RECT& rc) override;

    private:
        unsigned value_ = 0;
        bool pressed_ = false;
    };

    // A drop-down list whose items the dialog draws (cursor pictures).
    class CursorList : public tk::ComboBox {
    public:
        bool createOwnerDrawn(HWND parent, int x, int y, int w, int h, UINT id);
    };

    // A page: paints its colour and passes its children's notifications on
    // to the dialog.
    class Sheet : public tk::Control {
    public:
        bool create(HWND parent, const RECT& r, COLORREF colour);
        COLORREF colour() const { return colour_; }
        LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

    protected:
        void paint(HDC dc, const RECT& rc) override;

    private:
        COLORREF colour_ = 0;
    };

    // Controls, named as the dialog's fields.
    tk::Label Label16;  // title
    tk::TCuteButton CuteButton1;
    tk::TabStrip PageControl1;
    // JPG
    tk::Label Label1, Label2;
    tk::TrackBar JPGBar;
    // PNG
    tk::RadioGroup RadioGroupPNG;
    // 色の画像
    tk::EditBox Edit1;
    tk::UpDown UpDownRectWidth;
    tk::Label Label3;
    // 平均値モード
    tk::RadioGroup RadioGroupAverage;
    tk::Label Label4;
    // 色の設定
    std::array<ColourSwatch, hueloom::dialogs::kOptionColourCount> colourLabels;  // lblMojiColor .. lblMaskColor
    ColourSwatch& lblMojiColor = colourLabels[0];
    ColourSwatch& lblMojiBKColor = colourLabels[1];
    ColourSwatch& lblActiveColor = colourLabels[2];
    ColourSwatch& lblDeactiveColor = colourLabels[3];
    ColourSwatch& lblImgBKColor = colourLabels[4];
    ColourSwatch& lblMaskColor = colourLabels[5];
    tk::Label Label11;
    // ホットキー
    std::array<tk::HotKeyEdit, hueloom::dialogs::kOptionHotKeyCount> hotKeys;  // sHotKeyGetColor .. sHotKeyRectCapture
    tk::HotKeyEdit& sHotKeyGetColor = hotKeys[0];
    tk::HotKeyEdit& sHotKeyScreenCapture = hotKeys[1];
    tk::HotKeyEdit& sHotKeyWindowCapture = hotKeys[2];
    tk::HotKeyEdit& sHotKeyRectCapture = hotKeys[3];
    tk::CheckBox chbxPrintScreen, chbxAltPrintScreen;
    // ｷｬﾌﾟﾁｬ
    tk::EditBox edtSleep;
    tk::CheckBox CheckCursorCapture;
    tk::CheckBox CheckToSrgb;  // captures converted to sRGB
    tk::ComboBox ComboLanguage;  // the interface's language, from the next start
    CursorList ComboBox1;

    // The cursor drawn for list entry i (nullptr: none).
    HCURSOR cursorOf(int i) const;

    bool dialogKey(WORD vk, WORD shortcut) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void buildPages();
    HBRUSH pageBrush(COLORREF c);

    unsigned frameColor_ = 0xFFFF00;
    std::vector<std::wstring> cursorNames_;
    std::function<HCURSOR(const std::wstring&)> cursorImage_;
    std::function<bool(unsigned&)> chooseColor_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    std::vector<std::unique_ptr<tk::Label>> texts_;  // fixed captions
    std::vector<std::unique_ptr<tk::Label>> plain_;  // rules and swatch backings
    std::vector<std::unique_ptr<tk::RadioGroup>> plainFrames_;  // the colour page's boxes
    tk::Font windowFont_;
    tk::Font titleFont_;
    tk::Font closeFont_;
    tk::Font pageFont_;
    tk::Font pageBoldFont_;
    tk::Font tabBoldFont_;
    tk::Font listFont_;
    tk::Font noteFont_;
    std::vector<std::pair<COLORREF, tk::Brush>> brushes_;
};

}  // namespace hueloom::dialogs
