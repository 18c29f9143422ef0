// Windows, messages, processes and the odds and ends of the simulated desktop. The event loop,
// input and painting live in SimDesktopEvents.cpp.
#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "common/Numeric.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {
namespace {

constexpr std::uint32_t kWsExWindowEdge = 0x00000100;
// SMTO_ABORTIFHUNG gives up at once on a window that has not answered for this long.
constexpr std::uint64_t kHungThresholdMs = 5000;
constexpr std::size_t kMessageLogLimit = 10000;

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string libraryKey(std::string_view name) {
    std::string key = lowerAscii(name);
    const auto slash = key.find_last_of("\\/");
    if (slash != std::string::npos) key = key.substr(slash + 1);
    if (key.find('.') == std::string::npos) key += ".dll";
    return key;
}

}  // namespace

SimStuck::SimStuck(std::string reason) : what(std::move(reason)) {
    std::fprintf(stderr, "SimStuck: %s\n", what.c_str());
}

SimDesktop::SimDesktop() : actingPid_(processes_.selfPid()) {
    files_.createFolder(exeFolder_);
    files_.createFolder("C:\\Temp");
    for (const char* lib : {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                            "shell32.dll", "comctl32.dll", "msimg32.dll"}) {
        addLibrary(lib);
    }
}

SimDesktop::~SimDesktop() = default;

// ---- Windows ----------------------------------------------------------------------------------

Hwnd SimDesktop::findWindow(std::string_view className) { return windows_.findNext(0, className); }

Hwnd SimDesktop::findWindowEx(Hwnd after, std::string_view className) {
    return windows_.findNext(after, className);
}

Hwnd SimDesktop::createWindow(const WindowSpec& windowSpec, WindowHandler* handler) {
    auto win = std::make_unique<SimWindow>();
    win->hwnd = nextHwnd_;
    nextHwnd_ += 4;
    win->pid = actingPid_;
    win->className = windowSpec.className;
    win->caption = windowSpec.caption;
    const bool popup = windowSpec.popup && !windowSpec.dialog;
    win->bounds = windowSpec.bounds;
    win->dpi = monitorDpi_;
    if (windowSpec.boundsAreClient && !popup) {
        const int frame = scaleToDpi(kFrameWidth, win->dpi);
        const int caption = scaleToDpi(kCaptionHeight, win->dpi);
        win->bounds = {win->bounds.left - frame, win->bounds.top - frame - caption,
                       win->bounds.right + frame, win->bounds.bottom + frame};
    }
    win->bounds.right = std::max(win->bounds.right, win->bounds.left);
    win->bounds.bottom = std::max(win->bounds.bottom, win->bounds.top);
    // Windows adds the edge style to every captioned frame.
    win->exStyle = windowSpec.exStyle | (popup ? 0 : kWsExWindowEdge);
    win->popup = popup;
    win->dialog = windowSpec.dialog;
    win->visible = windowSpec.visible;
    win->dirty = windowSpec.visible;
    win->handler = handler;
    const Hwnd hwnd = windows_.add(std::move(win)).hwnd;
    // CreateWindowEx reports the first size before it returns, before the caller knows the
    // handle.
    const Rect client = clientRect(hwnd);
    deliver(hwnd, wm::WmSize, 0, packPoint(client.width(), client.height()));
    return hwnd;
}

Hwnd SimDesktop::createWindowIn(ProcessId pid, const WindowSpec& windowSpec,
                                WindowHandler* handler) {
    auto as = actAs(pid);
    return createWindow(windowSpec, handler);
}

void SimDesktop::destroyWindow(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || win->destroying) return;
    win->destroying = true;
    if (capture_ == hwnd) {
        capture_ = 0;
        deliver(hwnd, wm::WmCaptureChanged, 0, 0);
    }
    // The focus leaves a window on its way out, before it hears of its destruction.
    if (focus_ != 0 && (focus_ == hwnd || rootOf(focus_) == hwnd ||
                        (windows_.find(focus_) && windows_.find(focus_)->parent == hwnd))) {
        changeFocus(0);
    }
    if (foreground_ == hwnd) foreground_ = 0;
    destroyTree(hwnd);
    // Whatever was posted to it is dropped when its turn comes.
}

