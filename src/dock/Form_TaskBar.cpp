#include "dock/Form_TaskBar.h"

#include <algorithm>

#include "common/Numeric.h"
#include "common/ProgramError.h"

namespace tb {

Form_TaskBar::Form_TaskBar(Desktop& desktop)
    : desktop_(desktop),
      tmrDelayedInit(desktop, 1),
      tmrSliding(desktop, 1),
      tmrCheck(desktop, kCheckIntervalMs) {
    setVisible(false);
    tmrDelayedInit.onTimer = [this] { tmrDelayedInit_Timer(); };
    tmrSliding.onTimer = [this] { tmrSliding_Timer(); };
    tmrCheck.onTimer = [this] { tmrCheck_Timer(); };
    // The form creates its window after its controls; the rest of the start-up waits for it.
    tmrDelayedInit.setEnabled(true);
}

// ---- properties ----------------------------------------------------------------------------

void Form_TaskBar::setNumSteps(std::int32_t steps) {
    const std::int16_t s = toInt16Checked(steps);
    // No steps would divide by zero, negative ones would slide the wrong way for ever.
    if (s < 1) throw ProgramError(errnum::InvalidPropertyValue);
    numSteps_ = s;
    propertyChanged_ = true;
}

void Form_TaskBar::setHangDown(std::int32_t pixels) {
    hangDown_ = toInt16Checked(pixels);
    propertyChanged_ = true;
}

void Form_TaskBar::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("NumSteps", std::int32_t{numSteps_}, std::int32_t{kDefaultNumSteps});
    bag.WriteProperty("HangDown", std::int32_t{hangDown_}, std::int32_t{kDefaultHangDown});
    propertyChanged_ = false;
}

void Form_TaskBar::ReadProperties(const PropertyBag& bag) {
    const std::int32_t steps = bag.readInt("NumSteps", kDefaultNumSteps);
    numSteps_ =
        steps >= 1 && steps <= INT16_MAX ? static_cast<std::int16_t>(steps) : kDefaultNumSteps;
    const std::int32_t hang = bag.readInt("HangDown", kDefaultHangDown);
    hangDown_ =
        hang >= INT16_MIN && hang <= INT16_MAX ? static_cast<std::int16_t>(hang) : kDefaultHangDown;
    propertyChanged_ = false;
}

// ---- geometry ------------------------------------------------------------------------------

Hwnd Form_TaskBar::container() {
    if (hostForm_ != 0) return hostForm_;
    const Hwnd h = host() ? host()->hostWindow() : 0;
    return h != 0 && desk().isWindow(h) ? h : 0;
}

void Form_TaskBar::GetScreenSize() {
    screenWidthPx_ = desk().screenSize().cx;
    screenWidth_ = clampToInt32(divRoundHalfEven(std::int64_t{screenWidthPx_} * 1440, dpi()));
}

void Form_TaskBar::MakeTopmost(Hwnd hWnd) { desk().setTopmost(hWnd, true); }

std::int32_t Form_TaskBar::centredLeft(std::int32_t widthPx) const {
    // (ScreenWidth - W) / 2, in whole pixels.
    return static_cast<std::int32_t>(
        divRoundHalfEven(std::int64_t{screenWidthPx_} - std::int64_t{widthPx}, 2));
}

void Form_TaskBar::moveTo(Hwnd h, const Rect& r, std::int32_t leftPx, std::int32_t topPx) {
    // Only the place changes: the content is not repainted.
    if (leftPx == r.left && topPx == r.top) return;
    desk().moveWindow(h, Rect::fromXYWH(leftPx, topPx, r.width(), r.height()));
}

void Form_TaskBar::Center() {
    const Hwnd h = container();
    const auto r = h != 0 ? desk().windowRect(h) : std::nullopt;
    if (!r) return;
    GetScreenSize();
    moveTo(h, *r, centredLeft(r->width()), hiddenTop(r->height()));
}

void Form_TaskBar::Recenter() {
    Center();
    const Hwnd h = container();
    const auto r = h != 0 ? desk().windowRect(h) : std::nullopt;
    if (r && isOut_ && slideStep_ == 0) moveTo(h, *r, r->left, 0);
}

