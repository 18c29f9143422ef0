#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

struct ArgsCase {
    const char* commandLine;
    const char* arguments;
};

TEST(Win32CommandLine, ArgumentsAreWhatFollowsTheProgramName) {
    const ArgsCase cases[] = {
        {"tunebalk.exe /debug", "/debug"},
        {"\"C:\\Program Files\\Tunebalk\\tunebalk.exe\" /debug", "/debug"},
        {"\"C:\\Program Files\\Tunebalk\\tunebalk.exe\"/debug", "/debug"},
        {"C:\\Tunebalk\\tunebalk.exe\t/debug", "/debug"},
        {"tunebalk.exe    /debug", "/debug"},
        {"tunebalk.exe /debug ", "/debug "},
        {"tunebalk.exe /DEBUG extra", "/DEBUG extra"},
        {"tunebalk.exe \"a b\"  c", "\"a b\"  c"},
        {"tunebalk.exe", ""},
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
    std::ifstream in(file, std::ios::binary);
    std::stringstream got;
    got << in.rdbuf();
    in.close();
    DeleteFileA(file.c_str());
    EXPECT_EQ(got.str(), args);
}

}  // namespace
}  // namespace tb::test
