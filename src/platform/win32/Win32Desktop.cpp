#include "platform/win32/Win32Desktop.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32File.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

namespace tb::win32 {

namespace {

// doEvents lets what is pending run; a handler that keeps posting to itself must not hold it
// forever.
constexpr int kMaxMessagesPerPass = 1000;

}  // namespace

std::string argumentsAfterProgramName(std::string_view commandLine) {
    // As the C runtime cuts WinMain's lpCmdLine: a quoted name ends at its closing quote, an
    // unquoted one at the first blank; the blanks after it do not belong to the arguments.
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    if (n > 0 && commandLine[0] == '"') {
        i = 1;
        while (i < n && commandLine[i] != '"') ++i;
        if (i < n) ++i;
    } else {
        while (i<n&& static_cast<unsigned char>(commandLine[i])> ' ') ++i;
    }
    while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    return std::string(commandLine.substr(i));
}

Win32Desktop::~Win32Desktop() {
    for (HWND h : created_) {
        if (Win32Window* w = Win32Window::from(h)) {
            w->detach();
            DestroyWindow(h);
        }
    }
}

// ---- Windows -------------------------------------------------------------------------------

Hwnd Win32Desktop::findWindow(std::string_view className) {
    return fromHwnd(FindWindowA(zstr(className).c_str(), nullptr));
}

Hwnd Win32Desktop::findWindowEx(Hwnd after, std::string_view className) {
    return fromHwnd(FindWindowExA(nullptr, toHwnd(after), zstr(className).c_str(), nullptr));
}

Hwnd Win32Desktop::createWindow(const WindowSpec& windowSpec, WindowHandler* handler) {
    HWND hwnd = Win32Window::create(windowSpec, handler);
    if (!hwnd) return 0;
    std::erase_if(created_, [](HWND h) { return !IsWindow(h); });
    created_.push_back(hwnd);
    return fromHwnd(hwnd);
}

void Win32Desktop::destroyWindow(Hwnd hwnd) { DestroyWindow(toHwnd(hwnd)); }

bool Win32Desktop::isWindow(Hwnd hwnd) { return hwnd && IsWindow(toHwnd(hwnd)); }

std::string Win32Desktop::windowText(Hwnd hwnd) { return HwndGetText(toHwnd(hwnd)); }

std::string Win32Desktop::windowClass(Hwnd hwnd) { return HwndGetClassName(toHwnd(hwnd)); }

LResult Win32Desktop::sendMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) {
    if (!isWindow(hwnd)) return 0;
    return SendMessageA(toHwnd(hwnd), msg, w, l);
}

std::optional<LResult> Win32Desktop::sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w,
                                                        LParam l, std::uint32_t timeoutMs) {
    // SendMessageTimeout fails by itself for a window that is gone; checking IsWindow first
    // would cost a server round trip per query. Only a broadcast must never go out.
    if (hwnd == 0 || toHwnd(hwnd) == HWND_BROADCAST) return std::nullopt;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(toHwnd(hwnd), msg, w, l, SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs,
                             &result)) {
        return std::nullopt;
    }
    return static_cast<LResult>(result);
}

bool Win32Desktop::postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) {
    return PostMessageA(toHwnd(hwnd), msg, w, l) != FALSE;
}

LResult Win32Desktop::sendCopyData(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                   std::span<const std::uint8_t> data) {
    if (!isWindow(to)) return 0;
    COPYDATASTRUCT cds{};
    cds.dwData = dwData;
    cds.cbData = static_cast<DWORD>(data.size());
    cds.lpData = const_cast<std::uint8_t*>(data.data());
    return SendMessageA(toHwnd(to), WM_COPYDATA, from, reinterpret_cast<LPARAM>(&cds));
}

std::optional<LResult> Win32Desktop::sendCopyDataTimeout(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                                         std::span<const std::uint8_t> data,
                                                         std::uint32_t timeoutMs) {
    if (to == 0 || toHwnd(to) == HWND_BROADCAST) return std::nullopt;
    COPYDATASTRUCT cds{};
    cds.dwData = dwData;
    cds.cbData = static_cast<DWORD>(data.size());
    cds.lpData = const_cast<std::uint8_t*>(data.data());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(toHwnd(to), WM_COPYDATA, from, reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs, &result)) {
        return std::nullopt;
    }
    return static_cast<LResult>(result);
}

bool Win32Desktop::showWindow(Hwnd hwnd, int cmd) {
    // As ShowWindow: whether the window was visible before.
    return ShowWindow(toHwnd(hwnd), cmd) != FALSE;
}

bool Win32Desktop::isWindowVisible(Hwnd hwnd) { return IsWindowVisible(toHwnd(hwnd)) != FALSE; }

std::optional<Rect> Win32Desktop::windowRect(Hwnd hwnd) {
    RECT rc{};
    if (!GetWindowRect(toHwnd(hwnd), &rc)) return std::nullopt;
    return fromRECT(rc);
}

