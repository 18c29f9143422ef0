// A form stand-in for driving one control directly: it counts repaint requests, keeps the
// capture, and offers a desktop with a virtual clock, a cursor and a window under it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "platform/sim/SimDesktop.h"

namespace tb::test {

// The simulated desktop, counting what a hover poll costs.
class CountingDesktop : public sim::SimDesktop {
public:
    TimerId startTimer(std::uint32_t intervalMs, std::function<void()> onTick) override {
        ++timerStarts;
        return SimDesktop::startTimer(intervalMs, [this, tick = std::move(onTick)] {
            ++timerTicks;
            tick();
        });
    }
    Point cursorPos() override {
        ++cursorQueries;
        return SimDesktop::cursorPos();
    }
    Hwnd windowFromPoint(Point screen) override {
        ++windowLookups;
        return SimDesktop::windowFromPoint(screen);
    }

    int timerStarts = 0;
    int timerTicks = 0;
    int cursorQueries = 0;
    int windowLookups = 0;
};

// A form stand-in for driving one control directly: a real window of the simulated desktop at
// kOrigin, whose repaint requests and capture it records.
class TestHost : public ControlHost {
public:
    static constexpr Point kOrigin{100, 0};

    TestHost() {
        WindowSpec windowSpec;
        windowSpec.className = "ControlTestForm";
        windowSpec.bounds = Rect::fromXYWH(kOrigin.x, kOrigin.y, 600, 120);
        windowSpec.visible = true;
        window = desk.createWindow(windowSpec, &handler);
    }

    Desktop& desktop() override { return desk; }
    Hwnd hostWindow() override { return window; }
    void invalidateControl(Control&) override { ++invalidations; }
    void captureMouse(Control& c) override { captured = &c; }
    void releaseMouse(Control& c) override {
        if (captured == &c) captured = nullptr;
    }
    Point clientToScreen(Point p) override {
        Rect c = desk.clientRect(window);
        return Point{p.x + c.left, p.y + c.top};
    }

    // Synthetic input at a point relative to the control, as the form would route it.
    static void mouse(Control& c, MouseAction action, Point at, int button = 0, int buttons = 0,
                      bool shift = false) {
        MouseEvent e;
        e.action = action;
        e.button = button;
        e.buttons = buttons;
        e.shift = shift;
        e.pos = at;
        c.mouseEvent(e);
    }
    static void press(Control& c, Point at, int button = mouse::Left) {
        mouse(c, MouseAction::Down, at, button, button);
    }
    static void move(Control& c, Point at, int buttons = 0) {
        mouse(c, MouseAction::Move, at, 0, buttons);
    }
    static void release(Control& c, Point at, int button = mouse::Left) {
        mouse(c, MouseAction::Up, at, button, 0);
    }

    CountingDesktop desk;
    WindowHandler handler;
    Hwnd window = 0;
    int invalidations = 0;
    Control* captured = nullptr;
};

// Records what a control paints.
class RecordingCanvas : public Canvas {
public:
    struct Op {
        std::string what;  // "fill", "image", "text", "edge"
        Rect rect;         // destination
        Color color = 0;
        unsigned edgeType = 0;
        unsigned flags = 0;
        const Image* image = nullptr;
        Rect src;
        std::string text;
    };
    Size size() const override { return Size{1000, 200}; }
    static Op make(const char* what, const Rect& r, Color c = 0) {
        Op op;
        op.what = what;
        op.rect = r;
        op.color = c;
        return op;
    }
    void fillRect(const Rect& r, Color c) override { ops.push_back(make("fill", r, c)); }
    void drawImage(const Image& img, std::int32_t x, std::int32_t y, const Rect& src) override {
        Op op = make("image", Rect::fromXYWH(x, y, src.width(), src.height()));
        op.image = &img;
        op.src = src;
        ops.push_back(op);
    }
    void drawText(std::string_view text, std::int32_t x, std::int32_t y, const Rect& clip,
                  const FontSpec&, Color color) override {
        Op op = make("text", Rect{x, y, clip.right, clip.bottom}, color);
        op.text = std::string(text);
        ops.push_back(op);
    }
    Size measureText(std::string_view text, const FontSpec& font) override {
        return Size{static_cast<std::int32_t>(text.size()) * 6, font.heightPx};
    }
    void drawEdge(const Rect& r, unsigned edgeType, unsigned flags) override {
        Op op = make("edge", r);
        op.edgeType = edgeType;
        op.flags = flags;
        ops.push_back(op);
    }
    std::vector<Op> of(const std::string& what) const {
        std::vector<Op> out;
        for (const Op& o : ops)
            if (o.what == what) out.push_back(o);
        return out;
    }
    std::vector<Op> ops;
};

}  // namespace tb::test
