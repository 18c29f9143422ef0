// The port through which the program core reaches the window system, processes, time, input and
// files. Each operation mirrors one Windows call (or a small group of them); the Win32 host
// implements it with the real API, the simulation in memory with a virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Canvas.h"
#include "platform/ChildControls.h"
#include "platform/Types.h"

namespace tb {

// The ports give Windows' constants their values under CamelCase names (WM_PAINT is
// wm::WmPaint), which the macros of <windows.h> cannot rewrite.

// Window messages with Windows' numbers.
namespace wm {
constexpr std::uint32_t WmDestroy = 0x0002;
constexpr std::uint32_t WmSize = 0x0005;
constexpr std::uint32_t WmPaint = 0x000F;
constexpr std::uint32_t WmClose = 0x0010;
constexpr std::uint32_t WmCopyData = 0x004A;
constexpr std::uint32_t WmDisplayChange = 0x007E;
constexpr std::uint32_t WmKeyDown = 0x0100;
constexpr std::uint32_t WmCommand = 0x0111;
constexpr std::uint32_t WmTimer = 0x0113;
constexpr std::uint32_t WmMouseMove = 0x0200;
constexpr std::uint32_t WmLButtonDown = 0x0201;
constexpr std::uint32_t WmLButtonUp = 0x0202;
constexpr std::uint32_t WmLButtonDblClk = 0x0203;
constexpr std::uint32_t WmRButtonDown = 0x0204;
constexpr std::uint32_t WmRButtonUp = 0x0205;
constexpr std::uint32_t WmRButtonDblClk = 0x0206;
constexpr std::uint32_t WmMButtonDown = 0x0207;
constexpr std::uint32_t WmMButtonUp = 0x0208;
constexpr std::uint32_t WmMButtonDblClk = 0x0209;
constexpr std::uint32_t WmMouseWheel = 0x020A;
constexpr std::uint32_t WmCaptureChanged = 0x0215;
constexpr std::uint32_t WmDpiChanged = 0x02E0;
constexpr std::uint32_t WmUser = 0x0400;
}  // namespace wm

// ShowWindow commands.
namespace sw {
constexpr int SwHide = 0;
constexpr int SwShowNormal = 1;
constexpr int SwShowMinimized = 2;
constexpr int SwShowNoActivate = 4;
constexpr int SwShow = 5;
constexpr int SwMinimize = 6;
constexpr int SwRestore = 9;
}  // namespace sw

// Extended window styles the program uses.
namespace wsex {
constexpr std::uint32_t WsExTopmost = 0x00000008;
constexpr std::uint32_t WsExToolWindow = 0x00000080;
constexpr std::uint32_t WsExLayered = 0x00080000;
}  // namespace wsex

// MessageBox flags and results.
namespace mb {
constexpr unsigned MbOk = 0x0000;
constexpr unsigned MbIconExclamation = 0x0030;
constexpr unsigned MbIconInformation = 0x0040;
constexpr int IdOk = 1;
}  // namespace mb

enum class MouseAction { Down, Up, Move, DoubleClick };

// Mouse buttons as bits, as a form's mouse events report them.
namespace mouse {
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
}  // namespace mouse

struct MouseEvent {
    MouseAction action = MouseAction::Move;
    int button = 0;   // the button that went down or up; 0 for moves
    int buttons = 0;  // buttons held after the event
    bool shift = false;
    bool ctrl = false;
    bool alt = false;  // held at the event; a mouse message's own flags have no Alt
    Point pos;         // client pixels; may lie outside the client area while captured
};

// What a window created through the port receives. A form implements it.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual void onPaint(Canvas& canvas) { (void)canvas; }
    virtual void onMouse(const MouseEvent& e) { (void)e; }
    virtual void onKeyDown(int virtualKey) { (void)virtualKey; }
    // The window's outer size changed (pixels).
    virtual void onSize(Size outer) { (void)outer; }
    // The window's density changed (WM_DPICHANGED: it moved to a monitor of another scale, or
    // the user changed the scale): `dpi` is the new one, `suggested` the outer rectangle (screen
    // pixels) the system proposes for it at that density. Nothing moves unless the handler moves
    // it.
    virtual void onDpiChanged(int dpi, const Rect& suggested) { (void)dpi, (void)suggested; }
    // The screen's resolution changed (WM_DISPLAYCHANGE, sent to every top-level window).
    virtual void onDisplayChange() {}
    virtual void onCaptureLost() {}
    // A close request (WM_CLOSE or the system's close). Return false to keep the window.
    virtual bool onCloseRequest() { return true; }
    virtual void onDestroy() {}
    // Every other message, and copy-data. Return a value to answer it.
    virtual std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam l) {
        (void)msg, (void)w, (void)l;
        return std::nullopt;
    }
    // Copy-data (WM_COPYDATA) with its payload.
    virtual LResult onCopyData(Hwnd from, std::uintptr_t dwData,
                               std::span<const std::uint8_t> data) {
        (void)from, (void)dwData, (void)data;
        return 0;
    }
};

