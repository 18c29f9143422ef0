// Helpers shared by the Win32-only tests.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Desktop.h"

namespace tb::test {

// Lets events run until `done` holds or `timeoutMs` passed; gives done().
inline bool pumpUntil(Desktop& desktop, const std::function<bool()>& done,
                      std::uint32_t timeoutMs = 5000) {
    const std::uint64_t deadline = desktop.tickCountMs() + timeoutMs;
    while (!done()) {
        if (desktop.tickCountMs() >= deadline) return false;
        desktop.waitEventsUntil(desktop.tickCountMs() + 10);
    }
    return true;
}

// A file name in the temporary folder, unique to this process and call.
inline std::string tempPath(const std::string& stem) {
    static std::atomic<int> counter{0};
    const std::string name = "tb-" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + ".tmp";
    return (std::filesystem::temp_directory_path() / name).string();
}

}  // namespace tb::test
