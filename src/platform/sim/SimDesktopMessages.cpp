// The simulated desktop's messages (sent, posted, copy-data, with hung windows) and processes
// (memory, handles, libraries).
#include <algorithm>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {
namespace {

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
