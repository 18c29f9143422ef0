// The Win32 test program's entry: reports crashes as such (under Wine a crash would otherwise
// start the debugger), and plays child roles for the tests that need a second process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {

namespace {

LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crash: exception 0x%08lx at %p\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool startsWith(const std::string& s, const char* prefix, std::string& rest) {
    const std::string p(prefix);
    if (s.compare(0, p.size(), p) != 0) return false;
    rest = s.substr(p.size());
    return true;
}

}  // namespace

int runChildRole(const std::string& arg) {
    std::string rest;
    win32::Win32Desktop desktop;
    if (startsWith(arg, "--tb-claim=", rest)) {
        // 0: the name was free and is now ours until this process ends; 1: refused.
        return desktop.claimSingleInstance(rest) ? 0 : 1;
    }
    if (startsWith(arg, "--tb-write-args=", rest)) {
        std::ofstream(rest, std::ios::binary) << desktop.commandArguments();
        return 0;
    }
    if (startsWith(arg, "--tb-write-startup=", rest)) {
        // How this process was asked to show its window, and where it started; then linger
        // so the starter can prove it did not wait.
        STARTUPINFOA si{};
        si.cb = sizeof si;
        GetStartupInfoA(&si);
        char dir[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, dir);
        {
            std::ofstream out(rest, std::ios::binary);
            out << ((si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1) << '\n' << dir;
        }
        Sleep(3000);
        return 0;
    }
    return -1;
}

}  // namespace tb::test

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(tb::test::reportCrash);
    // A child started the way the program starts other programs gets no arguments of ours.
    char startupFile[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TB_STARTUP_FILE", startupFile, MAX_PATH)) {
        return tb::test::runChildRole(std::string("--tb-write-startup=") + startupFile);
    }
    if (argc >= 2) {
        int role = tb::test::runChildRole(argv[1]);
        if (role >= 0) return role;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