void SimDesktop::destroyTree(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    win->destroying = true;
    for (const auto& [id, clockId] : win->timers) clock_.stop(clockId);
    win->timers.clear();
    // WM_DESTROY reaches the window before its children.
    deliver(hwnd, wm::WmDestroy, 0, 0);
    win = windows_.find(hwnd);
    if (!win) return;
    const std::vector<Hwnd> children = win->children;
    for (Hwnd child : children) destroyTree(child);
    win = windows_.find(hwnd);
    if (!win) return;
    ChildHandler* childHandler = win->childHandler;
    windows_.remove(hwnd);
    if (childHandler) childHandler->onDestroy();
}

bool SimDesktop::isWindow(Hwnd hwnd) { return windows_.find(hwnd) != nullptr; }

std::string SimDesktop::windowText(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->caption : std::string();
}

std::string SimDesktop::windowClass(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->className : std::string();
}

bool SimDesktop::showWindow(Hwnd hwnd, int cmd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (win->isChild()) {
        const bool was = win->visible;
        win->visible = cmd != sw::SwHide;
        // A hidden control gives the focus to its window.
        if (!win->visible && focus_ == hwnd) changeFocus(win->parent);
        if (SimWindow* root = windows_.find(rootOf(hwnd))) root->dirty = true;
        return was;
    }
    const bool wasVisible = win->visible;
    const bool wasMinimized = win->minimized;
    bool activates = false;
    switch (cmd) {
        case sw::SwHide:
            win->visible = false;
            if (foreground_ == hwnd) foreground_ = 0;
            if (focus_ != 0 && rootOf(focus_) == hwnd) changeFocus(0);
            break;
        case sw::SwShowMinimized:
            win->visible = win->minimized = true;
            activates = true;
            break;
        case sw::SwMinimize:
        case 7:  // SW_SHOWMINNOACTIVE
            win->visible = win->minimized = true;
            if (cmd == sw::SwMinimize && foreground_ == hwnd) foreground_ = 0;
            break;
        case sw::SwShowNoActivate:
            win->visible = true;
            win->minimized = false;
            break;
        case 8:  // SW_SHOWNA
            win->visible = true;
            break;
        case sw::SwShow:
            win->visible = true;
            activates = true;
            break;
        default:  // SW_SHOWNORMAL, SW_RESTORE, SW_MAXIMIZE, SW_SHOWDEFAULT
            win->visible = true;
            win->minimized = false;
            activates = true;
            break;
    }
    if (win->visible && (!wasVisible || (wasMinimized && !win->minimized))) win->dirty = true;
    // The foreground lock: only the process that owns the foreground window (or any, when there
    // is none) may take the foreground away.
    const SimWindow* fg = windows_.find(foreground_);
    if (activates && (!fg || fg->pid == actingPid_)) activate(hwnd);
    return wasVisible;
}

bool SimDesktop::isWindowVisible(Hwnd hwnd) {
    for (const SimWindow* win = windows_.find(hwnd); win; win = windows_.find(win->parent)) {
        if (!win->visible) return false;
        if (!win->isChild()) return true;
    }
    return false;
}

std::optional<Rect> SimDesktop::windowRect(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return std::nullopt;
    if (win->isChild()) {
        const auto parent = windows_.find(win->parent);
        const Rect origin = parent->isChild() ? *windowRect(win->parent) : clientRect(win->parent);
        return win->bounds.offset(origin.left, origin.top);
    }
    return win->bounds;
}

bool SimDesktop::moveWindow(Hwnd hwnd, const Rect& bounds) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (win->isChild()) {
        win->bounds = bounds;
        return true;
    }
    Rect r = bounds;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    const bool resized = r.width() != win->bounds.width() || r.height() != win->bounds.height();
    win->bounds = r;
    if (resized) {
        win->dirty = true;
        const Rect client = clientRect(hwnd);
        deliver(hwnd, wm::WmSize, 0, packPoint(client.width(), client.height()));
    }
    return true;
}

bool SimDesktop::setTopmost(Hwnd hwnd, bool topmost) {
    if (!windows_.find(hwnd)) return false;
    windows_.setTopmost(hwnd, topmost);
    return true;
}