// ---- start-up ------------------------------------------------------------------------------

void Form_TaskBar::tmrDelayedInit_Timer() {
    tmrDelayedInit.setEnabled(false);
    // Placed on no form, or on one without a window: nothing to manage. Only a program fault
    // leads here, and a message box about it would help no user, so the dock just stays inert.
    hostForm_ = container();
    if (hostForm_ == 0) return;
    Center();
    MakeTopmost(hostForm_);
    tmrCheck.setEnabled(true);
}

// ---- sliding -------------------------------------------------------------------------------

void Form_TaskBar::Slide(bool Open) {
    tmrSliding.setInterval(1);
    const auto r = desk().windowRect(hostForm_);
    // The height in twips over the steps, in whole twips; at least a pixel a tick, or a slide
    // of many steps would never leave its pixel.
    const int dpi = this->dpi();
    const std::int64_t height = r ? std::int64_t{r->height()} * 1440 : 0;
    const auto step = std::max<std::int32_t>(
        (1440 + dpi - 1) / dpi,
        static_cast<std::int32_t>(divRoundHalfEven(height, std::int64_t{dpi} * numSteps_)));
    if (Open) {
        if (!isOut_)
            raise(onStartOpenUp);
        else if (slideStep_ < 0)
            raise(onChangeOpenUp);
        slideStep_ = step;
    } else {
        if (isOut_)
            raise(onStartCloseUp);
        else if (slideStep_ > 0)
            raise(onChangeCloseUp);
        slideStep_ = -step;
    }
    tmrSliding.setEnabled(true);
}

void Form_TaskBar::tmrSliding_Timer() {
    const auto r = desk().windowRect(hostForm_);
    if (!r) {  // the window is gone: nothing left to slide
        slideStep_ = 0;
        tmrSliding.setEnabled(false);
        return;
    }
    // In 1440ths of a pixel, exact at any density (a twip is dpi of them).
    const std::int64_t newTop = std::int64_t{r->top} * 1440 + std::int64_t{slideStep_} * dpi();
    if (newTop >= 0) {
        moveTo(hostForm_, *r, r->left, 0);
        isOut_ = true;
        slideStep_ = 0;
        tmrSliding.setEnabled(false);
        raise(onEndOpenUp);
        return;
    }
    const std::int32_t limit = hiddenTop(r->height());
    if (std::int64_t{limit} * 1440 >= newTop) {
        moveTo(hostForm_, *r, r->left, limit);
        isOut_ = false;
        slideStep_ = 0;
        tmrSliding.setEnabled(false);
        raise(onEndCloseUp);
        return;
    }
    moveTo(hostForm_, *r, r->left, static_cast<std::int32_t>(divRoundHalfEven(newTop, 1440)));
}

void Form_TaskBar::displayChanged() {
    if (hostForm_ == 0) return;
    GetScreenSize();
    if (const auto r = desk().windowRect(hostForm_))
        moveTo(hostForm_, *r, centredLeft(r->width()), r->top);
}

// ---- watching the pointer and the foreground -----------------------------------------------

void Form_TaskBar::tmrCheck_Timer() {
    tmrCheckMouseOver_Timer();
    tmrAppFocus_Timer();
}

void Form_TaskBar::tmrCheckMouseOver_Timer() {
    const Point p = desk().cursorPos();
    const auto r = desk().windowRect(hostForm_);
    if (!r) return;
    // The right and bottom edge lines count as inside.
    const bool inside = p.x >= r->left && p.x <= r->right && p.y >= r->top && p.y <= r->bottom;
    if (inside == mouseIsOver_) return;
    mouseIsOver_ = inside;
    if (inside) {
        raise(onMouseOver);
        if (!appHasFocus_) Slide(true);
    } else {
        raise(onMouseLeft);
        if (!appHasFocus_) Slide(false);
    }
}

void Form_TaskBar::tmrAppFocus_Timer() {
    const bool focus = desk().foregroundWindow() == hostForm_;
    if (focus == appHasFocus_) return;
    appHasFocus_ = focus;
    if (focus) {
        raise(onAppGotFocus);
        Slide(true);
    } else {
        raise(onAppLostFocus);
        Slide(false);
    }
}

}  // namespace tb
