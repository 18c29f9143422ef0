// The system's registry editor importing a file ("regedit /S"), the peer that the registry
// files must mean the same to.
#pragma once

#include <windows.h>

#include <string>

namespace tb::test {

// Runs it on `file` and waits for it; false when it could not be started.
inline bool regeditImport(const std::string& file) {
    std::string command = "regedit.exe /S \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace tb::test
