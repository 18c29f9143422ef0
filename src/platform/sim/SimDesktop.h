// An in-memory desktop with a virtual clock, following Windows' semantics closely, so that the
// whole program runs inside a unit test deterministically and in microseconds.
//
// Usage:
//     sim::SimDesktop desk;                          // screen 1024x768 at 96 dpi
//     ProcessId player = desk.createProcess("player.exe");
//     Hwnd hw;
//     {
//         auto as = desk.actAs(player);              // windows created now belong to `player`
//         hw = desk.createWindow({"Winamp v1.x", "Player", Rect::fromXYWH(0, 0, 275, 116)},
//                                &playerHandler);
//     }
//     desk.processes().writeMemory(player, 0x400000, "Title\0"s);
//     desk.advance(30'000);                          // 30 s of timers, posts and paints
//     desk.mouse({10, 5}, MouseAction::Down, mouse::Left);
//     const Image& f = desk.frame(bar);              // the last painted frame
//
// Semantics worth knowing:
// - Time moves only through advance / waitEventsUntil / runEventLoop and through sends to a hung
//   window; doEvents is one pass at the current instant (spinning on it throws SimStuck).
// - Timers below 10 ms run at 10 ms, as SetTimer's USER_TIMER_MINIMUM makes them
//   (setTimerMinimumMs(1) lifts that); a late timer ticks once, staying in phase.
// - createWindow reports the first size (onSize) before it returns, as CreateWindowEx does.
// - Synthetic input (mouse, wheel, keyDown) is delivered at once, not queued; a press activates.
// - Showing a window activates it only when the acting process owns the foreground window or
//   there is none (the foreground lock); setForeground sets it directly.
// - Every message (sent, posted, input, paint, size, destroy, copy-data) passes the window's
//   hook before its handler.
// - An error (std::exception) that escapes a window's hook or handler, or a timer callback, stops
//   there, as the Win32 host's last-resort catch stops it; escapedErrors() lists them.
// - A message box returns at once (scripted answer); exitProcessNow throws SimProcessExit.
// - Every window has a density (dpi): the screen's when it was made, its root's for a child;
//   moveToDensity changes it as a move to another monitor would. A captioned window's frame and
//   the dialog font follow it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/sim/SimCanvas.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWindowList.h"

namespace tb::sim {

// Thrown by exitProcessNow: the process would end here.
struct SimProcessExit {
    int code = 0;
};

// The simulated program would block forever (a send to a window hung for good, an event loop
// with nothing left that could ever happen) or spin (events that keep re-creating themselves).
// Like SimProcessExit it is no std::exception: the program's error boundaries catch only those,
// so it always reaches the test. The reason is printed too, as a test that does not expect it
// reports only an unknown exception.
struct SimStuck {
    explicit SimStuck(std::string reason);
    std::string what;
};

// COPYDATASTRUCT's layout: what WM_COPYDATA's lParam points to.
struct SimCopyData {
    std::uintptr_t dwData = 0;
    std::uint32_t cbData = 0;
    const void* lpData = nullptr;
};

struct MessageRecord {
    enum class Kind { Send, SendTimeout, Post, CopyData };
    Kind kind = Kind::Send;
    Hwnd to = 0;
    std::uint32_t msg = 0;
    WParam w = 0;
    LParam l = 0;
    std::uint64_t tickMs = 0;
};

struct MessageBoxRecord {
    Hwnd owner = 0;
    std::string text;
    std::string caption;
    unsigned flags = 0;
};

// Virtual-key codes the simulation itself uses.
namespace vk {
constexpr int VkLButton = 0x01;
constexpr int VkRButton = 0x02;
constexpr int VkMButton = 0x04;
constexpr int VkShift = 0x10;
constexpr int VkControl = 0x11;
constexpr int VkMenu = 0x12;  // Alt
}  // namespace vk

class SimDesktop : public Desktop {
public:
    static constexpr std::uint64_t kStartTickMs = 1'000'000;
    static constexpr std::uint64_t kHungForever = UINT64_MAX;
    // Frame of a captioned (not popup) window: the client area lies this far inside.
    // At 96 dpi; both grow with the window's density.
    static constexpr int kFrameWidth = 3;
    static constexpr int kCaptionHeight = 20;
    // Windows' default limit of posted messages waiting in one thread's queue.
    static constexpr std::size_t kPostQueueLimit = 10000;

