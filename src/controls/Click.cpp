#include "controls/Click.h"

#include "common/Numeric.h"

namespace tb {

Click::Click() { ShowNormal(); }

Click::~Click() { stopTimer(); }

void Click::setButtonStyle(std::int32_t style) {
    std::int16_t s = toInt16Checked(style);
    if (s != buttonStyle_) {
        buttonStyle_ = s;
        invalidate();
    }
    ShowNormal();
}

Hwnd Click::hWnd() const { return host() ? host()->hostWindow() : 0; }

void Click::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("ButtonStyle", std::int32_t{buttonStyle_}, std::int32_t{0});
}

void Click::ReadProperties(const PropertyBag& bag) {
    setButtonStyle(bag.readInt("ButtonStyle", 0));
}

void Click::onBoundsChanged() {
    // The button is always as large as its face, whatever the host asks.
    const Rect b = bounds();
    const Image& f = face();
    if (b.width() != f.width || b.height() != f.height) {
        setBounds(Rect::fromXYWH(b.left, b.top, f.width, f.height));
        return;
    }
    invalidate();
}

void Click::show(art::Look look) {
    if (look == look_) return;
    look_ = look;
    invalidate();
}

void Click::paint(Canvas& canvas) {
    const Rect b = bounds();
    canvas.drawImage(face(), b.left, b.top);
}

void Click::mouseEvent(const MouseEvent& e) {
    switch (e.action) {
        case MouseAction::Move:
            if (onMouseMove) onMouseMove();
            if (!mouseIsDown_) {
                show(art::Look::Hover);
                startTimer();
            }
            break;
        case MouseAction::Down:
        case MouseAction::DoubleClick:  // a quick second click counts as a click too
            if (!capturing_ && host()) {
                capturing_ = true;
                host()->captureMouse(*this);
            }
            stopTimer();
            mouseIsDown_ = true;
            if (e.button == mouse::Left) leftPressed_ = true;
            show(art::Look::Pressed);
            break;
        case MouseAction::Up: {
            mouseIsDown_ = false;
            // The pressed face stays until the next tick decides between hover and normal.
            startTimer();
            const bool clicked = e.button == mouse::Left && leftPressed_ &&
                                 Rect{0, 0, bounds().width(), bounds().height()}.contains(e.pos);
            if (e.button == mouse::Left) leftPressed_ = false;
            if (e.buttons == 0 && capturing_) {
                capturing_ = false;
                if (host()) host()->releaseMouse(*this);
            }
            if (clicked && onClick) onClick();
            break;
        }
    }
}

void Click::captureLost() {
    capturing_ = false;
    leftPressed_ = false;
    if (!mouseIsDown_) return;
    mouseIsDown_ = false;
    startTimer();
}

bool Click::IsMouseOver() {
    ControlHost* h = host();
    if (!h) return false;
    Desktop& desk = h->desktop();
    const Point cursor = desk.cursorPos();
    // The window under the pointer decides: a window covering the button means "not over".
    if (desk.windowFromPoint(cursor) != h->hostWindow()) return false;
    const Point origin = h->clientToScreen(Point{bounds().left, bounds().top});
    return Rect{0, 0, bounds().width(), bounds().height()}.contains(
        Point{cursor.x - origin.x, cursor.y - origin.y});
}

void Click::startTimer() {
    if (timer_ != 0 || !host()) return;
    timer_ = host()->desktop().startTimer(kHoverPollMs, [this] { Timer1_Timer(); });
}

void Click::stopTimer() {
    if (timer_ == 0) return;
    if (host()) host()->desktop().stopTimer(timer_);
    timer_ = 0;
}

void Click::Timer1_Timer() {
    if (IsMouseOver()) {
        show(art::Look::Hover);
    } else {
        ShowNormal();
        stopTimer();
    }
}

}  // namespace tb
