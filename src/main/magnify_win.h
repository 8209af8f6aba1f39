// TfrmMagnify: the main window. In the magnifier layout a borderless
// 177 × 233 panel that follows the pointer; in the image layout an ordinary
// sizeable window showing the working image.
#pragma once
#include <windows.h>

#include <memory>
#include <set>
#include <span>
#include <string>
#include <thread>

#include "capture/selection.h"
#include "core/texts.h"
#include "colour_management/monitor_profiles_win.h"
#include "capture/size_label_win.h"
#include "magnifier/magnifier.h"
#include "main/commands.h"
#include "main/magnify_model.h"
#include "main/menu_rules.h"
#include "picking/picked_colours.h"
#include "magnifier/sampling.h"
#include "settings/settings.h"
#include "toolkit/file_types_win.h"
#include "toolkit/controls/label_win.h"
#include "toolkit/controls/image_control_win.h"
#include "toolkit/controls/scroll_box_win.h"
#include "toolkit/controls/combo_box_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/menu_win.h"
#include "toolkit/pointer_watch_win.h"
#include "hotkeys/hook_hotkey_win.h"
#include "image/dib.h"
#include "hotkeys/hotkeys.h"
#include "hotkeys/print_screen_win.h"
#include "picking/colour_sample_win.h"
#include "toolkit/controls/cute_button_win.h"

namespace hueloom::editing {
class TfrmProgress;
}

namespace hueloom::app {

class TfrmMagnify : public tk::Form, public hueloom::picking::ColourSampleHost {
public:
    TfrmMagnify();
    ~TfrmMagnify() override;

    // Creates the window and runs the start-up steps.
    bool create();
    bool magnifierRunning() const { return model_.running(); }

private:
    friend class MagnifyCommands;
    friend class MagnifyOutputHost;
    void FormCreate();

    // Sampling loop: the 100 ms step, and the follower that samples as soon
    // as the pointer moves, at most once a display frame.
    void Timer1Timer();
    void StopMagnifier();
    void RestoreMagnifier();
    void startSampling(bool on);
    void followPointer(bool paced = false, const POINT* at = nullptr);
    void installFollower();
    void removeFollower();
    static LRESULT CALLBACK mouseHookProc(int code, WPARAM wp, LPARAM lp);
    // The follower's messages: from the pointer watch, and from the hook.
    static constexpr UINT kFollowMessage = WM_APP + 1, kHookMessage = WM_APP + 2;

    // Display modes and frame.
    void ApplyLayout(Layout which);
    void SetWindowShape(HRGN shape);
    void ApplyDisplayMode(const void* sender);
    void Timer2Timer();
    int displayMode() const { return model_.displayMode(); }
    bool seeThrough() const { return seeThrough_; }

    // Menu commands.
    void mnuV10Click() { selectShownFormat(hueloom::ColourFormat::Decimal); }
    void mnuV16Click() { selectShownFormat(hueloom::ColourFormat::Hexadecimal); }
    // The value format shown and the one the copy key copies (none: "表示と
    // 同じ", what is shown), kept in the model.
    void selectShownFormat(hueloom::ColourFormat format);
    void selectCopyFormat(std::optional<hueloom::ColourFormat> format);
    void mnuPixelClick();
    void mnuTOPMOSTClick();
    void mnuNOTOPMOSTClick();
    void mnuOriginalModeClick();
    void reapplySwitches();
    void pmnuDispNormalClick();
    void pmnuDispBar1Click();
    void pmnuDispBar2Click();
    void pmnuMinimizeClick();
    void mnuFileClick();
    void mnuShowClick();
    void mnuToolClick();
    void CuteButton1Click();
    void CuteButton2Click();

    // Both twins of a menu command, main and pop-up; the check marks are
    // set from the model, never read back.
    void setChecked(Command command, bool on);
    void syncMenuChecks();
    void showTemplates();