    SimDesktop();
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // ---- Desktop ---------------------------------------------------------------------------
    Hwnd findWindow(std::string_view className) override;
    Hwnd findWindowEx(Hwnd after, std::string_view className) override;
    Hwnd createWindow(const WindowSpec& windowSpec, WindowHandler* handler) override;
    void destroyWindow(Hwnd hwnd) override;
    bool isWindow(Hwnd hwnd) override;
    std::string windowText(Hwnd hwnd) override;
    std::string windowClass(Hwnd hwnd) override;
    LResult sendMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) override;
    std::optional<LResult> sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l,
                                              std::uint32_t timeoutMs) override;
    bool postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) override;
    LResult sendCopyData(Hwnd to, Hwnd from, std::uintptr_t dwData,
                         std::span<const std::uint8_t> data) override;
    std::optional<LResult> sendCopyDataTimeout(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                               std::span<const std::uint8_t> data,
                                               std::uint32_t timeoutMs) override;
    bool showWindow(Hwnd hwnd, int cmd) override;
    bool isWindowVisible(Hwnd hwnd) override;
    std::optional<Rect> windowRect(Hwnd hwnd) override;
    bool moveWindow(Hwnd hwnd, const Rect& bounds) override;
    bool setTopmost(Hwnd hwnd, bool topmost) override;
    std::uint32_t exStyle(Hwnd hwnd) override;
    bool setExStyle(Hwnd hwnd, std::uint32_t exStyle) override;
    bool setLayeredAlpha(Hwnd hwnd, std::uint8_t alpha) override;
    void invalidate(Hwnd hwnd) override;
    void invalidateRect(Hwnd hwnd, const Rect& client) override;
    void setCapture(Hwnd hwnd) override;
    void releaseCapture() override;
    Hwnd foregroundWindow() override;
    bool setForegroundWindow(Hwnd hwnd) override;
    Hwnd windowFromPoint(Point screen) override;
    bool setMessageHook(Hwnd hwnd, MessageHook* hook) override;
    bool removeMessageHook(Hwnd hwnd) override;
    bool setWindowText(Hwnd hwnd, std::string_view text) override;
    bool setWindowIcon(Hwnd hwnd, const Image& smallIcon) override;
    bool setWindowTimer(Hwnd hwnd, TimerId id, std::uint32_t intervalMs,
                        std::function<void()> onTick) override;
    bool killWindowTimer(Hwnd hwnd, TimerId id) override;
    Color sysColor(int index) override;

    Hwnd createChild(Hwnd parent, const ChildSpec& childSpec, ChildHandler* handler) override;
    bool enableWindow(Hwnd hwnd, bool enable) override;
    bool isWindowEnabled(Hwnd hwnd) override;
    Hwnd focus() override;
    bool setFocus(Hwnd hwnd) override;
    // Tahoma 11 pixels at 96 dpi, scaled as Windows scales its metrics (MulDiv).
    FontSpec dialogFont(int dpi) override;
    bool setFont(Hwnd hwnd, const FontSpec& font) override;
    int checkState(Hwnd hwnd) override;
    bool setCheckState(Hwnd hwnd, int state) override;
    bool setTextLimit(Hwnd hwnd, int maxChars) override;
    bool setTrackbarRange(Hwnd hwnd, int min, int max) override;
    std::optional<std::pair<int, int>> trackbarRange(Hwnd hwnd) override;
    bool setTrackbarPos(Hwnd hwnd, int pos) override;
    int trackbarPos(Hwnd hwnd) override;
    bool insertTab(Hwnd hwnd, int index, std::string_view text) override;
    int tabCount(Hwnd hwnd) override;
    int tabSelection(Hwnd hwnd) override;
    bool setTabSelection(Hwnd hwnd, int index) override;
    std::optional<Rect> tabItemRect(Hwnd hwnd, int index) override;
    bool setPicture(Hwnd hwnd, const Image& picture) override;

    ProcessId windowProcessId(Hwnd hwnd) override;
    ProcessHandle openProcessForRead(ProcessId pid) override;
    std::size_t readProcessMemory(ProcessHandle process, std::uint64_t address,
                                  std::span<std::uint8_t> out) override;
    void closeHandle(ProcessHandle process) override;
    bool startProgramMinimized(const std::string& path) override;
    [[noreturn]] void exitProcessNow(int code) override;
    bool claimSingleInstance(std::string_view name) override;
    std::uintptr_t loadLibrary(std::string_view name) override;
    void freeLibrary(std::uintptr_t module) override;
    void initCommonControls() override { ++commonControlsInits_; }
    std::string commandArguments() override { return commandArguments_; }
    std::string exeFolder() override { return exeFolder_; }

    std::uint64_t tickCountMs() override { return clock_.now(); }
    LocalTime localTime() override { return clock_.localTime(); }
    TimerId startTimer(std::uint32_t intervalMs, std::function<void()> onTick) override;
    void stopTimer(TimerId id) override;
    void doEvents() override;
    void waitEventsUntil(std::uint64_t deadlineMs) override;
    int runEventLoop() override;
    void quit(int code) override { quitCode_ = code; }

    std::int16_t asyncKeyState(int virtualKey) override;
    Point cursorPos() override { return cursor_; }
    Size screenSize() override { return screen_; }
    // The canvas's fixed metrics (SimCanvas::charWidth, lineHeight).
    Size measureText(std::string_view ansiText, const FontSpec& font) override {
        return SimCanvas::measure(ansiText, font);
    }
    int windowDpi(Hwnd hwnd) override;

    // Windows-1252, the ANSI code page of Western European and US Windows, as
    // MultiByteToWideChar maps it: every byte is one character, the five bytes without a
    // character in the code page (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on.
    std::u16string ansiToUtf16(std::string_view ansi) override;

    bool fileExists(const std::string& path) override { return files_.fileExists(path); }
    std::unique_ptr<OutputFile> createFile(const std::string& path, bool failIfExists) override {
        return files_.createFile(path, failIfExists);
    }
    bool deleteFile(const std::string& path) override { return files_.deleteFile(path); }
    std::optional<std::string> readFile(const std::string& path) override {
        return files_.readFile(path);
    }
    int messageBox(Hwnd owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;

    // ---- Processes (tests) -----------------------------------------------------------------
    ProcessId selfProcessId() const { return processes_.selfPid(); }
    ProcessId createProcess(std::string name) { return processes_.create(std::move(name)); }
    // The process dies: its windows vanish without any message, its timers stop, its memory
    // goes. Not for this process (false).
    bool killProcess(ProcessId pid);
    bool processExists(ProcessId pid) const { return processes_.exists(pid); }
    // Memory, open-handle counts, access denial.
    SimProcesses& processes() { return processes_; }
    int openProcessHandleCount() const { return processes_.openHandleCount(); }

    // While alive, windows created, timers started and hooks set act for `pid`.
    class ProcessScope {
    public:
        ProcessScope(SimDesktop& desk, ProcessId pid) : desk_(desk), prev_(desk.actingPid_) {
            desk_.actingPid_ = pid;
        }
        ~ProcessScope() { desk_.actingPid_ = prev_; }
        ProcessScope(const ProcessScope&) = delete;
        ProcessScope& operator=(const ProcessScope&) = delete;

    private:
        SimDesktop& desk_;
        ProcessId prev_;
    };
    [[nodiscard]] ProcessScope actAs(ProcessId pid) { return ProcessScope(*this, pid); }
    Hwnd createWindowIn(ProcessId pid, const WindowSpec& windowSpec, WindowHandler* handler);

    // ---- Windows (tests) -------------------------------------------------------------------
    // Everything about a window (nullptr when it does not exist); read-only.
    const SimWindow* window(Hwnd hwnd) const { return windows_.find(hwnd); }
    // Top-level windows, topmost first.
    std::vector<Hwnd> zOrder() const { return windows_.zOrder(); }
    Hwnd capture() const { return capture_; }
    // Any window, or 0 (the desktop); no activation rules.
    void setForeground(Hwnd hwnd) { foreground_ = hwnd; }
    // The client area in screen pixels: the outer rectangle for a popup window.
    Rect clientRect(Hwnd hwnd) const;
    // The window answers nothing until the virtual clock reaches `untilTickMs` (kHungForever:
    // never): posted messages wait, paints wait, sendMessage waits (moving the clock), and
    // sendMessageTimeout waits up to its time-out, or fails at once once the window has been
    // hung for 5 s (SMTO_ABORTIFHUNG). A tick in the past ends the hang.
    void setHung(Hwnd hwnd, std::uint64_t untilTickMs);
    void setProcessHung(ProcessId pid, std::uint64_t untilTickMs);
    // Posts to windows of `pid` fail while this many messages wait for them.
    void setPostQueueLimit(ProcessId pid, std::size_t limit) { postLimits_[pid] = limit; }
    std::size_t pendingPostCount() const { return posted_.size(); }
    // Every send, post and copy-data, oldest first (the last 10000).
    const std::deque<MessageRecord>& messageLog() const { return messageLog_; }
    void clearMessageLog() { messageLog_.clear(); }

    // ---- Time (tests) ----------------------------------------------------------------------
    // Runs events for `ms` of virtual time (waitEventsUntil(now + ms)).
    void advance(std::uint64_t ms) { waitEventsUntil(clock_.now() + ms); }
    void setLocalTime(const LocalTime& t) { clock_.setLocalTime(t); }
    // A test event at a virtual time, run by the event processing like a timer (it does not
    // count as one): a player that quits, a key released, …
    void at(std::uint64_t tickMs, std::function<void()> action);
    void after(std::uint64_t ms, std::function<void()> action) {
        at(clock_.now() + ms, std::move(action));
    }
    // Timers belong to the process that started them (see actAs) and stop when it is killed.
    std::vector<TimerInfo> activeTimers() const { return clock_.activeTimers(); }
    // Running timers of this process.
    int activeTimerCount() const;
    bool isTimerActive(TimerId id) const { return clock_.isActive(id); }
    // Ticks of a running timer (0 once it stopped).
    std::uint64_t timerTicks(TimerId id) const { return clock_.ticks(id); }
    void setTimerMinimumMs(std::uint32_t ms) { clock_.setMinimumIntervalMs(ms); }
    // runEventLoop throws SimStuck after this much virtual time (default one day).
    void setEventLoopLimitMs(std::uint64_t ms) { loopLimitMs_ = ms; }

    // ---- Input and screen (tests) ----------------------------------------------------------
    void setCursorPos(Point p) { cursor_ = p; }
    // Codes outside 1..254 name no key and are ignored.
    void setKeyDown(int virtualKey, bool down);
    // A new resolution, told to every top-level window (WM_DISPLAYCHANGE) as Windows does.
    void setScreenSize(Size s);
    // The system's density, windowDpi(0), and the screen's, which new top-level windows get.
    void setDpi(int dpi) { systemDpi_ = monitorDpi_ = dpi; }
    // The screen's density alone: the user changed the scale since signing in, and the system's
    // stays what it was until the next sign-in.
    void setMonitorDpi(int dpi) { monitorDpi_ = dpi; }
    // The window comes onto a monitor of density `dpi`: its children with it, and then it gets
    // WM_DPICHANGED with `suggested`, by default its outer rectangle scaled from its top-left
    // corner. Nothing else moves.
    void moveToDensity(Hwnd hwnd, int dpi, std::optional<Rect> suggested = std::nullopt);
    // Moves the cursor to `screen` and delivers the mouse message to the capture holder or else
    // the visible window under the point, in its client coordinates. `button` is a mouse::
    // bit (ignored for moves). A press activates the window under the point. Returns the
    // window that got the message (0 for none).
    Hwnd mouse(Point screen, MouseAction action, int button = 0);
    // WM_MOUSEWHEEL (delta 120 per notch, positive away from the user) to the capture holder or
    // the window under the point.
    Hwnd wheel(Point screen, int delta);
    // WM_KEYDOWN to a window.
    void keyDown(Hwnd hwnd, int virtualKey);
    // A key pressed and released as the user would, with the modifiers held by setKeyDown: a
    // dialog's keys (Tab, Ctrl+Tab, Enter, Esc) and the standard controls' own (Space on a
    // button, arrows and Page Up/Down, Home, End on a trackbar or a tab control) act as in
    // Windows; other keys reach a focused top-level window as WM_KEYDOWN.
    void pressKey(int virtualKey);
    // Characters typed into the focused edit box (caret at the end; read-only boxes and the
    // text limit refuse them).
    void typeText(std::string_view text);
    // Where the simulated trackbar's thumb stands (screen pixels) at `value`: press there to
    // drag it (TB_THUMBTRACK at each new position, TB_THUMBPOSITION and TB_ENDTRACK when the
    // button comes up); a press beside the thumb moves it a page.
    std::optional<Point> trackbarPoint(Hwnd trackbar, int value);

    // ---- Painting (tests) ------------------------------------------------------------------
    // Paints the window now, visible or not.
    void paintNow(Hwnd hwnd);
    // The last painted frame (client size), empty before the first paint or for no window.
    const Image& frame(Hwnd hwnd) const;
    // The texts drawn in the last frame.
    const std::vector<TextRecord>& texts(Hwnd hwnd) const;
    int paintCount(Hwnd hwnd) const;
    // What the last paint drew (client pixels); the rest of its frame is the paint before's.
    Rect paintedPart(Hwnd hwnd) const;

    // ---- Files (tests) ---------------------------------------------------------------------
    SimFiles& files() { return files_; }

    // ---- The rest (tests) ------------------------------------------------------------------
    const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
    // Answers the next message boxes in turn; then IDOK.
    void queueMessageBoxAnswer(int answer) { messageBoxAnswers_.push_back(answer); }
    // Runs for each message box (after it is recorded) in place of the queued answers; it may
    // move the clock to play the user's reading time.
    void setMessageBoxHandler(std::function<int(const MessageBoxRecord&)> handler) {
        messageBoxHandler_ = std::move(handler);
    }
    const std::vector<std::string>& startedPrograms() const { return startedPrograms_; }
    // Decides whether a program start succeeds and may create its windows. Without one, a start
    // succeeds when the file exists.
    void setLauncher(std::function<bool(const std::string& path)> launcher) {
        launcher_ = std::move(launcher);
    }
    std::optional<int> exitCode() const { return exitCode_; }
    // Errors that escaped a hook, a handler or a timer callback (what() of each), oldest first:
    // a program error boundary was missing.
    const std::vector<std::string>& escapedErrors() const { return escapedErrors_; }
    // Another instance holds (or gave up) the named mutex.
    void claimByOtherInstance(std::string name) { claimedNames_.insert(std::move(name)); }
    void releaseByOtherInstance(const std::string& name) { claimedNames_.erase(name); }
    // Libraries loadLibrary can find (lower case with extension); the system's are there.
    void addLibrary(std::string name);
    int libraryRefCount(std::string_view name) const;
    int badLibraryFrees() const { return badLibraryFrees_; }
    int commonControlsInitCount() const { return commonControlsInits_; }
    void setCommandArguments(std::string args) { commandArguments_ = std::move(args); }
    // The folder is created: an executable's folder exists.
    void setExeFolder(std::string folder) {
        exeFolder_ = std::move(folder);
        files_.createFolder(exeFolder_);
    }

private:
    struct Posted {
        Hwnd hwnd;
        std::uint32_t msg;
        WParam w;
        LParam l;
    };
    struct Library {
        std::uintptr_t module = 0;
        int refs = 0;
    };

    // Standard controls (SimControls.cpp).
    // The enabled child under a screen point that takes the mouse (statics and a tab
    // control's body let it through), or 0.
    Hwnd childAt(Hwnd root, Point screen) const;
    Hwnd rootOf(Hwnd hwnd) const;
    bool shownAndEnabled(const SimWindow& win) const;
    // Reflects a notification to the control's object.
    void notifyCommand(Hwnd child, int code);
    bool notifyTabs(Hwnd tab, int code);
    void notifyScroll(Hwnd trackbar, int request);
    // Moves the keyboard focus, telling the old and the new control.
    void changeFocus(Hwnd to);
    // What a dialog does when it becomes active: the focus returns to its control.
    void restoreDialogFocus(Hwnd dialog);
    std::vector<Hwnd> tabStops(Hwnd dialog) const;
    void clickButton(Hwnd button);
    void selectTab(Hwnd tab, int index);
    // A key's step; TB_ENDTRACK follows when the key comes up (here at once).
    void stepTrackbar(Hwnd trackbar, int key, bool endTrack);
    void trackbarMouse(Hwnd trackbar, Point screen, MouseAction action);
    bool dialogKey(Hwnd dialog, int virtualKey);
    void controlKey(Hwnd control, int virtualKey);
    void controlMouse(Hwnd child, Point screen, MouseAction action);
    void destroyTree(Hwnd hwnd);

    // Hands a message to the window's hook, then its handler. 0 when the window is gone.
    LResult deliver(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l);
    LResult toHandler(SimWindow& win, std::uint32_t msg, WParam w, LParam l);
    void paint(Hwnd hwnd);
    void activate(Hwnd hwnd);
    void log(MessageRecord::Kind kind, Hwnd to, std::uint32_t msg, WParam w, LParam l);
    bool hung(const SimWindow& win) const { return win.hungUntilMs > clock_.now(); }
    // Waits out a hang as a blocking send does; false when the window went away meanwhile.
    bool waitUntilAnswering(Hwnd hwnd);
    // Waits for a hung window as SendMessageTimeout (SMTO_ABORTIFHUNG) does: not at all once it
    // has been hung for 5 s, else until it answers or `timeoutMs` ran out. False when it gave
    // up or the window is gone.
    bool waitUntilAnsweringWithin(Hwnd hwnd, std::uint32_t timeoutMs);

    // One pass: posted messages, test events, due timers, paints. Returns how many ran.
    int pass();
    bool deliverablePending() const;
    // Passes until nothing is left to do at this instant.
    void settle();
    // The next virtual time at which something may happen.
    std::optional<std::uint64_t> nextEventTime() const;

    SimClock clock_{kStartTickMs};
    SimProcesses processes_{"tunebalk.exe"};
    SimWindowList windows_;
    SimFiles files_;
    ProcessId actingPid_;
    Hwnd nextHwnd_ = 0x10010;

    Hwnd capture_ = 0;
    Hwnd foreground_ = 0;
    Hwnd focus_ = 0;
    Hwnd pressedChild_ = 0;  // the control a mouse button went down on
    Hwnd trackbarDrag_ = 0;  // the trackbar whose thumb is being dragged (it has the mouse)
    std::deque<Posted> posted_;
    std::map<ProcessId, std::size_t> postLimits_;
    std::deque<MessageRecord> messageLog_;
    std::multimap<std::uint64_t, std::function<void()>> testEvents_;

    std::optional<int> quitCode_;
    int idlePasses_ = 0;
    std::uint64_t lastIdlePassMs_ = 0;
    std::uint64_t loopLimitMs_ = 24ull * 3600 * 1000;

    Point cursor_;
    std::set<int> keysDown_;
    // Keys that went down since their state was last asked.
    std::set<int> keysPressedSinceQuery_;
    int buttonsDown_ = 0;
    Size screen_{1024, 768};
    int systemDpi_ = 96;
    int monitorDpi_ = 96;

    std::vector<MessageBoxRecord> messageBoxes_;
    std::deque<int> messageBoxAnswers_;
    std::function<int(const MessageBoxRecord&)> messageBoxHandler_;
    std::vector<std::string> startedPrograms_;
    std::function<bool(const std::string&)> launcher_;
    std::optional<int> exitCode_;
    std::vector<std::string> escapedErrors_;
    std::set<std::string> claimedNames_;
    std::map<std::string, Library> libraries_;
    std::uintptr_t nextModule_ = 0x7FF800000000;
    int badLibraryFrees_ = 0;
    int commonControlsInits_ = 0;
    std::string commandArguments_;
    std::string exeFolder_ = "C:\\Program Files\\Tunebalk";
};

}  // namespace tb::sim
