// A windowless control: it lives in a rectangle of its form's client area, paints itself on the
// form's canvas and gets the form's mouse input while the pointer is over it (or while it holds
// the capture). Its logic is portable; tests drive it with synthetic input.
#pragma once

#include "common/Numeric.h"
#include "platform/Desktop.h"

namespace tb {

class Control;

// What a control may ask of the form that hosts it.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual Desktop& desktop() = 0;
    // The form's window (0 before it exists).
    virtual Hwnd hostWindow() = 0;
    // Schedules a repaint of the control's rectangle.
    virtual void invalidateControl(Control& c) = 0;
    // Mouse capture: the control gets every mouse event until it releases it.
    virtual void captureMouse(Control& c) = 0;
    virtual void releaseMouse(Control& c) = 0;
    // Form client pixels to screen pixels.
    virtual Point clientToScreen(Point client) = 0;
    // The density (dots per inch) the form is laid out for.
    virtual int hostDpi() { return kDefaultDpi; }
};

class Control {
public:
    virtual ~Control() = default;

    void attach(ControlHost* host) {
        host_ = host;
        onAttached();
    }
    ControlHost* host() const { return host_; }
    // The density the control is shown at: its form's (96 dpi before it has one). Sizes that
    // are pixels at 96 dpi grow with it.
    int dpi() const { return host_ ? host_->hostDpi() : kDefaultDpi; }

    // Position and size in the form's client pixels.
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& r) {
        // Where it was must be repainted too.
        if (r != bounds_) invalidate();
        bounds_ = r;
        onBoundsChanged();
    }
    // What a paint of the control may change; a repaint of it covers no more.
    virtual Rect paintBounds() const { return bounds_; }
    bool visible() const { return visible_; }
    void setVisible(bool v) {
        visible_ = v;
        invalidate();
    }

    // Paint in form client coordinates; the canvas is clipped to nothing, so stay in bounds().
    virtual void paint(Canvas& canvas) = 0;
    // Mouse input; positions relative to the control's top-left corner.
    virtual void mouseEvent(const MouseEvent& e) { (void)e; }
    virtual void keyDown(int virtualKey) { (void)virtualKey; }
    virtual void captureLost() {}
    // The screen's resolution changed.
    virtual void displayChanged() {}

protected:
    virtual void onAttached() {}
    virtual void onBoundsChanged() { invalidate(); }
    void invalidate() {
        if (host_) host_->invalidateControl(*this);
    }

private:
    ControlHost* host_ = nullptr;
    Rect bounds_;
    bool visible_ = true;
};

}  // namespace tb
