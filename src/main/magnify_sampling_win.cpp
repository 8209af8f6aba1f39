// TfrmMagnify's sampling: the 100 ms step, the follower that shows a moving
// pointer within a display frame (the pointer watch and the mouse hook), the
// screen copy into the view, and the magnifier stopped and started again.
#include "main/magnify_win.h"

#include <algorithm>

#include "magnifier/sampling.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/pointer_watch_win.h"

namespace hueloom::app {

namespace {

// How often the watch asks where the pointer is, milliseconds: half a frame
// while the pointer moves and for three seconds after, four frames once it
// has been still longer (asking costs, under Wine, a few calls to its server
// and one to X each time).
constexpr tk::PointerWatch::Rates kFollowPoll{8, 66, 3000, 1000.0 / 60};
// Value texts longer than this many characters do not fit the label in bold.
constexpr size_t kLongValueText = 18;

}  // namespace

// ------------------------------------------------------------------ sampling

// The 100 ms step. The follower shows a moving pointer at once; this step
// reads the screen again under the still pointer, since what lies there can
// change: every third step, as asking the screen costs (under Wine an X
// round trip), at the place the follower last showed.
void TfrmMagnify::Timer1Timer() {
    if (++timerSteps_ % 3 != 0 || !model_.sample()) return;
    const Point p = tracker_.last();
    sampleScreen({p.x, p.y}, false);
}

// Asked by the pointer watch (which sees the pointer anywhere, and paces
// itself to the display's frames) and by the low-level mouse hook (on every
// move it hears of, where the system tells it: under Wine only over its own
// windows). `paced`: sampled also within a frame of the last sample, as a
// command that needs the colour under the pointer asks.
void TfrmMagnify::followPointer(bool paced, const POINT* at) {
    if (!model_.running() || busy()) return;
    POINT p;
    if (at)
        p = *at;
    else if (!GetCursorPos(&p))
        return;
    if (Point{p.x, p.y} == tracker_.last()) return;
    // A move the hook told of within a frame is left to the watch, which
    // posts it when the frame is over.
    if (!pacer_.take(static_cast<double>(GetTickCount64())) && !paced) return;
    tracker_.moved({p.x, p.y});
    stepAt(p);
}

void TfrmMagnify::stepAt(POINT p) {
    // Is the pointer over the window's current shape?
    POINT q = p;
    ScreenToClient(hwnd_, &q);
    magnifier::PointerPlace place;
    place.overWindowShape = shownShape_ && PtInRegion(shownShape_, q.x, q.y);
    place.overViewRect = lay_.viewRect.contains({q.x, q.y});
    place.colourSampleOpen = colourSampleOpen_;
    place.minimized = tk::app().minimized();
    place.pickListDropped = cbxPickColor.hwnd() && cbxPickColor.droppedDown();
    const magnifier::SamplingStep step = samplingStep(model_.displayMode(), seeThrough_, place);
    if (step.action == magnifier::SamplingStep::SeeThrough) {
        Image1.clear();
        if (step.reshape) SetWindowShape(shapeSeeThrough_);
        seeThrough_ = true;
        model_.clearSample();
        lblPickColor1.setCaption(L"");
        tk::app().setTitle(L"Hueloom");
        ScrollBox1.hide();
        CuteButton2.setColor(GetSysColor(COLOR_BTNFACE));
        CuteButton2.setFontColor(RGB(0, 0, 255));
        return;
    }
    // The pointer is over the cut-out view: nothing changes.
    if (step.action == magnifier::SamplingStep::Wait) return;
    HWND focus = GetFocus();
    if (focus && focus != hwnd_ && IsChild(hwnd_, focus)) SetFocus(hwnd_);
    if (step.reshape) SetWindowShape(shapeFull_);
    seeThrough_ = false;
    lblPickColor1.setTransparent(false);
    if (!ScrollBox1.visible()) ScrollBox1.show();
    sampleScreen(p, true);
}

// Copies the 15 × 15 screen pixels around p and, when they changed (or
// `moved`), shows them enlarged with the marks and takes the colour.
void TfrmMagnify::sampleScreen(POINT p, bool moved) {
    using magnifier::kSourceSize;
    if (!screen_) {
        // The screen copy always reads the screen itself, in screen
        // coordinates, whatever window holds the mouse capture; the DCs are
        // kept from step to step.
        screen_ = std::make_unique<ScreenReader>();
        screen_->pixels = tk::DibSection(kSourceSize, kSourceSize, 24);
        if (screen_->pixels) screen_->memBitmap = SelectObject(screen_->mem, screen_->pixels.handle());
    }
    const tk::DibSection& source = screen_->pixels;
    if (!source) return;
    const size_t sourceBytes = static_cast<size_t>(source.stride()) * kSourceSize;
    BitBlt(screen_->mem, 0, 0, kSourceSize, kSourceSize, screen_->screen, p.x - magnifier::kSourceHalf,
           p.y - magnifier::kSourceHalf, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const uint8_t* now = source.bits();
    if (!moved && lastSource_.size() == sourceBytes && std::equal(now, now + sourceBytes, lastSource_.begin()))
        return;  // the same pixels: nothing to redraw
    lastSource_.assign(now, now + sourceBytes);

    // Each screen pixel becomes a lay_.cell square: only repeated, never
    // blended. The view's bitmap is drawn into afresh at every step.
    const int w = lay_.viewSize, h = lay_.viewSize;
    if (view_.width() != w) view_ = tk::DibSection(w, h, 24);
    if (!view_) return;
    magnifier::ViewBits bits{view_.bits(), w, h, view_.stride()};
    magnifier::enlarge(now, source.stride(), bits);
    const magnifier::Sample sample = sampleView(bits, model_.averaging());
    magnifier::drawMarks(bits, model_.averaging(), sample.marker);
    Image1.setPainter(
        [this](HDC dc, const RECT&) {
            tk::MemoryDC mem(dc);
            tk::Select sel(mem, view_.handle());
            BitBlt(dc, 0, 0, view_.width(), view_.height(), mem, 0, 0, SRCCOPY);
        },
        w, h);

    if (monitors_.empty()) monitors_ = tk::monitorRects();
    int monitor = 0;
    for (size_t k = 0; k < monitors_.size() && !monitor; ++k)
        if (monitors_[k].contains({p.x, p.y})) monitor = static_cast<int>(k) + 1;
    model_.setSample({sample.colour, sample.marker, {p.x, p.y}, monitor, contentColour(sample.colour, {p.x, p.y})});
    showValue();
    // Shown now, not when the queue next runs empty.
    UpdateWindow(Image1.hwnd());
}

// The value label, the title and the right star from the model's sample.
void TfrmMagnify::showValue() {
    const auto& sample = model_.sample();
    if (!sample) return;
    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), tk::resolveColour(settings.MojiBKColor));
    CuteButton2.setColor(GetSysColor(COLOR_BTNFACE));
    // The star in the screen's own value, as the pixel beside it is drawn.
    CuteButton2.setFontColor(RGB(sample->colour.r, sample->colour.g, sample->colour.b));
    showValueTip();
    if (!model_.shownFormat()) return;
    const std::wstring text = tk::widen(model_.shownText(), CP_UTF8);
    // The longer formats (CMYK, L*a*b*) in the window font, so they fit.
    lblPickColor1.setFont(text.size() > kLongValueText ? windowFont_ : labelFont_);
    lblPickColor1.setCaption(text);
    tk::app().setTitle(text);
}

