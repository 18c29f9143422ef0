// A top-level window that hosts windowless controls: it paints its background and then each
// visible control in the order they were added, and routes mouse input to the control under
// the pointer, or to the control holding the capture.
//
// A press keeps the mouse where it began, as Windows' capture keeps it with a window: from the
// first button down until the last button up every mouse event goes to the control the press
// began on, or to the form's background, wherever the pointer is. A press that begins on a label
// therefore never shows a button's hover face or reaches a slider's release.
#pragma once

#include <functional>
#include <vector>

#include "controls/Control.h"
#include "platform/Desktop.h"

namespace tb {

class Form : public WindowHandler, public ControlHost {
public:
    explicit Form(Desktop& desktop);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window; the form must not move in memory afterwards. A window that the system
    // puts on a screen of another density than the system's gets onDpiChanged at once.
    void createWindow(const WindowSpec& windowSpec);
    void destroyWindow();
    Hwnd hWnd() const { return hwnd_; }

    void addControl(Control& c);
    // Mouse events on the form's own background (no control under the pointer, or a press that
    // began on the background), in client pixels.
    std::function<void(const MouseEvent&)> onBackgroundMouse;
    Color BackColor() const { return backColor_; }
    void setBackColor(Color c);
    // Drawn at the top-left corner over the back colour; may be empty.
    void setPicture(const Image* picture);

    // The density of the window (dots per inch): the system's until the window exists, then
    // its own, following it from monitor to monitor (WM_DPICHANGED).
    int dpi() const { return dpi_ > 0 ? dpi_ : desktop_.windowDpi(0); }
    // Lengths in twips as whole pixels at the window's density (halves to even).
    std::int32_t twipsToPixelsX(std::int32_t twips) const;
    std::int32_t twipsToPixelsY(std::int32_t twips) const;
    // Places a control at a design rectangle given in twips.
    void placeTwips(Control& c, std::int32_t left, std::int32_t top, std::int32_t width,
                    std::int32_t height);

    // ControlHost
    Desktop& desktop() override { return desktop_; }
    Hwnd hostWindow() override { return hwnd_; }
    void invalidateControl(Control& c) override;
    void captureMouse(Control& c) override;
    void releaseMouse(Control& c) override;
    Point clientToScreen(Point client) override;
    int hostDpi() override { return dpi(); }

    // WindowHandler
    void onPaint(Canvas& canvas) override;
    void onMouse(const MouseEvent& e) override;
    void onKeyDown(int virtualKey) override;
    void onCaptureLost() override;
    void onDestroy() override;
    // Every control hears of it.
    void onDisplayChange() override;
    // A new density: the form takes it, lays itself out again (layoutForDpi) and moves to the
    // rectangle the system suggests.
    void onDpiChanged(int dpi, const Rect& suggested) override;

protected:
    // Lays the form's content out again at dpi() after the density changed. The size and place
    // of the window are the caller's.
    virtual void layoutForDpi() {}
    void setDpi(int dpi) { dpi_ = dpi > 0 ? dpi : kDefaultDpi; }
    // The control that gets key presses (none by default).
    void setKeyTarget(Control* c) { keyTarget_ = c; }

private:
    Control* controlAt(Point client);
    static MouseEvent relativeTo(const MouseEvent& e, const Control& c);
    void endPress();

    Desktop& desktop_;
    Hwnd hwnd_ = 0;
    std::vector<Control*> controls_;
    Control* captured_ = nullptr;
    // A press in progress and where it began (nullptr: the background).
    bool pressing_ = false;
    Control* pressTarget_ = nullptr;
    Control* keyTarget_ = nullptr;
    Color backColor_ = 0;
    const Image* picture_ = nullptr;
    int dpi_ = 0;  // 0: the system's, until the window exists
};

}  // namespace tb
