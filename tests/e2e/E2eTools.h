// What the end-to-end tests share: the programs of bin/ started for one test (tunebalk.exe
// from a copy in a folder of its own), their windows, what they write down, and real input.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/Numeric.h"
#include "support/RealInput.h"
#include "winamp/WinampMessages.h"

namespace tb::e2e {

namespace fs = std::filesystem;

// The folder of the running test executable, where the programs under test are.
inline fs::path binFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Design twips in screen pixels (horizontal).
inline int px(int twips) {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        const int logical = GetDeviceCaps(dc, LOGPIXELSX);
        ReleaseDC(nullptr, dc);
        return logical;
    }();
    return static_cast<int>(divRoundHalfEven(std::int64_t{twips} * dpi, 1440));
}

// A fresh path in the temporary folder; the file does not exist.
inline std::string tempFile(const std::string& stem) {
    static std::atomic<int> counter{0};
    const fs::path path =
        fs::temp_directory_path() / ("tb-" + stem + "-" + std::to_string(GetCurrentProcessId()) +
                                     "-" + std::to_string(++counter) + ".txt");
    DeleteFileA(path.string().c_str());
    return path.string();
}

// The lines of a file (without line ends); empty when it cannot be read.
inline std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Polls `cond` every 20 ms until it holds or `ms` have passed; gives cond().
template <class F>
bool waitUntil(F cond, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!cond()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}

// A top-level window of class `cls` owned by process `pid`, if need be a visible one.
inline HWND findProcessWindow(DWORD pid, const char* cls, bool visibleOnly = false) {
    for (HWND h = FindWindowExA(nullptr, nullptr, cls, nullptr); h;
         h = FindWindowExA(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && (!visibleOnly || IsWindowVisible(h))) return h;
    }
    return nullptr;
}

inline RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// Real input to another process, an event at a time with a pause after each, as a hand gives it.
inline void send(const test::Inputs& in) { test::sendInputs(in, 40); }

// A left click (or a quick few) at a design position of the bar, in twips from its corner.
inline void clickOnBar(HWND bar, int twipsX, int twipsY, int clicks = 1) {
    const RECT r = windowRect(bar);
    send(test::leftClicks({r.left + px(twipsX), r.top + px(twipsY)}, clicks));
}

inline void pointerAway() { SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5); }

// Puts the pointer on the docked bar's strip and waits until the bar has slid into view.
inline bool slideIn(HWND bar) {
    SetCursorPos((windowRect(bar).left + windowRect(bar).right) / 2, 0);
    return waitUntil([&] { return windowRect(bar).top == 0; }, 10000);
}

