// The simulated desktop's event processing (virtual time, timers, posted messages, paints), its
// synthetic input and its code page.
#include <algorithm>
#include <exception>

#include "platform/sim/AnsiCodePage.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {
namespace {

// Passes at one instant before events that keep re-creating themselves count as a livelock.
constexpr int kMaxPassesPerInstant = 100000;

std::uint32_t buttonMessage(MouseAction action, int button) {
    const int which = button == mouse::Right ? 1 : button == mouse::Middle ? 2 : 0;
    static constexpr std::uint32_t kDown[] = {wm::WmLButtonDown, wm::WmRButtonDown,
                                              wm::WmMButtonDown};
    static constexpr std::uint32_t kUp[] = {wm::WmLButtonUp, wm::WmRButtonUp, wm::WmMButtonUp};
    static constexpr std::uint32_t kDouble[] = {wm::WmLButtonDblClk, wm::WmRButtonDblClk,
                                                wm::WmMButtonDblClk};
    switch (action) {
        case MouseAction::Down:
            return kDown[which];
        case MouseAction::Up:
            return kUp[which];
        case MouseAction::DoubleClick:
            return kDouble[which];
        case MouseAction::Move:
            break;
    }
    return wm::WmMouseMove;
}

int buttonKey(int button) {
    return button == mouse::Right    ? vk::VkRButton
           : button == mouse::Middle ? vk::VkMButton
                                     : vk::VkLButton;
}

}  // namespace

// ---- Time and events --------------------------------------------------------------------------

TimerId SimDesktop::startTimer(std::uint32_t intervalMs, std::function<void()> onTick) {
    auto guarded = [this, tick = std::move(onTick)] {
        try {
            tick();
        } catch (const std::exception& e) {
            escapedErrors_.emplace_back(e.what());
        }
    };
    return clock_.start(intervalMs, std::move(guarded), actingPid_);
}

void SimDesktop::stopTimer(TimerId id) { clock_.stop(id); }

void SimDesktop::at(std::uint64_t tickMs, std::function<void()> action) {
    testEvents_.emplace(tickMs, std::move(action));
}

int SimDesktop::pass() {
    int work = 0;
    // Posted messages that were waiting when the pass began, in order; a hung window's
    // messages stay queued, a destroyed window's are dropped.
    for (std::size_t budget = posted_.size(); budget > 0; --budget) {
        auto it = std::find_if(posted_.begin(), posted_.end(), [this](const Posted& p) {
            const SimWindow* win = windows_.find(p.hwnd);
            return !win || !hung(*win);
        });
        if (it == posted_.end()) break;
        const Posted p = *it;
        posted_.erase(it);
        deliver(p.hwnd, p.msg, p.w, p.l);
        ++work;
    }
    while (!testEvents_.empty() && testEvents_.begin()->first <= clock_.now()) {
        auto action = std::move(testEvents_.begin()->second);
        testEvents_.erase(testEvents_.begin());
        action();
        ++work;
    }
    work += clock_.fireDue();
    std::vector<Hwnd> toPaint;
    for (Hwnd hwnd : windows_.zOrder()) {
        const SimWindow* win = windows_.find(hwnd);
        if (win->paintDue() && win->visible && !win->minimized && !hung(*win))
            toPaint.push_back(hwnd);
    }
    for (Hwnd hwnd : toPaint) {
        const SimWindow* win = windows_.find(hwnd);
        if (win && win->paintDue()) {
            paint(hwnd);
            ++work;
        }
    }
    return work;
}

bool SimDesktop::deliverablePending() const {
    for (const Posted& p : posted_) {
        const SimWindow* win = windows_.find(p.hwnd);
        if (win && !hung(*win)) return true;
    }
    if (!testEvents_.empty() && testEvents_.begin()->first <= clock_.now()) return true;
    if (auto due = clock_.nextDue(); due && *due <= clock_.now()) return true;
    for (Hwnd hwnd : windows_.zOrder()) {
        const SimWindow* win = windows_.find(hwnd);
        if (win->paintDue() && win->visible && !win->minimized && !hung(*win)) return true;
    }
    return false;
}

void SimDesktop::settle() {
    pass();
    for (int passes = 1; deliverablePending(); ++passes) {
        if (passes >= kMaxPassesPerInstant) {
            throw SimStuck("events keep re-creating themselves at one instant");
        }
        pass();
    }
}

std::optional<std::uint64_t> SimDesktop::nextEventTime() const {
    std::optional<std::uint64_t> next = clock_.nextDue();
    auto consider = [&next](std::uint64_t t) {
        if (!next || t < *next) next = t;
    };
    if (!testEvents_.empty()) consider(testEvents_.begin()->first);
    // A hang that ends releases the window's queued messages and paints.
    for (Hwnd hwnd : windows_.zOrder()) {
        const SimWindow* win = windows_.find(hwnd);
        if (hung(*win) && win->hungUntilMs != kHungForever) consider(win->hungUntilMs);
    }
    return next;
}

void SimDesktop::doEvents() {
    // A loop of doEvents calls waiting for the clock would spin for ever here: say so instead.
    const bool idle = pass() == 0;
    if (idle && clock_.now() == lastIdlePassMs_) {
        if (++idlePasses_ >= kMaxPassesPerInstant) {
            throw SimStuck("doEvents spins while virtual time stands still; use waitEventsUntil");
        }
    } else {
        idlePasses_ = 0;
    }
    lastIdlePassMs_ = clock_.now();
}

