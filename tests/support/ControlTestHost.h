// A simulated desktop that counts what polls cost and fails on request, and a form stand-in for
// driving one control directly.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include "common/ProgramError.h"
#include "controls/Control.h"
#include "platform/sim/SimDesktop.h"

namespace tb::test {

// At 16:07:09 on 5 December 2026, the exe in C:\Apps.
class TestDesktop : public sim::SimDesktop {
public:
    TestDesktop() {
        setExeFolder("C:\\Apps");
        setLocalTime({2026, 12, 5, 16, 7, 9});
    }
    Point cursorPos() override { return ++cursorQueries, SimDesktop::cursorPos(); }
    Hwnd windowFromPoint(Point p) override {
        return ++windowLookups, SimDesktop::windowFromPoint(p);
    }
    std::optional<Rect> windowRect(Hwnd h) override {
        return ++otherQueries, SimDesktop::windowRect(h);
    }
    Hwnd foregroundWindow() override { return ++otherQueries, SimDesktop::foregroundWindow(); }
    Size screenSize() override { return ++otherQueries, SimDesktop::screenSize(); }
    bool moveWindow(Hwnd h, const Rect& r) override {
        return ++moves, SimDesktop::moveWindow(h, r);
    }
    // Something may happen right after the player's window is looked up, or a query returns.
    Hwnd findWindow(std::string_view className) override {
        const Hwnd found = SimDesktop::findWindow(className);
        if (found && afterLookup) std::exchange(afterLookup, nullptr)();
        return found;
    }
    // A broken system call: a post runs `failPost` first, a query throws while `failQueries`.
    bool postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) override {
        if (failPost) failPost();
        return SimDesktop::postMessage(hwnd, msg, w, l);
    }
    std::optional<LResult> sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l,
                                              std::uint32_t timeoutMs) override {
        if (failQueries) throw std::runtime_error("query");
        auto reply = SimDesktop::sendMessageTimeout(hwnd, msg, w, l, timeoutMs);
        if (afterQuery) std::exchange(afterQuery, nullptr)();
        return reply;
    }
    int cursorQueries = 0, windowLookups = 0, otherQueries = 0, moves = 0;
    std::function<void()> failPost, afterLookup, afterQuery;
    bool failQueries = false;
};

// A real window of the simulated desktop at (100, 0), recording repaint requests and capture.
class TestHost : public ControlHost {
public:
    TestHost() {
        window = desk.createWindow({"ControlTestForm", "", {100, 0, 700, 120}, 0, true}, &handler);
    }
    Desktop& desktop() override { return desk; }
    Hwnd hostWindow() override { return window; }
    void invalidateControl(Control&) override { ++invalidations; }
    void captureMouse(Control& c) override { captured = &c; }
    void releaseMouse(Control& c) override {
        if (captured == &c) captured = nullptr;
    }
    Point clientToScreen(Point p) override { return Point{p.x + 100, p.y}; }
    // Another window takes the mouse, and the form tells the control that held it.
    void loseCapture() {
        if (captured) std::exchange(captured, nullptr)->captureLost();
    }

    // Input at a point relative to the control, as the form routes it: `button` goes down or up,
    // and is held during moves.
    static void mouse(Control& c, MouseAction action, Point at, int button = mouse::Left) {
        c.mouseEvent({.action = action,
                      .button = action == MouseAction::Move ? 0 : button,
                      .buttons = action == MouseAction::Up ? 0 : button,
                      .pos = at});
    }

    // The events the control raised, as one line.
    void log(const std::string& e) { events += (events.empty() ? "" : " ") + e; }
    std::string takeEvents() { return std::exchange(events, {}); }

    TestDesktop desk;
    WindowHandler handler;
    Hwnd window = 0;
    int invalidations = 0;
    Control* captured = nullptr;
    std::string events;
};

// Opaque pixels of `img` that `frame` does not show with the corner at `at`, in the picture's
// first `rows` rows (0: all).
inline int mismatches(const Image& frame, const Image& img, Point at, std::int32_t rows = 0) {
    int bad = 0;
    for (std::int32_t y = 0; y < (rows ? rows : img.height); ++y)
        for (std::int32_t x = 0; x < img.width; ++x) {
            const Color want = img.at(x, y);
            if (img.hasTransparency && want == img.transparentColor) continue;
            const Point p{at.x + x, at.y + y};
            if (p.x >= frame.width || p.y >= frame.height || frame.at(p.x, p.y) != want) ++bad;
        }
    return bad;
}

// The number of the program error `f` throws; 0 when it throws none.
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ProgramError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace tb::test
