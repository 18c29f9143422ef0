// The Desktop port over the real Windows API. Thin by design: each operation is the Windows
// call it names, plus the conversions between the port's types and Windows' own.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/Win32TimerSink.h"

namespace tb::win32 {

// What a program gets as its arguments from a full command line (GetCommandLineA): the text
// after the program's name, quoted or not, without the blanks that separate them.
std::string argumentsAfterProgramName(std::string_view commandLine);

// The system's density (dots per inch): what windows start with on the primary monitor.
int systemDpi();

class Win32Desktop : public Desktop {
public:
    Win32Desktop() = default;
    // Destroys the windows this desktop created that still exist; their handlers are not
    // called any more.
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    // Windows
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

    // Standard child controls (Win32DesktopControls.cpp)
    Hwnd createChild(Hwnd parent, const ChildSpec& childSpec, ChildHandler* handler) override;
    bool enableWindow(Hwnd hwnd, bool enable) override;
    bool isWindowEnabled(Hwnd hwnd) override;
    Hwnd focus() override;
    bool setFocus(Hwnd hwnd) override;
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

    // Processes
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
    void initCommonControls() override;
    std::string commandArguments() override;
    std::string exeFolder() override;

    // Time and events
    std::uint64_t tickCountMs() override;
    LocalTime localTime() override;
    TimerId startTimer(std::uint32_t intervalMs, std::function<void()> onTick) override;
    void stopTimer(TimerId id) override;
    void doEvents() override;
    void waitEventsUntil(std::uint64_t deadlineMs) override;
    int runEventLoop() override;
    void quit(int code) override;

    // Input and screen
    std::int16_t asyncKeyState(int virtualKey) override;
    Point cursorPos() override;
    Size screenSize() override;
    Size measureText(std::string_view ansiText, const FontSpec& font) override;
    int windowDpi(Hwnd hwnd) override;

    // Text
    std::u16string ansiToUtf16(std::string_view ansi) override;

    // Files and user messages
    bool fileExists(const std::string& path) override;
    std::unique_ptr<OutputFile> createFile(const std::string& path, bool failIfExists) override;
    bool deleteFile(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    int messageBox(Hwnd owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;

private:
    // Dispatches one message (a dialog's keys through the dialog); false when it was WM_QUIT
    // (then remembered for the loop).
    bool dispatch(MSG& msg);

    Win32TimerSink timers_;
    std::vector<HWND> created_;
    bool quitPending_ = false;
    int quitCode_ = 0;
};

}  // namespace tb::win32
