// What a second, real process shows: the command line it is given, the single-instance claim.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

TEST(Win32CommandLine, ArgumentsAreWhatFollowsTheProgramName) {
    const struct {
        const char* commandLine;
        const char* arguments;
    } cases[] = {
        {"tunebalk.exe /debug", "/debug"},
        {"\"C:\\Program Files\\Tunebalk\\tunebalk.exe\" /debug", "/debug"},
        {"\"C:\\Program Files\\Tunebalk\\tunebalk.exe\"/debug", "/debug"},
        {"C:\\Tunebalk\\tunebalk.exe\t  /debug", "/debug"},
        {"tunebalk.exe /DEBUG extra ", "/DEBUG extra "},
        {"tunebalk.exe \"a b\"  c", "\"a b\"  c"},
        {"tunebalk.exe   ", ""},
        {"\"C:\\Tunebalk\\tunebalk.exe\"", ""},
        {"\"C:\\unterminated /debug", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win32::argumentsAfterProgramName(c.commandLine), c.arguments)
            << "command line: " << c.commandLine;
    }
}

TEST(Win32CommandLine, AChildGetsItsArgumentsWithoutItsQuotedPath) {
    const std::string file = tempPath("args");
    const std::string args = "--tb-write-args=" + file + " /debug";
    ASSERT_EQ(runSelf(args), 0);
    std::stringstream got;
    got << std::ifstream(file, std::ios::binary).rdbuf();
    DeleteFileA(file.c_str());
    EXPECT_EQ(got.str(), args);
}

TEST(Win32SingleInstance, TheClaimHoldsAcrossProcessesUntilItsHolderEnds) {
    const std::string name = "Tunebalk.Test." + std::to_string(GetCurrentProcessId()) + "." +
                             std::to_string(GetTickCount64());
    ASSERT_EQ(runSelf("--tb-claim=" + name), 0) << "a fresh name is free";
    win32::Win32Desktop desktop;
    ASSERT_TRUE(desktop.claimSingleInstance(name)) << "the child's claim ended with it";
    EXPECT_EQ(runSelf("--tb-claim=" + name), 1) << "refused while this process holds it";
    EXPECT_FALSE(desktop.claimSingleInstance(name)) << "a second claim in the same process";
}

}  // namespace
}  // namespace tb::test
