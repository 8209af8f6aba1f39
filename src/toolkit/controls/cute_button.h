#pragma once
// The platform-free half of TCuteButton, the owner-painted push button:
// - planCuteButtonPaint turns the button's look and state into a list of
//   things to draw (face, bevel frames, caption passes, focus rectangle);
// - CuteButtonModel is the mouse/keyboard state machine. The window code
//   forwards its messages to it and performs what it asks through
//   CuteButtonHost. The visual state lives in the outer bevel:
//   None = resting, Raised = hot or focused, Lowered = pressed.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/geometry.h"

namespace tk {

using hueloom::MouseButton;
using hueloom::Rect;

enum class Bevel { None, Raised, Lowered };
enum class CaptionAlignment { Left, Right, Center };
enum class CaptionLayout { Top, Center, Bottom };

// MarginX / MarginY are stored as given when >= -1; smaller values become -1
// (no margin).
int normaliseMargin(int margin);

// Paint-relevant properties, with the button's defaults.
struct CuteButtonLook {
    uint32_t color = hueloom::kClBtnFace;  // face colour
    uint32_t bevelHighlightColor = hueloom::kClBtnHighlight;
    uint32_t bevelShadowColor = hueloom::kClBtnShadow;
    uint32_t disabledColor = 0x808080;
    bool useDisabledColor = false;
    bool flat = false;  // no inner bevel, caption inset of one bevel width
    bool showFocusRect = false;
    CaptionAlignment alignment = CaptionAlignment::Center;
    CaptionLayout layout = CaptionLayout::Center;
    int marginX = -1;  // keep normalised (normaliseMargin)
    int marginY = -1;
    int bevelWidth = 1;
    // The dpi the button is drawn at: bevels, margins, the pressed caption's
    // shift and the focus rectangle's inset are 96-dpi lengths scaled to it.
    int dpi = 96;
};

// One 3-D frame `width` pixels thick drawn inside `rect` (top and left edges
// in topLeftColor, bottom and right in bottomRightColor).
struct BevelFrame {
    Rect rect;
    int width = 1;
    uint32_t topLeftColor = 0;
    uint32_t bottomRightColor = 0;
};

// One pass of the caption: the caption rectangle moved by (dx, dy), drawn in
// `color`, or in the font's colour when `color` is empty.
struct CaptionPass {
    int dx = 0, dy = 0;
    std::optional<uint32_t> color;
};

struct CuteButtonPaint {
    uint32_t faceColor = 0;  // fill the whole client rectangle
    std::vector<BevelFrame> frames;  // outer bevel first, then inner
    Rect captionRect;  // single-line text, transparent background,
    CaptionAlignment alignment{};  // placed in captionRect by these two
    CaptionLayout layout{};
    std::vector<CaptionPass> captionPasses;  // in drawing order
    std::optional<Rect> focusRect;
};

// Colours may be system colours ($800000xx); the painter resolves them.
CuteButtonPaint planCuteButtonPaint(const CuteButtonLook& look, Bevel outerBevel, int clientWidth, int clientHeight,
                                    bool enabled, bool focused);

// The caption's accelerator letter: the character after a single '&'
// ("&&" is a literal ampersand). Empty when there is none.
std::optional<char> acceleratorChar(std::string_view caption);

// Behaviour properties (the look is separate).
struct CuteButtonBehaviour {
    bool tabFocusUp = true;  // raised bevel while focused
    bool hasDropDownMenu = false;  // DropDownMenu assigned
    int dropDownDelay = 0;  // ms; 0 = open at once (Enter opens the menu too)
    bool egnoreContClick = false;  // drop clicks that arrive while the handler runs
};

// What the model asks of the window. Everything is synchronous.
class CuteButtonHost {
public:
    virtual ~CuteButtonHost() = default;
    virtual void repaint() = 0;
    virtual bool isEnabled() = 0;
    virtual bool isFocused() = 0;  // the button is its form's active control
    virtual void takeFocus() = 0;
    virtual void captureMouse() = 0;
    virtual bool holdsMouseCapture() = 0;
    virtual void releaseMouseCapture() = 0;
    virtual void startDropDownTimer(int milliseconds) = 0;  // one timer; it calls dropDownTimerFired
    virtual void stopDropDownTimer() = 0;
    virtual void runClickHandler() = 0;  // the OnClick handler
    virtual void processPendingMessages() = 0;  // pump the message queue once
    virtual void popUpDropDownMenu() = 0;  // at the bottom-left corner; returns when closed
    virtual void fireMouseEnter() = 0;  // OnMouseEnter(shift state, client x, y)
    virtual void fireMouseLeave() = 0;  // OnMouseLeave(shift state, client x, y)
};

class CuteButtonModel {
public:
    explicit CuteButtonModel(CuteButtonHost& host, CuteButtonBehaviour behaviour = {});

    CuteButtonBehaviour& behaviour() { return behaviour_; }
    Bevel outerBevel() const { return outer_; }
    bool dropDownTimerPending() const { return timerPending_; }

    // Pointer entered / left the button. Entering does nothing while the
    // form's focused control is being dragged.
    void mouseEnter(bool leftButtonHeld, bool focusedControlDragging);
    void mouseLeave();
    // `inside`: the release point lies within the button.
    void mouseDown(MouseButton button);
    void mouseUp(MouseButton button, bool inside);
    // Virtual-key codes; ignored while disabled.
    void keyDown(uint8_t virtualKey);
    void keyUp(uint8_t virtualKey);
    // Accelerator character typed (Alt+letter or dialog char). Returns true
    // when it was the caption's letter and the button acted on it.
    bool accelerator(char ch, std::string_view caption, bool parentVisible);
    void focusEnter();
    void focusExit();
    // The button's click (also called by the window code for BM_CLICK etc.).
    void click();
    void dropDownTimerFired();
    // Starts the drop-down according to DropDownDelay / shows the menu now.
    void startDropDown();
    void showDropDownMenu();

private:
    void setBevel(Bevel b);
    Bevel restingBevel() const { return behaviour_.tabFocusUp ? Bevel::Raised : Bevel::None; }
    void stopTimerIfPending();
    void pressAndAct();  // Enter and accelerator: press look, click or menu, restore

    CuteButtonHost& host_;
    CuteButtonBehaviour behaviour_;
    Bevel outer_ = Bevel::None;
    bool keyboardPress_ = false;  // Space went down on the button
    bool menuByKeyboard_ = false;  // the drop-down was started by a key
    bool menuShown_ = false;  // swallows the click that ends a drop-down
    bool timerPending_ = false;
    bool mouseArmed_ = false;  // left button went down on the button
    bool handlerDetached_ = false;  // EgnoreContClick: handler running
};

}  // namespace tk