// A program started for one test (in its own folder) and ended when the test is done.
class Process {
public:
    Process(const fs::path& exe, const std::string& args) {
        std::string cmd = "\"" + exe.string() + "\" " + args;
        const std::string folder = exe.parent_path().string();
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &si, &pi_))
            pi_ = {};
    }
    ~Process() { kill(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD pid() const { return pi_.dwProcessId; }
    // Waits until the process shows a window of class `cls` (a visible one when asked), and
    // keeps it as hwnd(); nullptr when none came or the process ended.
    HWND waitWindow(const char* cls, bool visibleOnly = false, DWORD ms = 30000) {
        hwnd_ = nullptr;
        if (pi_.hProcess)
            waitUntil(
                [&] { return (hwnd_ = findProcessWindow(pid(), cls, visibleOnly)) || waitExit(0); },
                ms);
        return hwnd_;
    }
    HWND hwnd() const { return hwnd_; }
    bool waitExit(DWORD ms) const {
        return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
    }
    // The exit code once the process has ended; STILL_ACTIVE before.
    DWORD exitCode() const {
        DWORD code = STILL_ACTIVE;
        if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    // Ends the process at once and waits until it and its window are gone.
    void kill() {
        if (!pi_.hProcess) return;
        if (!waitExit(0)) {
            TerminateProcess(pi_.hProcess, 1);
            waitExit(10000);
        }
        // Under Wine a window can outlive its process for a moment; the next test may look for it.
        if (hwnd_) waitUntil([&] { return !IsWindow(hwnd_); }, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        pi_ = {};
    }

private:
    PROCESS_INFORMATION pi_{};
    HWND hwnd_ = nullptr;
};

// demoplayer.exe with a journal of its own: a line "msg wParam lParam reply" per message it got.
class DemoPlayer : public Process {
public:
    explicit DemoPlayer(const std::string& args, const std::string& journal = tempFile("journal"))
        : Process(binFolder() / "demoplayer.exe", "--journal \"" + journal + "\" " + args),
          journal_(journal) {
        waitWindow(winamp::kWindowClass);
    }
    ~DemoPlayer() {
        kill();
        DeleteFileA(journal_.c_str());
    }
    std::vector<std::string> journal() const { return readLines(journal_); }

private:
    std::string journal_;
};

// How often the player's journal holds `line`, once `times` of them came (or 10 s passed).
inline int seen(const DemoPlayer& player, const std::string& line, int times = 1) {
    int n = 0;
    waitUntil(
        [&] {
            const auto lines = player.journal();
            n = static_cast<int>(std::count(lines.begin(), lines.end(), line));
            return n >= times;
        },
        10000);
    return n;
}

// A copy of tunebalk.exe in a fresh folder, so one test's log files never meet another's;
// removed with everything in it. Programs started from it must have ended by then.
class TunebalkFolder {
public:
    explicit TunebalkFolder(const std::string& name)
        : folder_(fs::temp_directory_path() /
                  ("tunebalk-e2e-" + name + "-" + std::to_string(GetCurrentProcessId()))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy_file(binFolder() / "tunebalk.exe", exe());
    }
    ~TunebalkFolder() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    TunebalkFolder(const TunebalkFolder&) = delete;
    TunebalkFolder& operator=(const TunebalkFolder&) = delete;
    fs::path exe() const { return folder_ / "tunebalk.exe"; }
    std::vector<fs::path> logFiles() const {
        std::vector<fs::path> logs;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().extension() == ".log") logs.push_back(entry.path());
        return logs;
    }

private:
    fs::path folder_;
};

// tunebalk.exe run from a folder copy of its own.
class TunebalkRun {
public:
    TunebalkRun(const std::string& name, const std::string& args)
        : folder_(name), process_(folder_.exe(), args) {}
    ~TunebalkRun() {
        if (bar_) close();
        process_.kill();
    }
    Process& process() { return process_; }
    // The bar once it shows; nullptr when it did not come.
    HWND bar() {
        if (!bar_) bar_ = process_.waitWindow("TunebalkBar", true);
        return bar_;
    }
    // Closes the bar as a user would and waits for the program to end.
    bool close() { return bar_ && PostMessageA(bar_, WM_CLOSE, 0, 0) && process_.waitExit(30000); }
    std::vector<fs::path> logFiles() const { return folder_.logFiles(); }

private:
    TunebalkFolder folder_;  // before process_: the copy exists before it starts
    Process process_;
    HWND bar_ = nullptr;
};

// A setting of the bar for one test; the value is removed again after.
class Setting {
public:
    Setting(const char* name, DWORD value) : Setting(name, REG_DWORD, &value, sizeof value) {}
    Setting(const char* name, const std::string& value)
        : Setting(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1)) {}
    ~Setting() {
        RegDeleteValueA(key_, name_.c_str());
        RegCloseKey(key_);
    }
    Setting(const Setting&) = delete;
    Setting& operator=(const Setting&) = delete;

private:
    Setting(const char* name, DWORD type, const void* data, DWORD size) : name_(name) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Oxalmo\\Tunebalk", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key_, nullptr);
        RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    std::string name_;
    HKEY key_ = nullptr;
};

}  // namespace tb::e2e
