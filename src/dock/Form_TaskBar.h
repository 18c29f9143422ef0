// The edge dock: turns the window of the form it is placed on into an auto-hiding strip at the
// top edge of the screen. It centres the window, keeps it topmost, parks it above the edge with
// HangDown pixels showing, and slides it into view while the pointer is over it or it is the
// foreground window, and out of view again afterwards. A windowless control that is never
// drawn; it works entirely through the desktop's window and input queries, and never activates
// its window (hovering must not steal the keyboard from the program the user works in). Its
// twips follow the density of its form; HangDown pixels show at any density.
#pragma once

#include <cstdint>
#include <functional>

#include "common/Timer.h"
#include "controls/Control.h"
#include "controls/PropertyBag.h"

namespace tb {

class Form_TaskBar : public Control {
public:
    static constexpr std::int16_t kDefaultNumSteps = 4;
    static constexpr std::int16_t kDefaultHangDown = 2;
    static constexpr std::uint32_t kCheckIntervalMs = 200;

    // Starts the delayed start-up: one tick later, once the form's window exists, the dock
    // takes the window of the form it was attached to. Without one it stays inert.
    explicit Form_TaskBar(Desktop& desktop);

    // Moves the window to the hidden position, centred on the screen; the slide state stays.
    void Center();
    // Centres the window again where its slide has it: in view when it is out and at rest,
    // else parked hidden (after a change of density, which changes the window's size).
    void Recenter();
    std::int32_t NumSteps() const { return numSteps_; }
    // Ticks per full slide. ProgramError(6) beyond 16 bits, ProgramError(380) below 1.
    void setNumSteps(std::int32_t steps);
    std::int32_t HangDown() const { return hangDown_; }
    // Pixels of the hidden window left on screen. ProgramError(6) beyond 16 bits.
    void setHangDown(std::int32_t pixels);
    // Shown, or on its way in or out.
    bool IsTaskbarOut() const { return isOut_ || slideStep_ != 0; }
    bool IsTaskbarMoving() const { return slideStep_ != 0; }

    // Events, in the order a host binds them.
    std::function<void()> onAppGotFocus;
    std::function<void()> onAppLostFocus;
    std::function<void()> onEndOpenUp;
    std::function<void()> onEndCloseUp;
    std::function<void()> onStartOpenUp;
    std::function<void()> onStartCloseUp;
    std::function<void()> onChangeCloseUp;
    std::function<void()> onChangeOpenUp;
    std::function<void()> onMouseOver;
    std::function<void()> onMouseLeft;

    void WriteProperties(PropertyBag& bag) const;
    // A stored step count below 1 reads as the default.
    void ReadProperties(const PropertyBag& bag);
    // A setter stored a value since the design was last read or written.
    bool PropertyChanged() const { return propertyChanged_; }

    // Run-time state, for the host's diagnostics and tests.
    Hwnd HostForm() const { return hostForm_; }
    std::int32_t ScreenWidth() const { return screenWidth_; }
    std::int32_t SlideStep() const { return slideStep_; }

    void paint(Canvas&) override {}
    // A new resolution would leave the window off centre; centring keeps its top.
    void displayChanged() override;

protected:
    // Starts a slide in (Open) or out. The checks call it; a host has no need to.
    void Slide(bool Open);

private:
    Desktop& desk() { return desktop_; }
    Hwnd container();
    // Measures the screen: its width in pixels and in twips at the form's density. Kept until
    // the display or the density changes (displayChanged, Center): the checks never ask.
    void GetScreenSize();
    void MakeTopmost(Hwnd hWnd);
    // Hidden top of a window `heightPx` high, in pixels.
    std::int32_t hiddenTop(std::int32_t heightPx) const { return hangDown_ - heightPx; }
    // Left of a window `widthPx` wide centred on the screen, in pixels.
    std::int32_t centredLeft(std::int32_t widthPx) const;
    void moveTo(Hwnd h, const Rect& r, std::int32_t leftPx, std::int32_t topPx);
    static void raise(const std::function<void()>& event) {
        if (event) event();
    }

    void tmrDelayedInit_Timer();
    void tmrSliding_Timer();
    // The pointer check, then the foreground check, every kCheckIntervalMs.
    void tmrCheck_Timer();
    void tmrCheckMouseOver_Timer();
    void tmrAppFocus_Timer();

    Desktop& desktop_;
    std::int16_t numSteps_ = kDefaultNumSteps;
    std::int16_t hangDown_ = kDefaultHangDown;
    mutable bool propertyChanged_ = false;

    Hwnd hostForm_ = 0;
    // 32 bits: a 16-bit width overflows on any desktop wider than 2184 pixels.
    std::int32_t screenWidth_ = 0;
    std::int32_t screenWidthPx_ = 0;
    bool isOut_ = false;
    // Twips per tick: positive showing, negative hiding, 0 at rest.
    std::int32_t slideStep_ = 0;
    bool appHasFocus_ = false;
    bool mouseIsOver_ = false;

    Timer tmrDelayedInit;
    Timer tmrSliding;
    // One timer for both checks: the same period and order as two, and half the wake-ups of
    // the hidden bar.
    Timer tmrCheck;
};

}  // namespace tb