std::uint32_t SimDesktop::exStyle(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->exStyle : 0;
}

bool SimDesktop::setExStyle(Hwnd hwnd, std::uint32_t exStyle) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    // SetWindowLong can't change the topmost state: only SetWindowPos moves a window between
    // the bands.
    win->exStyle = (exStyle & ~wsex::WsExTopmost) | (win->exStyle & wsex::WsExTopmost);
    if (!(win->exStyle & wsex::WsExLayered)) win->layeredAlpha.reset();
    return true;
}

bool SimDesktop::setLayeredAlpha(Hwnd hwnd, std::uint8_t alpha) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !(win->exStyle & wsex::WsExLayered)) return false;
    win->layeredAlpha = alpha;
    return true;
}

void SimDesktop::invalidate(Hwnd hwnd) {
    if (SimWindow* win = windows_.find(hwnd)) win->dirty = true;
}

void SimDesktop::invalidateRect(Hwnd hwnd, const Rect& client) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    const Rect c = clientRect(hwnd);
    win->dirtyPart = win->dirtyPart.unite(client.intersect(Rect{0, 0, c.width(), c.height()}));
}

void SimDesktop::setCapture(Hwnd hwnd) {
    if (!windows_.find(hwnd) || capture_ == hwnd) return;
    const Hwnd old = capture_;
    capture_ = hwnd;
    if (old != 0) deliver(old, wm::WmCaptureChanged, 0, static_cast<LParam>(hwnd));
}

void SimDesktop::releaseCapture() {
    const Hwnd old = capture_;
    if (old == 0) return;
    capture_ = 0;
    deliver(old, wm::WmCaptureChanged, 0, 0);
}

Hwnd SimDesktop::foregroundWindow() { return windows_.find(foreground_) ? foreground_ : 0; }

bool SimDesktop::setForegroundWindow(Hwnd hwnd) {
    if (!windows_.find(hwnd)) return false;
    activate(hwnd);
    return true;
}

void SimDesktop::activate(Hwnd hwnd) {
    hwnd = rootOf(hwnd);
    const bool changes = foreground_ != hwnd;
    foreground_ = hwnd;
    windows_.bringToTop(hwnd);
    if (!changes && focus_ != 0 && rootOf(focus_) == hwnd) return;
    const SimWindow* win = windows_.find(hwnd);
    if (win && win->dialog) {
        restoreDialogFocus(hwnd);
    } else {
        changeFocus(hwnd);
    }
}

Hwnd SimDesktop::windowFromPoint(Point screen) {
    const Hwnd top = windows_.fromPoint(screen);
    const Hwnd child = top ? childAt(top, screen) : 0;
    return child ? child : top;
}

bool SimDesktop::setMessageHook(Hwnd hwnd, MessageHook* hook) {
    SimWindow* win = windows_.find(hwnd);
    // A window procedure can only be replaced from the window's own process.
    if (!win || !hook || win->hook || win->pid != actingPid_) return false;
    win->hook = hook;
    return true;
}

bool SimDesktop::removeMessageHook(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !win->hook) return false;
    win->hook = nullptr;
    return true;
}

