// Starting the helper programs (demoplayer.exe, msnsink.exe) from the tests' own bin folder
// and reading what they write down.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tb::e2e {

// The folder of the running test executable.
std::string binFolder();
// A fresh path in the temporary folder; the file does not exist.
std::string tempFile(const std::string& stem);
// The lines of a file (without line ends); empty when it cannot be read.
std::vector<std::string> readLines(const std::string& path);
// Polls `cond` every 20 ms until it holds or `ms` have passed.
template <class F>
bool waitUntil(F cond, DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    while (!cond()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}

// A program from bin/ started for one test and ended by its handle when the test is done.
class ToolProcess {
public:
    // Starts `exe` (a file name in bin/) with `args`; then waits up to 15 s for a top-level
    // window of `windowClass` owned by the new process.
    ToolProcess(const std::string& exe, const std::string& args, const char* windowClass);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    bool ready() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    DWORD pid() const { return pi_.dwProcessId; }
    // Ends the process and waits until its window is gone.
    void kill();
    bool waitExit(DWORD ms);

private:
    PROCESS_INFORMATION pi_{};
    HWND hwnd_ = nullptr;
};

}  // namespace tb::e2e
