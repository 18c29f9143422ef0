// The program's arguments as the real command line gives them: what follows the program name.
#include <gtest/gtest.h>

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
    for (const auto& c : cases)
        EXPECT_EQ(win32::argumentsAfterProgramName(c.commandLine), c.arguments) << c.commandLine;
}

}  // namespace
}  // namespace tb::test
