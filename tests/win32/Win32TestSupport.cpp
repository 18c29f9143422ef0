#include "Win32TestSupport.h"

#include <atomic>
#include <filesystem>

namespace tb::test {

int runSelf(const std::string& args, std::uint32_t timeoutMs) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string commandLine = "\"" + std::string(exe) + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &code);
    } else {
        TerminateProcess(pi.hProcess, 99);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

bool pumpUntil(Desktop& desktop, const std::function<bool()>& done, std::uint32_t timeoutMs) {
    const std::uint64_t deadline = desktop.tickCountMs() + timeoutMs;
    while (!done()) {
        if (desktop.tickCountMs() >= deadline) return false;
        desktop.waitEventsUntil(desktop.tickCountMs() + 10);
    }
    return true;
}

std::string tempPath(const std::string& stem) {
    static std::atomic<int> counter{0};
    const std::string name = "tb-" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + ".tmp";
    return (std::filesystem::temp_directory_path() / name).string();
}

}  // namespace tb::test
