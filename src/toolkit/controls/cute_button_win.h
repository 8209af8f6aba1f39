// TCuteButton: the push button that paints itself. A coloured face with a
// configurable 3-D bevel whose state follows the mouse, the focus and the
// keys; a caption placed by alignment, layout and margins; an optional
// drop-down menu (at once or after a hold delay) and an option to drop clicks
// that arrive while the click handler still runs.
//
// What to draw comes from planCuteButtonPaint and the mouse / keyboard state
// machine is CuteButtonModel (toolkit/controls/cute_button.h); this class feeds the
// model with the window's messages and does what it asks.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/controls/control_win.h"
#include "toolkit/menu_win.h"
#include "toolkit/controls/cute_button.h"

namespace tk {

class TCuteButton : public tk::Control, private tk::CuteButtonHost {
public:
    using Bevel = tk::Bevel;
    using Alignment = tk::CaptionAlignment;
    using Layout = tk::CaptionLayout;

    // Shift state passed to OnMouseEnter / OnMouseLeave.
    enum ShiftFlag : unsigned {
        ssShift = 1,
        ssAlt = 2,
        ssCtrl = 4,
        ssLeft = 8,
        ssRight = 16,
        ssMiddle = 32,
    };
    using MouseEvent = std::function<void(TCuteButton& sender, unsigned shift, int x, int y)>;

    TCuteButton();
    ~TCuteButton() override;

    bool create(HWND parent, int x, int y, int w = 75, int h = 25);

    // Caption, face and font.
    void setCaption(const std::wstring& c);
    const std::wstring& caption() const { return caption_; }
    // Face colour: a colour, or a system colour value ($800000xx).
    void setColor(COLORREF c);
    // The face colour as the system draws it.
    COLORREF color() const;
    void setFontColor(COLORREF c);
    COLORREF fontColor() const { return fontColour_; }
    void setFont(HFONT f);  // not owned
    HFONT font() const { return font_; }
    void replaceFont(HFONT from, HFONT to) override {
        if (font_ == from) setFont(to);
    }
    void setHint(const std::wstring& h);
    const std::wstring& hint() const { return hint_; }
    void setCursor(HCURSOR c) { cursor_ = c; }

    // Published properties. Colours may be system colour values.
    void setBevelHighlightColor(unsigned c);
    unsigned bevelHighlightColor() const { return look_.bevelHighlightColor; }
    void setBevelShadowColor(unsigned c);
    unsigned bevelShadowColor() const { return look_.bevelShadowColor; }
    void setDisabledColor(unsigned c);
    unsigned disabledColor() const { return look_.disabledColor; }
    void setUseDisabledColor(bool on);
    bool useDisabledColor() const { return look_.useDisabledColor; }
    void setFlat(bool on);
    bool flat() const { return look_.flat; }
    void setShowFocusRect(bool on);
    bool showFocusRect() const { return look_.showFocusRect; }
    void setLayout(Layout l);
    Layout layout() const { return look_.layout; }
    void setAlignment(Alignment a);
    Alignment alignment() const { return look_.alignment; }
    void setMarginX(int m);  // values below -1 are stored as -1
    int marginX() const { return look_.marginX; }
    void setMarginY(int m);
    int marginY() const { return look_.marginY; }
    void setBevelWidth(int w);
    int bevelWidth() const { return look_.bevelWidth; }
    void setTabFocusUp(bool on);
    bool tabFocusUp() const;
    void setDropDownMenu(tk::Menu* m);
    tk::Menu* dropDownMenu() const { return dropDownMenu_; }
    void setDropDownDelay(int ms);
    int dropDownDelay() const;
    void setEgnoreContClick(bool on);
    bool egnoreContClick() const;

    void setEnabled(bool on);
    bool enabled() const;

    // The visual state: None resting, Raised hot or focused, Lowered pressed.
    Bevel outerBevel() const { return model_.outerBevel(); }

    // Clicks the button as the user would (the drop-down swallow and
    // EgnoreContClick rules apply).
    void click();

    // Offers an accelerator character to every TCuteButton of a window and
    // its descendants; true when one of them acted on it.
    static bool dispatchAccelerator(HWND root, wchar_t ch);
    // This button's share of the above.
    bool acceleratorChar(wchar_t ch) override;

    std::function<void()> onClick;
    MouseEvent onMouseEnter, onMouseLeave;

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void paint(HDC dc, const RECT& client) override;

private:
    // CuteButtonHost
    void repaint() override;
    bool isEnabled() override;
    bool isFocused() override;
    void takeFocus() override;
    void captureMouse() override;
    bool holdsMouseCapture() override;
    void releaseMouseCapture() override;
    void startDropDownTimer(int milliseconds) override;
    void stopDropDownTimer() override;
    void runClickHandler() override;
    void processPendingMessages() override;
    void popUpDropDownMenu() override;
    void fireMouseEnter() override;
    void fireMouseLeave() override;

    void changed(bool repaintNow = true);
    void updateTooltip();
    void pointerMoved(POINT client, WPARAM keys);
    void fireMouse(const MouseEvent& ev);
    static unsigned shiftState();

    tk::CuteButtonLook look_;
    tk::CuteButtonModel model_;
    std::wstring caption_, hint_;
    COLORREF fontColour_ = RGB(0, 0, 0);
    HFONT font_ = nullptr;
    HCURSOR cursor_ = nullptr;
    HWND tooltip_ = nullptr;
    tk::Menu* dropDownMenu_ = nullptr;
    bool hot_ = false;  // the pointer is over the button
    bool tracking_ = false;  // TrackMouseEvent is armed
    bool mousePressed_ = false;  // the left button went down on us
    bool releasing_ = false;  // we are releasing the capture ourselves
    bool inMenu_ = false;  // the drop-down menu is open
};

}  // namespace tk
