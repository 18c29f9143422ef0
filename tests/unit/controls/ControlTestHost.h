// A form stand-in for driving one control directly: it counts repaint requests, keeps the
// capture, and offers a desktop with a virtual clock, a cursor and a window under it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/Control.h"

namespace tb::test {

class FakeDesktop : public Desktop {
public:
    // ---- what the controls use ---------------------------------------------------------------
    TimerId startTimer(std::uint32_t intervalMs, std::function<void()> onTick) override {
        TimerId id = nextTimer_++;
        timers_[id] = Timer{intervalMs, now_ + intervalMs, std::move(onTick)};
        ++timerStarts;
        return id;
    }
    void stopTimer(TimerId id) override { timers_.erase(id); }
    std::uint64_t tickCountMs() override { return now_; }
    Point cursorPos() override {
        ++cursorQueries;
        return cursor;
    }
    Hwnd windowFromPoint(Point) override {
        ++windowLookups;
        return windowUnderCursor;
    }
    int twipsPerPixelX() override { return twips; }
    int twipsPerPixelY() override { return twips; }
    Size measureText(std::string_view text, const FontSpec& font) override {
        return Size{static_cast<std::int32_t>(text.size()) * 6, font.heightPx};
    }

    // Moves the clock, running each timer as it falls due.
    void advance(std::uint64_t ms) {
        const std::uint64_t end = now_ + ms;
        for (;;) {
            TimerId due = 0;
            std::uint64_t when = end + 1;
            for (auto& [id, t] : timers_)
                if (t.due < when) when = t.due, due = id;
            if (due == 0) break;
            now_ = when;
            Timer& t = timers_[due];
            t.due += t.interval;
            ++timerTicks;
            auto tick = t.onTick;  // the callback may stop its own timer
            tick();
        }
        now_ = end;
    }
    std::size_t runningTimers() const { return timers_.size(); }

    Point cursor;
    Hwnd windowUnderCursor = 0;
    int twips = 15;
    int cursorQueries = 0;
    int windowLookups = 0;
    int timerStarts = 0;
    int timerTicks = 0;

    // ---- the rest of the port is not for controls ----------------------------------------------
    [[noreturn]] static void unused() { throw std::logic_error("not for controls"); }
    Hwnd findWindow(std::string_view) override { unused(); }
    Hwnd findWindowEx(Hwnd, std::string_view) override { unused(); }
    Hwnd createWindow(const WindowSpec&, WindowHandler*) override { unused(); }
    void destroyWindow(Hwnd) override { unused(); }
    bool isWindow(Hwnd) override { unused(); }
    std::string windowText(Hwnd) override { unused(); }
    std::string windowClass(Hwnd) override { unused(); }
    LResult sendMessage(Hwnd, std::uint32_t, WParam, LParam) override { unused(); }
    std::optional<LResult> sendMessageTimeout(Hwnd, std::uint32_t, WParam, LParam,
                                              std::uint32_t) override {
        unused();
    }
    bool postMessage(Hwnd, std::uint32_t, WParam, LParam) override { unused(); }
    LResult sendCopyData(Hwnd, Hwnd, std::uintptr_t, std::span<const std::uint8_t>) override {
        unused();
    }
    bool showWindow(Hwnd, int) override { unused(); }
    bool isWindowVisible(Hwnd) override { unused(); }
    std::optional<Rect> windowRect(Hwnd) override { unused(); }
    bool moveWindow(Hwnd, const Rect&) override { unused(); }
    bool setTopmost(Hwnd, bool) override { unused(); }
    std::uint32_t exStyle(Hwnd) override { unused(); }
    bool setExStyle(Hwnd, std::uint32_t) override { unused(); }
    bool setLayeredAlpha(Hwnd, std::uint8_t) override { unused(); }
    void invalidate(Hwnd) override { unused(); }
    void setCapture(Hwnd) override { unused(); }
    void releaseCapture() override { unused(); }
    Hwnd foregroundWindow() override { unused(); }
    bool setForegroundWindow(Hwnd) override { unused(); }
    bool setMessageHook(Hwnd, MessageHook*) override { unused(); }
    bool removeMessageHook(Hwnd) override { unused(); }
    ProcessId windowProcessId(Hwnd) override { unused(); }
    ProcessHandle openProcessForRead(ProcessId) override { unused(); }
    std::size_t readProcessMemory(ProcessHandle, std::uint64_t, std::span<std::uint8_t>) override {
        unused();
    }
    void closeHandle(ProcessHandle) override { unused(); }
    bool startProgramMinimized(const std::string&) override { unused(); }
    [[noreturn]] void exitProcessNow(int) override { unused(); }
    bool claimSingleInstance(std::string_view) override { unused(); }
    std::uintptr_t loadLibrary(std::string_view) override { unused(); }
    void freeLibrary(std::uintptr_t) override { unused(); }
    void initCommonControls() override { unused(); }
    std::string commandArguments() override { unused(); }
    std::string exeFolder() override { unused(); }
    LocalTime localTime() override { unused(); }
    void doEvents() override { unused(); }
    void waitEventsUntil(std::uint64_t) override { unused(); }
    int runEventLoop() override { unused(); }
    void quit(int) override { unused(); }
    std::int16_t asyncKeyState(int) override { unused(); }
    Size screenSize() override { unused(); }
    bool fileExists(const std::string&) override { unused(); }
    std::unique_ptr<OutputFile> createFile(const std::string&, bool) override { unused(); }
    std::optional<std::string> readFile(const std::string&) override { unused(); }
    int messageBox(Hwnd, std::string_view, std::string_view, unsigned) override { unused(); }

private:
    struct Timer {
        std::uint32_t interval = 0;
        std::uint64_t due = 0;
        std::function<void()> onTick;
    };
    std::uint64_t now_ = 1000;
    TimerId nextTimer_ = 1;
    std::map<TimerId, Timer> timers_;
};

// Hosts controls at their bounds in a window whose client area starts at `origin` on screen.
class TestHost : public ControlHost {
public:
    static constexpr Hwnd kWindow = 0x1234;

    Desktop& desktop() override { return desk; }
    Hwnd hostWindow() override { return kWindow; }
    void invalidateControl(Control&) override { ++invalidations; }
    void captureMouse(Control& c) override { captured = &c; }
    void releaseMouse(Control& c) override {
        if (captured == &c) captured = nullptr;
    }
    Point clientToScreen(Point p) override { return Point{p.x + origin.x, p.y + origin.y}; }

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

    FakeDesktop desk;
    Point origin{100, 0};
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