Rect SimDesktop::clientRect(Hwnd hwnd) const {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return {};
    if (win->popup) return win->bounds;
    const int frame = scaleToDpi(kFrameWidth, win->dpi);
    const int caption = scaleToDpi(kCaptionHeight, win->dpi);
    Rect r{win->bounds.left + frame, win->bounds.top + frame + caption, win->bounds.right - frame,
           win->bounds.bottom - frame};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

int SimDesktop::windowDpi(Hwnd hwnd) {
    const SimWindow* root = windows_.find(rootOf(hwnd));
    return root ? root->dpi : systemDpi_;
}

void SimDesktop::setScreenSize(Size s) {
    screen_ = s;
    const std::vector<Hwnd> tops = windows_.zOrder();
    const auto bits = static_cast<LParam>((static_cast<std::uint32_t>(s.cy) << 16) |
                                          (static_cast<std::uint32_t>(s.cx) & 0xFFFF));
    for (Hwnd h : tops) deliver(h, wm::WmDisplayChange, 32, bits);
}

void SimDesktop::moveToDensity(Hwnd hwnd, int dpi, std::optional<Rect> suggested) {
    SimWindow* win = windows_.find(rootOf(hwnd));
    if (!win || dpi <= 0) return;
    const Rect b = win->bounds;
    const int old = win->dpi;
    win->dpi = dpi;
    auto scale = [&](std::int32_t v) {
        return clampToInt32(divRoundHalfEven(std::int64_t{v} * dpi, old));
    };
    const Rect rect =
        suggested.value_or(Rect::fromXYWH(b.left, b.top, scale(b.width()), scale(b.height())));
    const auto dpis = static_cast<WParam>(dpi) | (static_cast<WParam>(dpi) << 16);
    deliver(win->hwnd, wm::WmDpiChanged, dpis, reinterpret_cast<LParam>(&rect));
}

FontSpec SimDesktop::dialogFont(int dpi) {
    // MulDiv rounds halves away from zero.
    return FontSpec{"Tahoma", static_cast<int>((11LL * dpi * 2 + 96) / (2 * 96)), false};
}

// ---- Messages ---------------------------------------------------------------------------------

void SimDesktop::log(MessageRecord::Kind kind, Hwnd to, std::uint32_t msg, WParam w, LParam l) {
    if (messageLog_.size() == kMessageLogLimit) messageLog_.pop_front();
    messageLog_.push_back({kind, to, msg, w, l, clock_.now()});
}

LResult SimDesktop::deliver(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return 0;
    if (MessageHook* hook = win->hook) {
        try {
            if (auto answer = hook->onHookedMessage(hwnd, msg, w, l)) return *answer;
        } catch (const std::exception& e) {
            // A failing hook leaves the message to the window's own handling.
            escapedErrors_.emplace_back(e.what());
        }
        win = windows_.find(hwnd);
        if (!win) return 0;
    }
    try {
        return toHandler(*win, msg, w, l);
    } catch (const std::exception& e) {
        escapedErrors_.emplace_back(e.what());
        return 0;
    }
}

LResult SimDesktop::toHandler(SimWindow& win, std::uint32_t msg, WParam w, LParam l) {
    const Hwnd hwnd = win.hwnd;
    WindowHandler* h = win.handler;
    if (msg == wm::WmClose) {
        // DefWindowProc destroys the window; a form may refuse.
        if (!h || h->onCloseRequest()) destroyWindow(hwnd);
        return 0;
    }
    if (!h) return 0;
    if (isMouseMessage(msg)) {
        MouseEvent e = decodeMouse(msg, w, l);
        e.alt = keysDown_.count(vk::VkMenu) != 0;
        h->onMouse(e);
        return 0;
    }
    switch (msg) {
        case wm::WmPaint: {
            // The back buffer is kept: a partial paint draws over the last frame.
            const Size size{clientRect(hwnd).width(), clientRect(hwnd).height()};
            const Rect part = l ? *reinterpret_cast<const Rect*>(l) : Rect{};
            const bool keep =
                !part.empty() && win.frame.width == size.cx && win.frame.height == size.cy;
            SimCanvas canvas = keep ? SimCanvas(std::move(win.frame), std::move(win.texts), part)
                                    : SimCanvas(size);
            h->onPaint(canvas);
            if (SimWindow* still = windows_.find(hwnd)) {
                still->paintedPart = canvas.clipBox();
                still->frame = canvas.takeImage();
                still->texts = canvas.takeTexts();
                ++still->paintCount;
            }
            return 0;
        }
        case wm::WmKeyDown:
            h->onKeyDown(static_cast<int>(w));
            return 0;
        case wm::WmSize:
            h->onSize({win.bounds.width(), win.bounds.height()});
            return 0;
        case wm::WmDpiChanged:
            h->onDpiChanged(static_cast<int>(w & 0xFFFF), *reinterpret_cast<const Rect*>(l));
            return 0;
        case wm::WmDisplayChange:
            h->onDisplayChange();
            return 0;
        case wm::WmDestroy:
            h->onDestroy();
            return 0;
        case wm::WmCaptureChanged:
            h->onCaptureLost();
            return 0;
        case wm::WmCopyData: {
            const auto* cds = reinterpret_cast<const SimCopyData*>(l);
            if (!cds) return 0;
            return h->onCopyData(static_cast<Hwnd>(w), cds->dwData,
                                 {static_cast<const std::uint8_t*>(cds->lpData), cds->cbData});
        }
        default:
            return h->onMessage(msg, w, l).value_or(0);
    }
}

bool SimDesktop::waitUntilAnswering(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (!hung(*win)) return true;
    if (win->hungUntilMs == kHungForever) {
        throw SimStuck("sendMessage to a window that never answers");
    }
    // A blocked send runs nothing but other sends to this thread: the clock simply moves.
    clock_.advanceTo(win->hungUntilMs);
    return windows_.find(hwnd) != nullptr;
}

LResult SimDesktop::sendMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) {
    if (!windows_.find(hwnd)) return 0;
    log(MessageRecord::Kind::Send, hwnd, msg, w, l);
    if (!waitUntilAnswering(hwnd)) return 0;
    return deliver(hwnd, msg, w, l);
}