bool Win32Desktop::moveWindow(Hwnd hwnd, const Rect& b) {
    return SetWindowPos(toHwnd(hwnd), nullptr, b.left, b.top, b.width(), b.height(),
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool Win32Desktop::setTopmost(Hwnd hwnd, bool topmost) {
    return SetWindowPos(toHwnd(hwnd), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != FALSE;
}

std::uint32_t Win32Desktop::exStyle(Hwnd hwnd) {
    return static_cast<std::uint32_t>(GetWindowLongA(toHwnd(hwnd), GWL_EXSTYLE));
}

bool Win32Desktop::setExStyle(Hwnd hwnd, std::uint32_t style) {
    HWND h = toHwnd(hwnd);
    if (!IsWindow(h)) return false;
    // As SetWindowLongA: the z-order band (WS_EX_TOPMOST) is not the style word's to change.
    SetLastError(0);
    LONG prev = SetWindowLongA(h, GWL_EXSTYLE, static_cast<LONG>(style));
    return prev != 0 || GetLastError() == 0;
}

bool Win32Desktop::setLayeredAlpha(Hwnd hwnd, std::uint8_t alpha) {
    return SetLayeredWindowAttributes(toHwnd(hwnd), 0, alpha, LWA_ALPHA) != FALSE;
}

void Win32Desktop::invalidate(Hwnd hwnd) {
    if (Win32Window* w = Win32Window::from(toHwnd(hwnd))) w->markStale(nullptr);
    HwndScheduleRepaint(toHwnd(hwnd));
}

void Win32Desktop::invalidateRect(Hwnd hwnd, const Rect& client) {
    if (Win32Window* w = Win32Window::from(toHwnd(hwnd))) w->markStale(&client);
    HwndScheduleRepaint(toHwnd(hwnd), toRECT(client));
}

void Win32Desktop::setCapture(Hwnd hwnd) { SetCapture(toHwnd(hwnd)); }

void Win32Desktop::releaseCapture() { ReleaseCapture(); }

Hwnd Win32Desktop::foregroundWindow() { return fromHwnd(GetForegroundWindow()); }

bool Win32Desktop::setForegroundWindow(Hwnd hwnd) {
    return SetForegroundWindow(toHwnd(hwnd)) != FALSE;
}

Hwnd Win32Desktop::windowFromPoint(Point screen) {
    return fromHwnd(WindowFromPoint(POINT{screen.x, screen.y}));
}

bool Win32Desktop::setMessageHook(Hwnd hwnd, MessageHook* hook) {
    Win32Window* w = Win32Window::from(toHwnd(hwnd));
    if (!w || !hook || w->hook()) return false;
    w->setHook(hook);
    return true;
}

bool Win32Desktop::removeMessageHook(Hwnd hwnd) {
    Win32Window* w = Win32Window::from(toHwnd(hwnd));
    if (!w || !w->hook()) return false;
    w->setHook(nullptr);
    return true;
}

// ---- Processes -----------------------------------------------------------------------------

ProcessId Win32Desktop::windowProcessId(Hwnd hwnd) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(toHwnd(hwnd), &pid)) return 0;
    return pid;
}

ProcessHandle Win32Desktop::openProcessForRead(ProcessId pid) {
    return fromHandle(OpenProcess(PROCESS_VM_READ, FALSE, pid));
}

std::size_t Win32Desktop::readProcessMemory(ProcessHandle process, std::uint64_t address,
                                            std::span<std::uint8_t> out) {
    if (!process || out.empty()) return 0;
    SIZE_T got = 0;
    const auto* from = reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address));
    // All or nothing, as Windows reads: Wine copies up to an unreadable page and reports
    // success with the shorter count.
    if (!ReadProcessMemory(toHandle(process), from, out.data(), out.size(), &got)) return 0;
    return got == out.size() ? got : 0;
}

void Win32Desktop::closeHandle(ProcessHandle process) {
    if (process) CloseHandle(toHandle(process));
}

