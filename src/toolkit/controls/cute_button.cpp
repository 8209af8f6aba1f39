#include "toolkit/controls/cute_button.h"

#include "core/ansi_text.h"
#include "core/dpi.h"

namespace tk {

namespace {

constexpr uint8_t kVkReturn = 0x0D;
constexpr uint8_t kVkSpace = 0x20;

Rect inset(Rect r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// Adds the frame of `bevel` drawn inside r and shrinks r by its width; a bevel
// of None draws nothing and takes no room.
void addFrame(std::vector<BevelFrame>& frames, Rect& r, Bevel bevel, const CuteButtonLook& look) {
    if (bevel == Bevel::None) return;
    const bool raised = bevel == Bevel::Raised;
    const int width = hueloom::scale(look.bevelWidth, look.dpi);
    frames.push_back({r, width, raised ? look.bevelHighlightColor : look.bevelShadowColor,
                      raised ? look.bevelShadowColor : look.bevelHighlightColor});
    r = inset(r, width);
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Runs `f`, then `after`, also when f throws.
template <typename F, typename After>
void withCleanup(F&& f, After&& after) {
    try {
        f();
    } catch (...) {
        after();
        throw;
    }
    after();
}

}  // namespace

int normaliseMargin(int margin) { return margin < -1 ? -1 : margin; }

CuteButtonPaint planCuteButtonPaint(const CuteButtonLook& look, Bevel outerBevel, int clientWidth, int clientHeight,
                                    bool enabled, bool focused) {
    CuteButtonPaint p;
    const Rect client{0, 0, clientWidth, clientHeight};
    p.faceColor = (look.useDisabledColor && !enabled) ? look.disabledColor : look.color;

    Rect r = client;
    addFrame(p.frames, r, outerBevel, look);
    addFrame(p.frames, r, look.flat ? Bevel::None : Bevel::Raised, look);

    auto s = [&look](int v) { return hueloom::scale(v, look.dpi); };
    Rect c = inset(client, (look.flat ? 1 : 2) * s(look.bevelWidth));
    const int mx = normaliseMargin(look.marginX) == -1 ? -1 : s(look.marginX);
    const int my = normaliseMargin(look.marginY) == -1 ? -1 : s(look.marginY);
    if (mx != -1) {
        if (look.alignment == CaptionAlignment::Left) c.left += mx;
        if (look.alignment == CaptionAlignment::Right) c.right -= mx;
    }
    if (my != -1) {
        if (look.layout == CaptionLayout::Top) c.top += my;
        if (look.layout == CaptionLayout::Bottom) c.bottom -= my;
    }
    if (outerBevel == Bevel::Lowered) {
        c.left += s(2);
        c.top += s(2);
    }
    p.captionRect = c;
    p.alignment = look.alignment;
    p.layout = look.layout;

    if (enabled) {
        p.captionPasses.push_back({0, 0, std::nullopt});
    } else {
        p.captionPasses.push_back({s(1), s(1), hueloom::kClBtnHighlight});
        p.captionPasses.push_back({0, 0, hueloom::kClBtnShadow});
    }
    if (look.showFocusRect && focused) p.focusRect = inset(c, s(2));
    return p;
}

std::optional<char> acceleratorChar(std::string_view caption) {
    for (size_t i = 0; i < caption.size(); ++i) {
        const auto c = static_cast<unsigned char>(caption[i]);
        if (hueloom::isShiftJisLeadByte(c) && i + 1 < caption.size()) {
            ++i;  // skip the trail byte
            continue;
        }
        if (caption[i] != '&' || i + 1 >= caption.size()) continue;
        const char next = caption[i + 1];
        if (next == '&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        if (hueloom::isShiftJisLeadByte(static_cast<unsigned char>(next))) return std::nullopt;
        return next;
    }
    return std::nullopt;
}

CuteButtonModel::CuteButtonModel(CuteButtonHost& host, CuteButtonBehaviour behaviour)
    : host_(host), behaviour_(behaviour) {}

void CuteButtonModel::setBevel(Bevel b) {
    if (b == outer_) return;
    outer_ = b;
    host_.repaint();
}

void CuteButtonModel::stopTimerIfPending() {
    if (!timerPending_) return;
    timerPending_ = false;
    host_.stopDropDownTimer();
}

void CuteButtonModel::mouseEnter(bool leftButtonHeld, bool focusedControlDragging) {
    if (focusedControlDragging) return;
    host_.fireMouseEnter();
    setBevel(leftButtonHeld ? Bevel::Lowered : Bevel::Raised);
}

void CuteButtonModel::mouseLeave() {
    host_.fireMouseLeave();
    setBevel(host_.isFocused() && behaviour_.tabFocusUp ? Bevel::Raised : Bevel::None);
}

void CuteButtonModel::mouseDown(MouseButton button) {
    host_.takeFocus();
    if (button != MouseButton::Left) return;
    setBevel(Bevel::Lowered);
    host_.captureMouse();
    mouseArmed_ = true;
    if (behaviour_.hasDropDownMenu) {
        menuByKeyboard_ = false;
        startDropDown();
    }
}

void CuteButtonModel::mouseUp(MouseButton button, bool inside) {
    if (button != MouseButton::Left) return;
    setBevel(inside || (behaviour_.tabFocusUp && host_.isFocused()) ? Bevel::Raised : Bevel::None);
    // Standard release: let go of the mouse, click when released over the
    // button that the press started on.
    host_.releaseMouseCapture();
    const bool clicks = mouseArmed_ && inside;
    mouseArmed_ = false;
    if (clicks) click();
    stopTimerIfPending();
}

void CuteButtonModel::pressAndAct() {
    setBevel(Bevel::Lowered);
    if (behaviour_.hasDropDownMenu && behaviour_.dropDownDelay == 0) {
        showDropDownMenu();
    } else {
        click();
    }
    setBevel(restingBevel());
}

void CuteButtonModel::keyDown(uint8_t key) {
    if (!host_.isEnabled()) return;
    if (key == kVkSpace) {
        keyboardPress_ = true;
        setBevel(Bevel::Lowered);
        if (behaviour_.hasDropDownMenu) {
            menuByKeyboard_ = true;
            startDropDown();
        }
        return;
    }
    if (key == kVkReturn) {
        pressAndAct();
        return;
    }
    if (keyboardPress_) {  // another key cancels a Space press
        keyboardPress_ = false;
        setBevel(restingBevel());
    }
}

void CuteButtonModel::keyUp(uint8_t key) {
    if (!host_.isEnabled()) return;
    stopTimerIfPending();
    if (keyboardPress_ && key == kVkSpace) {
        keyboardPress_ = false;
        click();
        setBevel(restingBevel());
    }
}

bool CuteButtonModel::accelerator(char ch, std::string_view caption, bool parentVisible) {
    const auto letter = acceleratorChar(caption);
    if (!letter || upperAscii(*letter) != upperAscii(ch)) return false;
    if (!host_.isEnabled() || !parentVisible) return false;
    pressAndAct();
    return true;
}

void CuteButtonModel::focusEnter() {
    if (behaviour_.tabFocusUp) setBevel(Bevel::Raised);
}

void CuteButtonModel::focusExit() { setBevel(Bevel::None); }

void CuteButtonModel::click() {
    if (menuShown_) {
        menuShown_ = false;
        return;
    }
    if (!behaviour_.egnoreContClick) {
        host_.runClickHandler();
        return;
    }
    if (handlerDetached_) return;  // arrived while the handler runs: no handler to call
    handlerDetached_ = true;
    withCleanup(
        [this] {
            host_.runClickHandler();
            host_.processPendingMessages();
        },
        [this] { handlerDetached_ = false; });
}

void CuteButtonModel::startDropDown() {
    if (behaviour_.dropDownDelay <= 0) {
        showDropDownMenu();
        return;
    }
    if (timerPending_) return;
    timerPending_ = true;
    host_.startDropDownTimer(behaviour_.dropDownDelay);
}

void CuteButtonModel::dropDownTimerFired() {
    if (!timerPending_) return;  // a stale tick after the timer was discarded
    timerPending_ = false;
    host_.stopDropDownTimer();
    if (menuByKeyboard_) {
        showDropDownMenu();
    } else if (host_.holdsMouseCapture()) {
        host_.releaseMouseCapture();
        showDropDownMenu();
    }
}

void CuteButtonModel::showDropDownMenu() {
    if (!behaviour_.hasDropDownMenu) return;
    menuShown_ = true;
    withCleanup(
        [this] {
            host_.processPendingMessages();
            host_.popUpDropDownMenu();
            // End the press that opened the menu; the click it produces is
            // swallowed while menuShown_ is set.
            if (menuByKeyboard_) {
                keyUp(kVkSpace);
            } else {
                mouseUp(MouseButton::Left, true);
            }
        },
        [this] { menuShown_ = false; });
}

}  // namespace tk