    bool dialogKey(WORD vk, WORD shortcut) override;
    bool closeQuery() override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // Controls.
    std::unique_ptr<tk::Timer> Timer1, Timer2;
    tk::TCuteButton CuteButton1, CuteButton2;
    tk::Label lblPickColor1;
    tk::ScrollBox ScrollBox1;
    tk::ImageControl Image1;
    tk::ComboBox cbxPickColor;
    tk::Menu MainMenu1{tk::Menu::Bar};
    tk::Menu PopupMenu1{tk::Menu::Popup};
    tk::Menu PopupMenu2{tk::Menu::Popup};

    // The running settings, read at start and written at close.
    hueloom::settings::Settings settings;
    std::string settingsPath;
    void LoadSettings();
    void SaveSettings();
    // The settings as saveSettings would write them; at start, and whether
    // the file could not be read (then it is only written once they change).
    std::string settingsText() const;
    std::string settingsAtStart_;
    bool unreadSettings_ = false;
    // Menu shortcuts from the four hot keys.
    void setMenuShortcuts();

    // Picked colours.
    void pmnuIroCopyClick();
    void mnuColorClearClick();
    void mnuSaveTxtClick();
    bool writeListFile(const std::wstring& path, std::span<const std::uint8_t> bytes);
    // The save dialog of a file of the picked list: the chosen name in
    // `file`, the chosen type (1-based) returned, 0 when cancelled.
    DWORD askListFileName(std::wstring& file, const std::vector<tk::FileType>& types, const wchar_t* defaultExtension);
    // The picked list as a GIMP, CSS or JSON palette file.
    void mnuSavePaletteClick();
    // The list's contrast (listContrastText): the tooltip of the list, and
    // the line under the colour-list image.
    void showListContrast();
    HWND listTip_ = nullptr;  // the list's tooltip, owned by this window
    // A tooltip of the child `tool`, `tip` created on first use.

    // Colour management (magnify_colour_win.cpp): each monitor's profile,
    // read at start (problems reported) and again when the displays change;
    // the content's colour of a sample; the value label's tooltip, which
    // names the profile in force; the raw screen values' switch; what a
    // capture carries.
    hueloom::colour_management::MonitorProfiles profiles_;
    void loadProfiles(bool report);
    std::optional<ContentColour> contentColour(hueloom::Rgb screen, hueloom::Point p) const;
    // The right star's tooltip: its command, and the profile in force.
    void showValueTip();
    static const wchar_t* star2Hint() { return hueloom::wideText("main.star2"); }
    void mnuScreenValuesClick();
    void prepareCapture(hueloom::image::Dib& picture, const hueloom::Rect& area) const;
    const hueloom::picking::PickedColours& picked() const { return model_.picked(); }

    // Hot keys: the component for the system-wide scope, its event, and
    // PrintScreen / Alt+PrintScreen on the application window.
    std::unique_ptr<hueloom::hotkeys::THookHotKey> HookHotKey1;
    std::unique_ptr<hueloom::hotkeys::PrintScreenKeys> printScreenKeys;
    void mnuNotHookHotKeyClick();
    void mnuHookHotKeyClick();
    void HookHotKey1HotKey(int index);
    void PrintScreenFilter(MSG& msg, bool& handled);
    // The capture commands the hot keys start.
    void mnuScreenCaptureClick();
    void mnuWindowCaptureClick();
    void mnuRectCaptureClick();
    bool savePictureDialogOpen = false;

