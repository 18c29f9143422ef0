// What the end-to-end tests share: the programs of bin/ started for one test (tunebalk.exe
// from a copy in a folder of its own), their windows, what they write down, and real input.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/RealInput.h"

namespace tb::e2e {

// The folder of the running test executable, where the programs under test are.
std::filesystem::path binFolder();
// Design twips in screen pixels (horizontal).
int px(int twips);
// A fresh path in the temporary folder; the file does not exist.
std::string tempFile(const std::string& stem);
// The lines of a file (without line ends); empty when it cannot be read.
std::vector<std::string> readLines(const std::filesystem::path& path);
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
HWND findProcessWindow(DWORD pid, const char* cls, bool visibleOnly = false);
RECT windowRect(HWND hwnd);

// Real input to another process, an event at a time with a pause after each, as a hand gives it.
inline void send(const test::Inputs& in) { test::sendInputs(in, 40); }
// A left click (or a quick few) at a design position of the bar, in twips from its corner.
void clickOnBar(HWND bar, int twipsX, int twipsY, int clicks = 1);
void pointerAway();
// Puts the pointer on the docked bar's strip and waits until the bar has slid into view.
bool slideIn(HWND bar);

// A program started for one test (in its own folder) and ended when the test is done.
class Process {
public:
    Process(const std::filesystem::path& exe, const std::string& args);
    ~Process() { kill(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD pid() const { return pi_.dwProcessId; }
    // Waits until the process shows a window of class `cls` (a visible one when asked), and
    // keeps it as hwnd(); nullptr when none came or the process ended.
    HWND waitWindow(const char* cls, bool visibleOnly = false, DWORD ms = 30000);
    HWND hwnd() const { return hwnd_; }
    bool waitExit(DWORD ms) const;
    // The exit code once the process has ended; STILL_ACTIVE before.
    DWORD exitCode() const;
    // Ends the process at once and waits until it and its window are gone.
    void kill();

private:
    PROCESS_INFORMATION pi_{};
    HWND hwnd_ = nullptr;
};

// demoplayer.exe with a journal of its own: a line "msg wParam lParam reply" per message it got.
class DemoPlayer : public Process {
public:
    explicit DemoPlayer(const std::string& args, const std::string& journal = tempFile("journal"));
    ~DemoPlayer();
    std::vector<std::string> journal() const { return readLines(journal_); }

private:
    std::string journal_;
};

// How often the player's journal holds `line`, once `times` of them came (or 10 s passed).
int seen(const DemoPlayer& player, const std::string& line, int times = 1);

// A copy of tunebalk.exe in a fresh folder, so one test's log files never meet another's;
// removed with everything in it. Programs started from it must have ended by then.
class TunebalkFolder {
public:
    explicit TunebalkFolder(const std::string& name);
    ~TunebalkFolder();
    TunebalkFolder(const TunebalkFolder&) = delete;
    TunebalkFolder& operator=(const TunebalkFolder&) = delete;
    std::filesystem::path exe() const { return folder_ / "tunebalk.exe"; }
    std::vector<std::filesystem::path> logFiles() const;

private:
    std::filesystem::path folder_;
};

// tunebalk.exe run from a folder copy of its own.
class TunebalkRun {
public:
    TunebalkRun(const std::string& name, const std::string& args);
    ~TunebalkRun();
    Process& process() { return process_; }
    // The bar once it shows; nullptr when it did not come.
    HWND bar();
    // Closes the bar as a user would and waits for the program to end.
    bool close();
    std::vector<std::filesystem::path> logFiles() const { return folder_.logFiles(); }

private:
    TunebalkFolder folder_;  // before process_: the copy exists before it starts
    Process process_;
    HWND bar_ = nullptr;
};

// A setting of the bar for one test; the value is removed again after.
class Setting {
public:
    Setting(const char* name, DWORD value);
    Setting(const char* name, const std::string& value);
    ~Setting();
    Setting(const Setting&) = delete;
    Setting& operator=(const Setting&) = delete;

private:
    std::string name_;
    HKEY key_ = nullptr;
};

}  // namespace tb::e2e
