// Helpers shared by the Win32-only tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Desktop.h"

namespace tb::test {

// Runs this test program again with `args` (after its own quoted path), waits for it and
// gives its exit code; -1 when it could not be started or did not end within `timeoutMs`.
// The roles a child can play are in Win32TestMain.cpp.
int runSelf(const std::string& args, std::uint32_t timeoutMs = 30000);

// Lets events run until `done` holds or `timeoutMs` passed; gives done().
bool pumpUntil(Desktop& desktop, const std::function<bool()>& done, std::uint32_t timeoutMs = 5000);

// A file name in the temporary folder, unique to this process and call.
std::string tempPath(const std::string& stem);

}  // namespace tb::test
