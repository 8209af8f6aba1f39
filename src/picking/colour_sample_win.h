// TfrmColorSample, the colour sample window: a chart of 351 web-safe colours
// to read colours from, in two modes.
//
// Copy mode (ShowColorSample, from "カラー・サンプルの表示(&S)"): hovering
// shows the colour's value text in the window and in the main window's
// read-out; a click copies it like a colour picked from the screen.
// Selection mode (ChooseSampleColor, from the colour labels of the options
// dialog): a click confirms the colour, which the caller receives when the
// window closes. The picture button opens the system colour dialog expanded
// instead of the chart.
//
// A borderless, rounded, navy window of 439 × 182 framed in the active frame
// colour, dragged by its background, shown modally at the main window's
// top-left corner.
//
// Wiring in the main window (TfrmMagnify implements ColourSampleHost):
//
//   mnuColorSampleClick (mnuColorSample / pmnuColorSample; enabled only while
//   the magnifier runs):
//       colourSampleOpen_ = true;  Timer1->setInterval(0);  Image1.clear();
//       try { ShowColorSample(*this); } catch (...) { <restore below>; throw; }
//       colourSampleOpen_ = false;  Timer1->setInterval(100);
//
//   options dialog:
//       st.chooseColor = [this](unsigned& c) {
//           colourSampleOpen_ = true;
//           SampleColorChoice r = ChooseSampleColor(*this);   // timer left running
//           colourSampleOpen_ = false;
//           if (r.confirmed) c = r.colour;
//           return r.confirmed;
//       };
//
//   copyPickedColour(text, colour) does what pmnuIroCopyClick does with
//   `text` and `colour` instead of the sampled ones (clipboard first, then
//   pickedList_.pick and the combo box); showReadout sets lblPickColor1 to
//   `text` in MojiColor on MojiBKColor (opaque); clearReadout empties it on
//   white ($FFFFFF). The sample window sets the application title itself.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "toolkit/controls/label_win.h"
#include "toolkit/controls/image_control_win.h"
#include "toolkit/controls/control_win.h"
#include "toolkit/controls/radio_group_win.h"
#include "toolkit/dialog_win.h"
#include "toolkit/gdi_win.h"
#include "picking/colour_chart.h"
#include "toolkit/controls/cute_button_win.h"

namespace hueloom::picking {

// What the colour sample window needs from the main window.
class ColourSampleHost {
public:
    virtual ~ColourSampleHost() = default;
    // Copy mode: copies like the main window's colour copy: the picked-colour
    // count goes up by one to n, `valueText` goes on the clipboard, and
    // "C" + n + ": " + valueText with the colour is added to the
    // picked-colour list as the selected entry.
    // May throw (clipboard busy); the window reports the error.
    virtual void copyPickedColour(const std::wstring& valueText, Rgb colour) = 0;
    // The main window's read-out lblPickColor1 shows `text` in MojiColor on
    // MojiBKColor.
    virtual void showReadout(const std::wstring& text) = 0;
    // lblPickColor1 emptied, background white.
    virtual void clearReadout() = 0;
    // True while the main window shows decimal values ("rgb(...)").
    virtual bool decimalChosen() const = 0;
    // The main window's top-left corner on the screen.
    virtual POINT topLeft() const = 0;
    // The running ActiveColor (a colour value, may be a system colour).
    virtual unsigned activeColor() const = 0;
};

class TfrmColorSample : public tk::Dialog, public tk::SingleInstance<TfrmColorSample> {
public:
    using SampleMode = hueloom::picking::SampleMode;

    explicit TfrmColorSample(ColourSampleHost& host);

    // Creates the window (hidden) in the given mode and prepares the chart.
    bool create(SampleMode mode);
    SampleMode mode() const { return model_.mode(); }

    // Confirmation in selection mode.
    bool confirmed() const { return model_.confirmed(); }
    // 00BBGGRR; white until a colour is confirmed.
    uint32_t confirmedColor() const;
    const hueloom::picking::ColourSampleModel& model() const { return model_; }

    // The full colour dialog; replaceable for tests. Returns the chosen colour
    // (00BBGGRR) or nothing when cancelled.
    std::function<std::optional<COLORREF>(HWND owner)> colourDialog;
    static std::optional<COLORREF> runColourDialog(HWND owner);

    // Events.
    void FormCreate();
    void FormPaint(HDC dc) override;
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(int x, int y);
    void BitBtn1Click();
    void Button1Click();
    void RadioGroup1Click();
    LRESULT WMNCHitTest(int x, int y);

    // The chart: an image that reports mouse moves and presses of any button.
    class ChartImage : public tk::ImageControl {
    public:
        std::function<void(int x, int y)> onMove, onPress;
        LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    };

    // A small push button showing a 16 × 16 picture of colour squares.
    class PictureButton : public tk::Control {
    public:
        bool create(HWND parent, int x, int y, int w, int h);
        std::function<void()> onClick;
        bool pressed() const { return down_ && over_; }
        LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;
        // The picture, drawn at (x, y).
        void drawGlyph(HDC dc, int x, int y) const;

    protected:
        void paint(HDC dc, const RECT& rc) override;

    private:
        void fire();
        bool down_ = false, over_ = false;
    };

    tk::Label lblTitle, Label2;
    ChartImage Image1;
    tk::Label Label1;  // the read-out: one or two centred lines, opaque or see-through
    tk::RadioGroup RadioGroup1;
    PictureButton BitBtn1;
    tk::TCuteButton Button1;

    // The hint a control shows ("" when none).
    std::wstring hintOf(HWND control) const;

    bool dialogKey(WORD vk, WORD shortcut) override;

protected:
    void buildShape() override;
    void FormDpiChanged() override;
    void buildChart();
    LRESULT hitTest(int x, int y) override { return WMNCHitTest(x, y); }

private:
    void applyReadout();
    void act(const hueloom::picking::SampleAction& a);
    void addHint(HWND control, const std::wstring& text);
    bool decimal() const { return RadioGroup1.itemIndex() != 1; }

    ColourSampleHost& host_;
    hueloom::picking::ColourSampleModel model_;
    HWND tooltip_ = nullptr;
    int cell_ = picking::kChartCell;  // one chart cell at the window's dpi
    tk::Font windowFont_, titleFont_, readoutFont_;
    tk::Brush background_;
};

// Shows the window modally in copy mode. The caller stops and restarts its
// sampling (see above).
void ShowColorSample(ColourSampleHost& host);

// Shows the window modally in selection mode: (true, the confirmed colour)
// or (false, white $FFFFFF) when the window closed without a confirmation.
struct SampleColorChoice {
    bool confirmed = false;
    unsigned colour = 0xFFFFFF;
};
SampleColorChoice ChooseSampleColor(ColourSampleHost& host);

}  // namespace hueloom::picking
