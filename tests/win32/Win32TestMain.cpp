// The Win32 test program's entry: reports crashes as such (under Wine a crash would otherwise
// start the debugger), and plays child roles for the tests that need a second process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/Win32Desktop.h"

namespace {

LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crash: exception 0x%08lx at %p\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A child's exit code, or -1 when `arg` names no role.
int runChildRole(const std::string& arg) {
    tb::win32::Win32Desktop desktop;
    const auto value = [&](const std::string& prefix) {
        return arg.compare(0, prefix.size(), prefix) == 0 ? arg.substr(prefix.size()) : "";
    };
    if (std::string name = value("--tb-claim="); !name.empty()) {
        // 0: the name was free and is ours until this process ends; 1: refused.
        return desktop.claimSingleInstance(name) ? 0 : 1;
    }
    if (std::string file = value("--tb-write-args="); !file.empty()) {
        std::ofstream(file, std::ios::binary) << desktop.commandArguments();
        return 0;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(reportCrash);
    if (argc >= 2) {
        const int role = runChildRole(argv[1]);
        if (role >= 0) return role;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