bool SimDesktop::waitUntilAnsweringWithin(Hwnd hwnd, std::uint32_t timeoutMs) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    if (!hung(*win)) return true;
    const std::uint64_t now = clock_.now();
    if (now - win->hungSinceMs >= kHungThresholdMs) return false;
    if (win->hungUntilMs - now > timeoutMs) {
        clock_.advanceTo(now + timeoutMs);
        return false;
    }
    clock_.advanceTo(win->hungUntilMs);
    return windows_.find(hwnd) != nullptr;
}

std::optional<LResult> SimDesktop::sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w,
                                                      LParam l, std::uint32_t timeoutMs) {
    if (!windows_.find(hwnd)) return std::nullopt;
    log(MessageRecord::Kind::SendTimeout, hwnd, msg, w, l);
    if (!waitUntilAnsweringWithin(hwnd, timeoutMs)) return std::nullopt;
    return deliver(hwnd, msg, w, l);
}

bool SimDesktop::postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) {
    const SimWindow* win = windows_.find(hwnd);
    // Pointers can't travel in a posted message.
    if (!win || msg == wm::WmCopyData) return false;
    auto limit = postLimits_.find(win->pid);
    const std::size_t max = limit == postLimits_.end() ? kPostQueueLimit : limit->second;
    const ProcessId pid = win->pid;
    const auto waiting = std::count_if(posted_.begin(), posted_.end(), [&](const Posted& p) {
        const SimWindow* target = windows_.find(p.hwnd);
        return target && target->pid == pid;
    });
    if (static_cast<std::size_t>(waiting) >= max) return false;
    log(MessageRecord::Kind::Post, hwnd, msg, w, l);
    posted_.push_back({hwnd, msg, w, l});
    return true;
}

LResult SimDesktop::sendCopyData(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                 std::span<const std::uint8_t> data) {
    if (!windows_.find(to)) return 0;
    // The receiver gets its own copy, as Windows marshals it into the receiving process.
    const std::vector<std::uint8_t> copy(data.begin(), data.end());
    SimCopyData cds{dwData, static_cast<std::uint32_t>(copy.size()),
                    copy.empty() ? nullptr : copy.data()};
    const auto l = reinterpret_cast<LParam>(&cds);
    log(MessageRecord::Kind::CopyData, to, wm::WmCopyData, from, l);
    if (!waitUntilAnswering(to)) return 0;
    return deliver(to, wm::WmCopyData, from, l);
}

std::optional<LResult> SimDesktop::sendCopyDataTimeout(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                                       std::span<const std::uint8_t> data,
                                                       std::uint32_t timeoutMs) {
    if (!windows_.find(to)) return std::nullopt;
    const std::vector<std::uint8_t> copy(data.begin(), data.end());
    SimCopyData cds{dwData, static_cast<std::uint32_t>(copy.size()),
                    copy.empty() ? nullptr : copy.data()};
    const auto l = reinterpret_cast<LParam>(&cds);
    log(MessageRecord::Kind::CopyData, to, wm::WmCopyData, from, l);
    if (!waitUntilAnsweringWithin(to, timeoutMs)) return std::nullopt;
    return deliver(to, wm::WmCopyData, from, l);
}