void SimDesktop::waitEventsUntil(std::uint64_t deadlineMs) {
    settle();
    while (clock_.now() < deadlineMs) {
        const auto next = nextEventTime();
        std::uint64_t t = next ? std::min(*next, deadlineMs) : deadlineMs;
        clock_.advanceTo(std::max(t, clock_.now() + 1));
        settle();
    }
}

int SimDesktop::runEventLoop() {
    const std::uint64_t start = clock_.now();
    while (!quitCode_) {
        settle();
        if (quitCode_) break;
        const auto next = nextEventTime();
        if (!next) throw SimStuck("the event loop waits for something that can never happen");
        if (*next - start > loopLimitMs_) throw SimStuck("the event loop ran past its time limit");
        clock_.advanceTo(std::max(*next, clock_.now() + 1));
    }
    const int code = *quitCode_;
    quitCode_.reset();
    return code;
}

// ---- Input ------------------------------------------------------------------------------------

std::int16_t SimDesktop::asyncKeyState(int virtualKey) {
    std::uint16_t state = keysDown_.count(virtualKey) ? 0x8000 : 0;
    if (keysPressedSinceQuery_.erase(virtualKey)) state |= 1;
    return static_cast<std::int16_t>(state);
}

void SimDesktop::setKeyDown(int virtualKey, bool down) {
    if (virtualKey < 1 || virtualKey > 254) return;
    if (down) {
        if (keysDown_.insert(virtualKey).second) keysPressedSinceQuery_.insert(virtualKey);
    } else {
        keysDown_.erase(virtualKey);
    }
}

namespace {

std::uint32_t modifierFlags(const std::set<int>& keys) {
    std::uint32_t mk = 0;
    if (keys.count(vk::VkLButton)) mk |= mk::MkLButton;
    if (keys.count(vk::VkRButton)) mk |= mk::MkRButton;
    if (keys.count(vk::VkMButton)) mk |= mk::MkMButton;
    if (keys.count(vk::VkShift)) mk |= mk::MkShift;
    if (keys.count(vk::VkControl)) mk |= mk::MkControl;
    return mk;
}

}  // namespace

Hwnd SimDesktop::mouse(Point screen, MouseAction action, int button) {
    cursor_ = screen;
    if (action != MouseAction::Move && button == 0) button = mouse::Left;
    if (action == MouseAction::Down || action == MouseAction::DoubleClick) {
        setKeyDown(buttonKey(button), true);
    } else if (action == MouseAction::Up) {
        setKeyDown(buttonKey(button), false);
    }
    const bool captured = windows_.find(capture_) != nullptr;
    if (!windows_.find(trackbarDrag_)) trackbarDrag_ = 0;
    // A dragged trackbar thumb holds the mouse until the button comes up.
    if (!captured && trackbarDrag_ != 0 && action != MouseAction::Down) {
        const Hwnd dragged = trackbarDrag_;
        controlMouse(dragged, screen, action);
        return dragged;
    }
    const Hwnd target = captured ? capture_ : windows_.fromPoint(screen);
    if (target == 0) return 0;
    if (!captured && action == MouseAction::Down && foreground_ != target) activate(target);
    // A standard control under the pointer takes the input itself.
    if (const Hwnd child = captured ? 0 : childAt(target, screen); child != 0) {
        controlMouse(child, screen, action);
        return child;
    }
    if (action == MouseAction::Up) pressedChild_ = 0;
    const Rect client = clientRect(target);
    deliver(target, buttonMessage(action, button), modifierFlags(keysDown_),
            packPoint(screen.x - client.left, screen.y - client.top));
    return target;
}

Hwnd SimDesktop::wheel(Point screen, int delta) {
    cursor_ = screen;
    const Hwnd target = windows_.find(capture_) ? capture_ : windows_.fromPoint(screen);
    if (target == 0) return 0;
    const auto w = (static_cast<std::uint32_t>(delta & 0xFFFF) << 16) | modifierFlags(keysDown_);
    deliver(target, wm::WmMouseWheel, w, packPoint(screen.x, screen.y));
    return target;
}

void SimDesktop::keyDown(Hwnd hwnd, int virtualKey) {
    deliver(hwnd, wm::WmKeyDown, static_cast<WParam>(virtualKey), 1);
}

// ---- Painting ---------------------------------------------------------------------------------

void SimDesktop::paint(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    // BeginPaint validates first: an invalidation during the paint asks for another one. A
    // paint nobody asked for (paintNow) is a whole one.
    const Rect part = win->dirty || !win->paintDue() ? Rect{} : win->dirtyPart;
    win->dirty = false;
    win->dirtyPart = {};
    deliver(hwnd, wm::WmPaint, 0, reinterpret_cast<LParam>(&part));
}

void SimDesktop::paintNow(Hwnd hwnd) { paint(hwnd); }

const Image& SimDesktop::frame(Hwnd hwnd) const {
    static const Image kNone;
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->frame : kNone;
}

const std::vector<TextRecord>& SimDesktop::texts(Hwnd hwnd) const {
    static const std::vector<TextRecord> kNone;
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->texts : kNone;
}

Rect SimDesktop::paintedPart(Hwnd hwnd) const {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->paintedPart : Rect{};
}

int SimDesktop::paintCount(Hwnd hwnd) const {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->paintCount : 0;
}

// ---- Text -------------------------------------------------------------------------------------

std::u16string SimDesktop::ansiToUtf16(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    for (const char c : ansi) out += ansiChar(static_cast<unsigned char>(c));
    return out;
}

}  // namespace tb::sim