    // Working image (the picture of Image1 while the magnifier is stopped)
    // and its one-level undo through "Undo.tmp".
    const hueloom::image::Dib& workingImage() const { return workingImage_; }
    bool hasWorkingImage() const { return !workingImage_.isNull(); }
    // A long image command is running (its progress window pumps messages):
    // every other command, hot key, PrintScreen, stamping and closing waits
    // for it to end, so nothing touches the picture it works on.
    bool busy() const { return progress_ != nullptr; }
    std::function<void()> unlessBusy(std::function<void()> command);
    // A new picture clears the selection; an edit of a part of it keeps it.
    // The picture's snapshot is then written ahead (writeAhead), so that the
    // next command finds it on disk already.
    void setWorkingImage(hueloom::image::Dib dib, bool keepSelection = false, bool writeAhead = true);
    // A picture from outside (paste): the working image, colour-list mode off.
    void replaceWorkingImage(hueloom::image::Dib dib) {
        colourListMode_ = false;
        setWorkingImage(std::move(dib));
    }
    bool UndoAvailable = false;
    std::wstring undoPath() const;
    void TakeSnapshot();
    // Undo.tmp holding the picture on show: moved from the snapshot written
    // ahead when that is of this picture, written now otherwise. Touches no
    // state but the files (a filter runs it beside its work).
    void writeSnapshot();
    // The snapshot of the picture on show, written by a thread of its own
    // into Undo.next.tmp while the user looks at the picture. The picture is
    // not changed while it runs: whatever changes it waits for it first.
    std::thread snapshotAhead_;
    static constexpr unsigned long long kNoneAhead = ~0ull;
    unsigned long long pictureVersion_ = 0, aheadVersion_ = kNoneAhead;
    std::wstring aheadPath() const;
    void writeAhead();
    // Starts it once the picture is painted and the program idle, so that it
    // takes nothing from what the user waits for.
    std::unique_ptr<tk::Timer> aheadTimer_;
    void writeAheadSoon() {
        if (aheadTimer_) aheadTimer_->setInterval(50);
    }
    void finishWriteAhead() {
        if (snapshotAhead_.joinable()) snapshotAhead_.join();
    }
    void ForgetUndo() { UndoAvailable = false; }
    void mnuImgUndoClick();
    void mnuImgEditClick();
    void mnuImgModeReverseClick();
    void mnuImgModeGrayClick();
    void mnuImgMode256Click();
    void Image1Progress(int percent);
    bool colourListMode() const { return colourListMode_; }

    // The colour-list image: the picked colours as swatches.
    void mnuColorToImgClick();
    void rebuildColourList();
    // Draws the swatch grid for the current image-area width; `raster`
    // paints the white background of a raster target first.
    void drawColourList(HDC dc, bool raster);
    SIZE colourListSize() const;

    // Captures.
    enum class CaptureKind { Screen, Window, Rectangle };
    void DoCapture(CaptureKind kind);
    bool RectCaptureBusy = false;
    // The rectangle branch of DoCapture: grabs the whole virtual desktop,
    // lets the user choose on the frozen copy, cuts the choice out.
    hueloom::image::Dib captureRectangle(hueloom::Rect& area);
    // An edit of the working image: the same picture, with its profile.
    hueloom::image::Dib samePicture(hueloom::image::Dib edited) const;

    // The selection on the working image, in its pixels: dragged with the
    // left button, moved and sized with the arrow keys as the rectangle
    // capture's is, cleared with Esc; and the commands on it.
    capture::Selection selection_;
    capture::SizeLabel selectionLabel_;
    std::optional<hueloom::Rect> selectedRect() const;
    bool canSelect() const;
    void selectionMouseDown(int x, int y);
    void selectionMouseMove(int x, int y);
    void selectionMouseUp(int x, int y);
    bool selectionKey(WORD vk);
    void clearSelection();
    // Keeps the selection on the picture and shows what changed since `before`.
    void showSelection(const hueloom::Rect& before, unsigned repaintsBefore, bool keyMove);
    void drawSelection(HDC dc, const RECT& part);
    void mnuImgCropClick();
    void mnuImgFillClick();
    void mnuImgPixelateClick();
    void mnuImgFillColorClick();
    // Runs `edit` on the picture in place over the selected part, after the
    // undo snapshot; a picture of other than 24 or 32 bits is widened first.
    void editSelection(const std::function<void(hueloom::image::Dib&, const hueloom::Rect&)>& edit);

    // Cursor stamping: Shift+click stamps the image area's cursor.
    void applyCaptureCursor();
    void Image1MouseDown(int button, int x, int y, WPARAM keys);
    void mnuLoadCursorClick();