void SimDesktop::setHung(Hwnd hwnd, std::uint64_t untilTickMs) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return;
    if (!hung(*win)) win->hungSinceMs = clock_.now();
    win->hungUntilMs = untilTickMs;
}

void SimDesktop::setProcessHung(ProcessId pid, std::uint64_t untilTickMs) {
    for (Hwnd hwnd : windows_.windowsOf(pid)) setHung(hwnd, untilTickMs);
}

// ---- Processes --------------------------------------------------------------------------------

bool SimDesktop::killProcess(ProcessId pid) {
    if (pid == processes_.selfPid() || !processes_.exists(pid)) return false;
    for (Hwnd hwnd : windows_.windowsOf(pid)) {
        if (capture_ == hwnd) capture_ = 0;
        if (foreground_ == hwnd) foreground_ = 0;
        if (focus_ != 0 && rootOf(focus_) == hwnd) focus_ = 0;
        std::vector<Hwnd> tree{hwnd};
        for (std::size_t i = 0; i < tree.size(); ++i) {
            for (Hwnd c : windows_.find(tree[i])->children) tree.push_back(c);
        }
        for (auto it = tree.rbegin(); it != tree.rend(); ++it) windows_.remove(*it);
    }
    clock_.stopAllOf(pid);
    return processes_.kill(pid);
}

int SimDesktop::activeTimerCount() const {
    const auto timers = clock_.activeTimers();
    return static_cast<int>(std::count_if(timers.begin(), timers.end(), [this](const TimerInfo& t) {
        return t.owner == processes_.selfPid();
    }));
}

ProcessId SimDesktop::windowProcessId(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win ? win->pid : 0;
}

ProcessHandle SimDesktop::openProcessForRead(ProcessId pid) { return processes_.open(pid); }

std::size_t SimDesktop::readProcessMemory(ProcessHandle process, std::uint64_t address,
                                          std::span<std::uint8_t> out) {
    return processes_.read(process, address, out);
}

void SimDesktop::closeHandle(ProcessHandle process) { processes_.close(process); }

bool SimDesktop::startProgramMinimized(const std::string& path) {
    startedPrograms_.push_back(path);
    if (launcher_) return launcher_(path);
    return files_.fileExists(path);
}

void SimDesktop::exitProcessNow(int code) {
    exitCode_ = code;
    throw SimProcessExit{code};
}

bool SimDesktop::claimSingleInstance(std::string_view name) {
    // CreateMutex on a name that exists (ours too) reports ERROR_ALREADY_EXISTS.
    return claimedNames_.insert(std::string(name)).second;
}

void SimDesktop::addLibrary(std::string name) {
    auto& lib = libraries_[libraryKey(name)];
    if (lib.module == 0) {
        lib.module = nextModule_;
        nextModule_ += 0x100000;
    }
}

std::uintptr_t SimDesktop::loadLibrary(std::string_view name) {
    auto it = libraries_.find(libraryKey(name));
    if (it == libraries_.end()) return 0;
    ++it->second.refs;
    return it->second.module;
}

void SimDesktop::freeLibrary(std::uintptr_t module) {
    for (auto& [name, lib] : libraries_) {
        if (lib.module == module && lib.refs > 0) {
            --lib.refs;
            return;
        }
    }
    ++badLibraryFrees_;
}

int SimDesktop::libraryRefCount(std::string_view name) const {
    auto it = libraries_.find(libraryKey(name));
    return it == libraries_.end() ? 0 : it->second.refs;
}

int SimDesktop::messageBox(Hwnd owner, std::string_view text, std::string_view caption,
                           unsigned flags) {
    messageBoxes_.push_back({owner, std::string(text), std::string(caption), flags});
    if (messageBoxHandler_) {
        const MessageBoxRecord record = messageBoxes_.back();  // the handler may add more
        return messageBoxHandler_(record);
    }
    if (messageBoxAnswers_.empty()) return mb::IdOk;
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

}  // namespace tb::sim
