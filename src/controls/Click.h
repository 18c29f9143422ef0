// The program's image button: a face chosen by ButtonStyle, in a normal, hover or pressed look,
// 21 x 22 pixels at 96 dpi and drawn for its form's density at any other. The button notices that
// the pointer has gone not from a leave message but by asking every 10 ms which window lies under
// the pointer, for as long as the pointer may still be over it; an idle button runs no timer.
#pragma once

#include <cstdint>
#include <functional>

#include "art/Artwork.h"
#include "controls/Control.h"
#include "controls/PropertyBag.h"

namespace tb {

class Click : public Control {
public:
    static constexpr std::uint32_t kHoverPollMs = 10;

    Click();
    ~Click() override;
    Click(const Click&) = delete;
    Click& operator=(const Click&) = delete;

    // Kept as a 16-bit number (ProgramError(6) beyond that). Styles outside 0 to 9 show a blank
    // key.
    std::int32_t ButtonStyle() const { return buttonStyle_; }
    void setButtonStyle(std::int32_t style);
    // The window that shows the face: the host form's, as the button has none of its own.
    Hwnd hWnd() const;

    // Events, in the order a host binds them.
    std::function<void()> onClick;
    // Every pointer move over the button (or while a press on it is held), before the face
    // changes.
    std::function<void()> onMouseMove;

    void WriteProperties(PropertyBag& bag) const;
    void ReadProperties(const PropertyBag& bag);

    art::Look Look() const { return look_; }
    bool MouseIsDown() const { return mouseIsDown_; }
    bool HoverTimerRunning() const { return timer_ != 0; }

    void paint(Canvas& canvas) override;
    void mouseEvent(const MouseEvent& e) override;
    void captureLost() override;

protected:
    void onBoundsChanged() override;

private:
    void ShowNormal() { show(art::Look::Normal); }
    void show(art::Look look);
    const Image& face() const { return art::buttonFace(buttonStyle_, look_, dpi()); }
    bool IsMouseOver();
    void startTimer();
    void stopTimer();
    void Timer1_Timer();

    std::int16_t buttonStyle_ = 0;
    bool mouseIsDown_ = false;
    art::Look look_ = art::Look::Normal;
    TimerId timer_ = 0;
    bool capturing_ = false;
    // A left press on the face that may still become a click.
    bool leftPressed_ = false;
};

}  // namespace tb