    // Image output: save, clipboard copy and paste, print.
    void mnuImgSaveClick();
    void mnuCopyBMPClick();
    void mnuCopyEMFClick();
    void mnuPasteClick();
    void mnuPrintImageClick();
    struct OutputCommands;
    struct OutputDeleter {
        void operator()(OutputCommands* p) const;
    };
    std::unique_ptr<OutputCommands, OutputDeleter> output_;
    void initOutput();

    // The colour sample window (copy mode) and what it asks of this window.
    void mnuColorSampleClick();
    void copyPickedColour(const std::wstring& valueText, Rgb colour) override;
    void showReadout(const std::wstring& text) override;
    void clearReadout() override;
    bool decimalChosen() const override { return model_.shownFormat() == ColourFormat::Decimal; }
    POINT topLeft() const override {
        RECT r = bounds();
        return {r.left, r.top};
    }
    unsigned activeColor() const override { return settings.ActiveColor; }

    // The options dialog, opened on the page of the command that asked.
    void mnuSettingClick(int command);

    // Hint.
    void mnuHintClick();

    void FormPaint(HDC dc) override;
    LRESULT hitTest(int x, int y) override;
    MenuFacts menuFacts() const;
    void enableTwins(std::initializer_list<Command> commands, bool on);
    std::function<void()> handlerFor(Command command);
    void buildMenus();
    void buildShapes();
    void FormDestroy();
    void arrangeImageLayout();
    void placeStars();
    void setFrameColour(unsigned value);
    void stepAt(POINT p);
    void sampleScreen(POINT p, bool moved);
    void showValue();

    MagnifyModel model_;
    bool seeThrough_ = false;
    unsigned frameColor_ = 0xFFFF00;
    int blinkCount_ = 0;
    hueloom::magnifier::PointerTracker tracker_;
    unsigned timerSteps_ = 0;
    hueloom::magnifier::FramePacer pacer_;
    std::unique_ptr<tk::PointerWatch> pointerWatch_;
    HHOOK mouseHook_ = nullptr;
    // The 15 × 15 screen pixels of the last step, and where they are read.
    struct ScreenReader {
        tk::DisplayDC screen;
        tk::MemoryDC mem{screen};
        tk::DibSection pixels;  // selected into mem until the reader goes
        HGDIOBJ memBitmap = nullptr;  // mem's own bitmap, back in when it goes
        ~ScreenReader() {
            if (memBitmap) SelectObject(mem, memBitmap);
        }
    };
    std::unique_ptr<ScreenReader> screen_;
    tk::DibSection view_;  // the pixels enlarged, with the marks: what Image1 shows
    tk::Region shownShape_;  // the window's shape as last set
    std::vector<hueloom::Rect> monitors_;  // the monitors, until the display changes
    std::vector<uint8_t> lastSource_;  // and their bytes, to see a change
    bool colourSampleOpen_ = false;
    bool colourListMode_ = false;

    tk::Region shapeFull_, shapeSeeThrough_, shapeBar1_, shapeBar2_, viewRect_;
    // The magnifier layout at the window's dpi, and what is drawn for it.
    hueloom::magnifier::WindowLayout lay_ = hueloom::magnifier::windowLayout(96);
    tk::DibSection skin_;
    // The window font, the value label's bold one and the stars'.
    tk::Font windowFont_, labelFont_, starFont_;
    // Lays the window out afresh for its dpi: fonts, skin, controls, shapes.
    void applyDpi();
    void FormDpiChanged() override;
    hueloom::image::Dib workingImage_;
    editing::TfrmProgress* progress_ = nullptr;  // the image command running, if any
    std::set<uint16_t> takenKeysReported_;  // hot keys the user was told are taken
    bool overlayOpen_ = false;
    void runFilter(const std::wstring& title, const std::function<hueloom::image::Dib(const hueloom::image::Dib&)>& fn);
    std::wstring memoFileName_ = L"Untitled.txt";
    std::string hintText_;
};

extern TfrmMagnify* frmMagnify;

}  // namespace hueloom::app