// The magnifier starts or stops: the sampling timer, the follower and its
// hook with it. The hook is only held while the magnifier runs: a program
// that holds one and does not answer (the capture's delay) slows every
// pointer on the desktop.
void TfrmMagnify::startSampling(bool on) {
    model_.setRunning(on);
    Timer1->setInterval(model_.samplingInterval());
    if (pointerWatch_) pointerWatch_->setActive(on);
    if (on && !mouseHook_)
        // A low-level hook runs on this thread, in its message loop: no DLL.
        mouseHook_ = SetWindowsHookExW(WH_MOUSE_LL, mouseHookProc, tk::app().hinstance(), 0);
    if (!on) {
        if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
        mouseHook_ = nullptr;
        model_.clearSample();
    }
}

void TfrmMagnify::StopMagnifier() {
    startSampling(false);
    Image1.clear();
    finishWriteAhead();
    workingImage_ = hueloom::image::Dib();
    ApplyLayout(Layout::Image);
}

void TfrmMagnify::RestoreMagnifier() {
    tk::app().showTaskbarButton(false);
    ShowWindow(hwnd_, SW_HIDE);
    tk::app().processMessages();
    Image1.clear();
    finishWriteAhead();
    workingImage_ = hueloom::image::Dib();
    ApplyLayout(Layout::Magnifier);
    pmnuDispNormalClick();
    SetWindowShape(shapeFull_);
    colourListMode_ = false;
    tracker_.reset();
    lastSource_.clear();
    startSampling(true);
    tk::app().showTaskbarButton(true);
    ShowWindow(hwnd_, SW_SHOW);
}

// ------------------------------------------------------------------ follower

namespace {
TfrmMagnify* hooked = nullptr;  // the window the mouse hook tells of moves
tk::PointerWatch* watch = nullptr;
}  // namespace

LRESULT CALLBACK TfrmMagnify::mouseHookProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE && hooked && watch && watch->claim()) {
        const POINT p = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->pt;
        if (!PostMessageW(hooked->hwnd_, kHookMessage, static_cast<WPARAM>(p.x), static_cast<LPARAM>(p.y)))
            watch->done();
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void TfrmMagnify::installFollower() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        pacer_.setRefreshRate(static_cast<int>(mode.dmDisplayFrequency));
    tk::PointerWatch::Rates rates = kFollowPoll;
    rates.frame = pacer_.frame();
    pointerWatch_ = std::make_unique<tk::PointerWatch>(hwnd_, kFollowMessage, rates);
    watch = pointerWatch_.get();
    hooked = this;
    startSampling(true);
}

void TfrmMagnify::removeFollower() {
    startSampling(false);
    hooked = nullptr;
    watch = nullptr;
    pointerWatch_.reset();
}

}  // namespace hueloom::app
