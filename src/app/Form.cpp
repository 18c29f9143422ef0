#include "app/Form.h"

#include "common/Numeric.h"

namespace tb {

Form::Form(Desktop& desktop) : desktop_(desktop) {}

Form::~Form() { destroyWindow(); }

void Form::createWindow(const WindowSpec& windowSpec) {
    if (hwnd_ != 0) return;
    const int made = dpi();  // the system's, which the design's pixel sizes assume
    hwnd_ = desktop_.createWindow(windowSpec, this);
    if (hwnd_ == 0) return;
    const int dpi = desktop_.windowDpi(hwnd_);
    setDpi(made);
    // On a screen whose scale changed since the user signed in, the window is not at the
    // system's density: it starts as if it had just moved there.
    const auto r = desktop_.windowRect(hwnd_);
    if (dpi == made || !r) return;
    auto scale = [&](std::int32_t v) {
        return clampToInt32(divRoundHalfEven(std::int64_t{v} * dpi, made));
    };
    onDpiChanged(dpi, Rect::fromXYWH(r->left, r->top, scale(r->width()), scale(r->height())));
}

void Form::destroyWindow() {
    if (hwnd_ == 0) return;
    Hwnd h = hwnd_;
    desktop_.destroyWindow(h);
    hwnd_ = 0;
}

void Form::onDestroy() {
    hwnd_ = 0;
    captured_ = nullptr;
    pressing_ = false;
    pressTarget_ = nullptr;
}

void Form::addControl(Control& c) {
    controls_.push_back(&c);
    c.attach(this);
    invalidateControl(c);
}

void Form::setBackColor(Color c) {
    backColor_ = c;
    if (hwnd_) desktop_.invalidate(hwnd_);
}

void Form::setPicture(const Image* picture) {
    picture_ = picture;
    if (hwnd_) desktop_.invalidate(hwnd_);
}

std::int32_t Form::twipsToPixelsX(std::int32_t twips) const {
    // Exact: at 96 dpi it rounds what twips / 15 is.
    return clampToInt32(divRoundHalfEven(std::int64_t{twips} * dpi(), 1440));
}

std::int32_t Form::twipsToPixelsY(std::int32_t twips) const { return twipsToPixelsX(twips); }

void Form::placeTwips(Control& c, std::int32_t left, std::int32_t top, std::int32_t width,
                      std::int32_t height) {
    c.setBounds(Rect::fromXYWH(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                               twipsToPixelsY(height)));
}

void Form::onDpiChanged(int dpi, const Rect& suggested) {
    setDpi(dpi);
    layoutForDpi();
    if (hwnd_) desktop_.moveWindow(hwnd_, suggested);
    if (hwnd_) desktop_.invalidate(hwnd_);
}

void Form::invalidateControl(Control& c) {
    // Only what changed: the ticker moves its title several times a second, and each time a
    // whole repaint would draw the background and every control again.
    const Rect r = c.paintBounds();
    if (hwnd_ && !r.empty()) desktop_.invalidateRect(hwnd_, r);
}

void Form::captureMouse(Control& c) {
    captured_ = &c;
    // A press has taken the window's capture already.
    if (hwnd_ && !pressing_) desktop_.setCapture(hwnd_);
}

void Form::releaseMouse(Control& c) {
    if (captured_ != &c) return;
    captured_ = nullptr;
    // During a press the window keeps the capture until the last button is up.
    if (!pressing_) desktop_.releaseCapture();
}

Point Form::clientToScreen(Point client) {
    auto r = desktop_.windowRect(hwnd_);
    if (!r) return client;
    return Point{client.x + r->left, client.y + r->top};
}

void Form::onPaint(Canvas& canvas) {
    const Rect dirty = canvas.clipBox();
    canvas.fillRect(dirty, backColor_);
    if (picture_ && !picture_->empty()) {
        const Rect part = dirty.intersect(Rect{0, 0, picture_->width, picture_->height});
        if (!part.empty()) canvas.drawImage(*picture_, part.left, part.top, part);
    }
    for (Control* c : controls_)
        if (c->visible() && !c->paintBounds().intersect(dirty).empty()) c->paint(canvas);
}

Control* Form::controlAt(Point client) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->visible() && (*it)->bounds().contains(client)) return *it;
    return nullptr;
}

MouseEvent Form::relativeTo(const MouseEvent& e, const Control& c) {
    MouseEvent r = e;
    r.pos = Point{e.pos.x - c.bounds().left, e.pos.y - c.bounds().top};
    return r;
}

void Form::onMouse(const MouseEvent& e) {
    const bool press = e.action == MouseAction::Down || e.action == MouseAction::DoubleClick;
    if (press && !pressing_) {
        pressing_ = true;
        pressTarget_ = captured_ ? captured_ : controlAt(e.pos);
        if (hwnd_) desktop_.setCapture(hwnd_);
    }
    Control* target = captured_ ? captured_ : pressing_ ? pressTarget_ : controlAt(e.pos);
    if (target)
        target->mouseEvent(relativeTo(e, *target));
    else if (onBackgroundMouse)
        onBackgroundMouse(e);
    if (e.action == MouseAction::Up && e.buttons == 0) endPress();
}

void Form::onDisplayChange() {
    for (Control* c : controls_) c->displayChanged();
}

void Form::endPress() {
    if (!pressing_) return;
    pressing_ = false;
    pressTarget_ = nullptr;
    if (!captured_ && hwnd_) desktop_.releaseCapture();
}

void Form::onKeyDown(int virtualKey) {
    if (keyTarget_) keyTarget_->keyDown(virtualKey);
}

void Form::onCaptureLost() {
    // Another window took the mouse: the press ends without its release.
    Control* c = captured_ ? captured_ : pressTarget_;
    captured_ = nullptr;
    pressing_ = false;
    pressTarget_ = nullptr;
    if (c) c->captureLost();
}

}  // namespace tb