// A hook in front of a window's own handling, the equivalent of replacing its window
// procedure: it sees every message first and may answer it.
class MessageHook {
public:
    virtual ~MessageHook() = default;
    virtual std::optional<LResult> onHookedMessage(Hwnd hwnd, std::uint32_t msg, WParam w,
                                                   LParam l) = 0;
};

struct WindowSpec {
    std::string className;
    std::string caption;
    Rect bounds;  // screen pixels, outer rectangle
    std::uint32_t exStyle = 0;
    bool visible = false;
    bool popup = true;  // borderless; false gives a normal captioned, resizable-less frame
    // A dialog: a captioned frame with a close box only, whose standard child controls the
    // keyboard works as in a dialog box: Tab and Shift+Tab move the focus through the tab
    // stops, Ctrl+Tab and Ctrl+Shift+Tab through the tab control's tabs, Enter presses the
    // default push button (BS_DEFPUSHBUTTON, else the one with id IDOK), Esc the one with id
    // IDCANCEL; on activation the focus returns to the control that had it.
    bool dialog = false;
    // `bounds` gives the client area; the frame goes around it.
    bool boundsAreClient = false;
};

// A file opened for writing. Writes are unbuffered by the caller's view: each write either
// reaches the file or fails silently, reported by the result.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(std::string_view bytes) = 0;
};

using TimerId = std::uintptr_t;

class Desktop {
public:
    virtual ~Desktop() = default;

    // ---- Windows ---------------------------------------------------------------------------
    // FindWindowA(className, NULL): the first top-level window of that class.
    virtual Hwnd findWindow(std::string_view className) = 0;
    // FindWindowExA(NULL, after, className, NULL): the next top-level window of that class.
    virtual Hwnd findWindowEx(Hwnd after, std::string_view className) = 0;
    virtual Hwnd createWindow(const WindowSpec& windowSpec, WindowHandler* handler) = 0;
    virtual void destroyWindow(Hwnd hwnd) = 0;
    virtual bool isWindow(Hwnd hwnd) = 0;
    virtual std::string windowText(Hwnd hwnd) = 0;
    virtual std::string windowClass(Hwnd hwnd) = 0;