bool Win32Desktop::startProgramMinimized(const std::string& path) {
    if (path.empty()) return false;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINIMIZED;  // minimised and active
    std::string commandLine = "\"";
    commandLine.append(path).append("\"");
    // The program starts in its own folder, as a shortcut to it would start it.
    std::string folder;
    if (auto cut = path.find_last_of("\\/"); cut != std::string::npos) folder = path.substr(0, cut);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void Win32Desktop::exitProcessNow(int code) {
    // No DLL detach, no static destructors: nothing of the program runs any more.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));
}

bool Win32Desktop::claimSingleInstance(std::string_view name) {
    // Held until the process ends; Windows frees it then, also after a crash.
    static std::vector<HANDLE> held;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, zstr(name).c_str());
    if (!mutex) {
        // An instance of another user or with other rights holds it.
        return GetLastError() != ERROR_ACCESS_DENIED;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    held.push_back(mutex);
    return true;
}

std::uintptr_t Win32Desktop::loadLibrary(std::string_view name) {
    return reinterpret_cast<std::uintptr_t>(LoadLibraryA(zstr(name).c_str()));
}

void Win32Desktop::freeLibrary(std::uintptr_t module) {
    if (module) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

void Win32Desktop::initCommonControls() { InitCommonControls(); }

std::string Win32Desktop::commandArguments() {
    return argumentsAfterProgramName(GetCommandLineA());
}

std::string Win32Desktop::exeFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// ---- Time and events -----------------------------------------------------------------------

std::uint64_t Win32Desktop::tickCountMs() { return GetTickCount64(); }

LocalTime Win32Desktop::localTime() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

TimerId Win32Desktop::startTimer(std::uint32_t intervalMs, std::function<void()> onTick) {
    return timers_.start(intervalMs, std::move(onTick));
}

void Win32Desktop::stopTimer(TimerId id) { timers_.stop(id); }

bool Win32Desktop::dispatch(MSG& msg) {
    if (msg.message == WM_QUIT) {
        quitPending_ = true;
        quitCode_ = static_cast<int>(msg.wParam);
        return false;
    }
    if (msg.hwnd) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        const Win32Window* w = Win32Window::from(root);
        if (w && w->isDialog() && dialogMessage(root, msg)) return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void Win32Desktop::doEvents() {
    MSG msg;
    for (int n = 0; n < kMaxMessagesPerPass && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (!dispatch(msg)) break;
    }
}

void Win32Desktop::waitEventsUntil(std::uint64_t deadlineMs) {
    for (;;) {
        doEvents();
        // A quit ends the wait: the program is on its way out.
        if (quitPending_) return;
        const std::uint64_t now = GetTickCount64();
        if (now >= deadlineMs) return;
        const DWORD wait =
            static_cast<DWORD>(std::min<std::uint64_t>(deadlineMs - now, 0x7FFFFFFF));
        // Sleeps until a message arrives (also one already seen but not taken) or time is up.
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

int Win32Desktop::runEventLoop() {
    MSG msg;
    while (!quitPending_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return static_cast<int>(msg.wParam);
        dispatch(msg);
    }
    // The quit was taken by a doEvents inside a handler.
    quitPending_ = false;
    return quitCode_;
}

void Win32Desktop::quit(int code) { PostQuitMessage(code); }

// ---- Text ----------------------------------------------------------------------------------

std::u16string Win32Desktop::ansiToUtf16(std::string_view ansi) {
    // Flags 0: an unmappable sequence becomes the default character instead of failing the
    // whole conversion (MB_ERR_INVALID_CHARS would).
    std::u16string out;
    while (!ansi.empty()) {
        // MultiByteToWideChar counts in int; longer texts go in pieces.
        const int chunk = static_cast<int>(std::min<std::size_t>(ansi.size(), 1u << 30));
        const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), chunk, nullptr, 0);
        if (units <= 0) break;
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), chunk, wide.data(), units);
        out.append(wide.begin(), wide.end());
        ansi.remove_prefix(static_cast<std::size_t>(chunk));
    }
    return out;
}

// ---- Input and screen ----------------------------------------------------------------------

std::int16_t Win32Desktop::asyncKeyState(int virtualKey) {
    return static_cast<std::int16_t>(GetAsyncKeyState(virtualKey));
}

Point Win32Desktop::cursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

Size Win32Desktop::screenSize() {
    return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Size Win32Desktop::measureText(std::string_view ansiText, const FontSpec& font) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    Size size = GdiCanvas::measureOn(dc, ansiText, font);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return size;
}

int systemDpi() {
    // Windows 10 (1607) names it; before, the screen's logical density is the system's.
    static const auto getDpiForSystem =
        systemFunction<UINT(WINAPI*)()>("user32.dll", "GetDpiForSystem");
    if (getDpiForSystem) {
        if (const UINT dpi = getDpiForSystem()) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int Win32Desktop::windowDpi(Hwnd hwnd) {
    // GetDpiForWindow from Windows 10 (1607); on 8.1 the monitor's density; before, the
    // system's, which is every monitor's there.
    static const auto getDpiForWindow =
        systemFunction<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
    static const auto getDpiForMonitor =
        systemFunction<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>("shcore.dll",
                                                                      "GetDpiForMonitor");
    HWND h = toHwnd(hwnd);
    if (h && IsWindow(h)) {
        UINT dpi = 0, dpiY = 0;
        if (getDpiForWindow) {
            dpi = getDpiForWindow(h);
        } else if (getDpiForMonitor) {
            // MDT_EFFECTIVE_DPI
            if (FAILED(getDpiForMonitor(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), 0, &dpi,
                                        &dpiY)))
                dpi = 0;
        }
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return systemDpi();
}

// ---- Files and user messages ---------------------------------------------------------------

bool Win32Desktop::fileExists(const std::string& path) {
    // A folder of that name is no program to start.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<OutputFile> Win32Desktop::createFile(const std::string& path, bool failIfExists) {
    return Win32File::create(path, failIfExists);
}

bool Win32Desktop::deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

std::optional<std::string> Win32Desktop::readFile(const std::string& path) {
    return Win32File::readAll(path);
}

int Win32Desktop::messageBox(Hwnd owner, std::string_view text, std::string_view caption,
                             unsigned flags) {
    return MessageBoxA(toHwnd(owner), zstr(text).c_str(), zstr(caption).c_str(), flags);
}

}  // namespace tb::win32