    // SendMessageA; 0 when the window does not exist.
    virtual LResult sendMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) = 0;
    // SendMessageTimeoutA (SMTO_ABORTIFHUNG | SMTO_NORMAL): nullopt when the window does not
    // exist, is hung, or does not answer within `timeoutMs`.
    virtual std::optional<LResult> sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w,
                                                      LParam l, std::uint32_t timeoutMs) = 0;
    // PostMessageA; false when the post failed.
    virtual bool postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) = 0;
    // SendMessageA(WM_COPYDATA) with a COPYDATASTRUCT; 0 when the window does not exist.
    virtual LResult sendCopyData(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                 std::span<const std::uint8_t> data) = 0;
    // SendMessageTimeoutA(WM_COPYDATA) with a COPYDATASTRUCT (SMTO_ABORTIFHUNG | SMTO_NORMAL);
    // the record stays valid for the whole call. nullopt when the window does not exist, is
    // hung, or does not answer within `timeoutMs`.
    virtual std::optional<LResult> sendCopyDataTimeout(Hwnd to, Hwnd from, std::uintptr_t dwData,
                                                       std::span<const std::uint8_t> data,
                                                       std::uint32_t timeoutMs) = 0;

    virtual bool showWindow(Hwnd hwnd, int cmd) = 0;
    // IsWindowVisible: a child shows only while its parent does.
    virtual bool isWindowVisible(Hwnd hwnd) = 0;
    // GetWindowRect: screen pixels, children too.
    virtual std::optional<Rect> windowRect(Hwnd hwnd) = 0;
    // MoveWindow / SetWindowPos without z-order change (a child's bounds in its parent's client
    // pixels); the handler's onSize runs when the size changed.
    virtual bool moveWindow(Hwnd hwnd, const Rect& bounds) = 0;
    // SetWindowPos(HWND_TOPMOST / HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE).
    virtual bool setTopmost(Hwnd hwnd, bool topmost) = 0;
    virtual std::uint32_t exStyle(Hwnd hwnd) = 0;
    virtual bool setExStyle(Hwnd hwnd, std::uint32_t exStyle) = 0;
    // SetLayeredWindowAttributes(hwnd, 0, alpha, LWA_ALPHA); the window must be layered.
    virtual bool setLayeredAlpha(Hwnd hwnd, std::uint8_t alpha) = 0;
    // Schedules a paint of the whole client area (InvalidateRect).
    virtual void invalidate(Hwnd hwnd) = 0;
    // Schedules a paint of a part of it (client pixels); the parts pending add up.
    virtual void invalidateRect(Hwnd hwnd, const Rect& client) = 0;
    virtual void setCapture(Hwnd hwnd) = 0;
    virtual void releaseCapture() = 0;
    virtual Hwnd foregroundWindow() = 0;
    virtual bool setForegroundWindow(Hwnd hwnd) = 0;
    // WindowFromPoint: the top-level window (or child) under a screen point.
    virtual Hwnd windowFromPoint(Point screen) = 0;
    // Installs `hook` in front of the window's handling; false when the window does not exist
    // or already has a hook. removeMessageHook gives back whether a hook was removed.
    virtual bool setMessageHook(Hwnd hwnd, MessageHook* hook) = 0;
    virtual bool removeMessageHook(Hwnd hwnd) = 0;

    // SetWindowText; for an edit box it sends EN_CHANGE, as Windows does.
    virtual bool setWindowText(Hwnd hwnd, std::string_view text) = 0;
    // WM_SETICON (ICON_SMALL) with a picture; an empty picture removes the window's own.
    virtual bool setWindowIcon(Hwnd hwnd, const Image& smallIcon) = 0;
    // A timer of the window itself (SetTimer(hwnd, id, ms) / KillTimer(hwnd, id)): the same id
    // replaces the running one; it dies with the window. False when the window is not one of
    // ours or the system refused.
    virtual bool setWindowTimer(Hwnd hwnd, TimerId id, std::uint32_t intervalMs,
                                std::function<void()> onTick) = 0;
    virtual bool killWindowTimer(Hwnd hwnd, TimerId id) = 0;
    virtual Color sysColor(int index) = 0;

    // ---- Standard child controls (ChildControls.h) ------------------------------------------
    // A child of a window created through this port; 0 on failure. Its notifications reach
    // `handler` (which may be null) until the window is destroyed.
    virtual Hwnd createChild(Hwnd parent, const ChildSpec& childSpec, ChildHandler* handler) = 0;
    // EnableWindow / IsWindowEnabled. A disabled window takes no input and no focus.
    virtual bool enableWindow(Hwnd hwnd, bool enable) = 0;
    virtual bool isWindowEnabled(Hwnd hwnd) = 0;
    // GetFocus / SetFocus: the window of this program with the keyboard focus (0: none).
    virtual Hwnd focus() = 0;
    virtual bool setFocus(Hwnd hwnd) = 0;
    // The font in which dialogs and their controls write (the system's message font), for a
    // window of `dpi` (SystemParametersInfoForDpi).
    virtual FontSpec dialogFont(int dpi) = 0;
    virtual bool setFont(Hwnd hwnd, const FontSpec& font) = 0;
    // BM_GETCHECK / BM_SETCHECK of a check box. setCheckState refuses (false, nothing changes)
    // a state other than 0, 1, 2 and any window that is no check box; a two-state box shows
    // 2 as checked. No notification.
    virtual int checkState(Hwnd hwnd) = 0;
    virtual bool setCheckState(Hwnd hwnd, int state) = 0;
    // EM_SETLIMITTEXT: the most characters the user can enter (text set by the program is not
    // cut).
    virtual bool setTextLimit(Hwnd hwnd, int maxChars) = 0;
    // Trackbar range and position (TBM_SETRANGE / TBM_SETPOS / TBM_GETPOS): the position stays
    // within the range; setting either sends no notification.
    virtual bool setTrackbarRange(Hwnd hwnd, int min, int max) = 0;
    virtual std::optional<std::pair<int, int>> trackbarRange(Hwnd hwnd) = 0;
    virtual bool setTrackbarPos(Hwnd hwnd, int pos) = 0;
    virtual int trackbarPos(Hwnd hwnd) = 0;
    // Tab control items and selection (TCM_INSERTITEM, TCM_GETITEMCOUNT, TCM_GETCURSEL,
    // TCM_SETCURSEL without notification, TCM_GETITEMRECT in the control's client pixels).
    virtual bool insertTab(Hwnd hwnd, int index, std::string_view text) = 0;
    virtual int tabCount(Hwnd hwnd) = 0;
    virtual int tabSelection(Hwnd hwnd) = 0;
    virtual bool setTabSelection(Hwnd hwnd, int index) = 0;
    virtual std::optional<Rect> tabItemRect(Hwnd hwnd, int index) = 0;
    // The picture of a static picture control (SS_BITMAP); transparent pixels show what lies
    // under the control (the dialog's face, a tab control's body).
    virtual bool setPicture(Hwnd hwnd, const Image& picture) = 0;

    // ---- Processes -------------------------------------------------------------------------
    // GetWindowThreadProcessId; 0 when the window does not exist.
    virtual ProcessId windowProcessId(Hwnd hwnd) = 0;
    // OpenProcess(PROCESS_VM_READ, FALSE, pid); 0 on failure.
    virtual ProcessHandle openProcessForRead(ProcessId pid) = 0;
    // ReadProcessMemory; returns the bytes read (0 on failure). Windows reads all or nothing
    // per call, so a read that crosses into an unreadable page gives 0.
    virtual std::size_t readProcessMemory(ProcessHandle process, std::uint64_t address,
                                          std::span<std::uint8_t> out) = 0;
    virtual void closeHandle(ProcessHandle process) = 0;
    // Starts a program with a minimised, active window, without waiting. False on failure.
    virtual bool startProgramMinimized(const std::string& path) = 0;
    // Ends this process at once, without any further clean-up.
    [[noreturn]] virtual void exitProcessNow(int code) = 0;
    // True when this is the only running instance that claimed `name` (a named mutex held
    // for the life of the process).
    virtual bool claimSingleInstance(std::string_view name) = 0;
    // LoadLibraryA / FreeLibrary.
    virtual std::uintptr_t loadLibrary(std::string_view name) = 0;
    virtual void freeLibrary(std::uintptr_t module) = 0;
    virtual void initCommonControls() = 0;
    // The command-line arguments after the program's own name, as the program gets them.
    virtual std::string commandArguments() = 0;
    // The folder of the executable, without a trailing separator.
    virtual std::string exeFolder() = 0;

    // ---- Time and events -------------------------------------------------------------------
    // Milliseconds since an arbitrary start; monotonic, never wraps.
    virtual std::uint64_t tickCountMs() = 0;
    virtual LocalTime localTime() = 0;
    // A periodic timer on the user-interface thread. The callback runs from the event loop.
    virtual TimerId startTimer(std::uint32_t intervalMs, std::function<void()> onTick) = 0;
    virtual void stopTimer(TimerId id) = 0;
    // Lets pending events (messages, due timers, paints) run once.
    virtual void doEvents() = 0;
    // Processes events until the tick count reaches `deadlineMs`, sleeping while idle.
    virtual void waitEventsUntil(std::uint64_t deadlineMs) = 0;
    // Runs the event loop until quit() is called.
    virtual int runEventLoop() = 0;
    virtual void quit(int code) = 0;

    // ---- Input and screen ------------------------------------------------------------------
    // GetAsyncKeyState: the top bit while the key is down, the bottom bit when it went down since
    // the last query; 0 for a code that names no key (0, or beyond 254).
    virtual std::int16_t asyncKeyState(int virtualKey) = 0;
    virtual Point cursorPos() = 0;
    // Primary screen size in pixels. It changes only with WM_DISPLAYCHANGE (or WM_DPICHANGED
    // for the screen's own density), so a window may keep what it got until then.
    virtual Size screenSize() = 0;
    // Size of a text in a font, in pixels, as painting would draw it (labels size themselves
    // outside painting).
    virtual Size measureText(std::string_view ansiText, const FontSpec& font) = 0;
    // The density (dots per inch, 96 at 100 %) of the monitor the window is on
    // (GetDpiForWindow); for 0 or a window that is gone, the system's (that of the primary
    // monitor when the user signed in). Always above 0.
    virtual int windowDpi(Hwnd hwnd) = 0;

    // ---- Text ------------------------------------------------------------------------------
    // MultiByteToWideChar(CP_ACP): text in the system's ANSI code page as UTF-16. Nothing is
    // dropped: a byte sequence the code page cannot map becomes a replacement character and
    // the text after it follows; embedded zero bytes stay.
    virtual std::u16string ansiToUtf16(std::string_view ansi) = 0;

    // ---- Files and user messages -----------------------------------------------------------
    virtual bool fileExists(const std::string& path) = 0;
    // Creates or replaces a file for writing; with `failIfExists` an existing file is left
    // alone and nullptr returned. nullptr on any failure.
    virtual std::unique_ptr<OutputFile> createFile(const std::string& path, bool failIfExists) = 0;
    // DeleteFileA: false when there is no such file (a folder is none), or it is read-only or
    // open.
    virtual bool deleteFile(const std::string& path) = 0;
    // The whole content of a file, or nullopt when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // MessageBoxA; returns the button pressed.
    virtual int messageBox(Hwnd owner, std::string_view text, std::string_view caption,
                           unsigned flags) = 0;
};

}  // namespace tb
