#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Win32TestSupport.h"
#include "contract/ContractHost.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

std::string uniqueName(const char* stem) {
    return std::string("Tunebalk.Test.") + stem + "." + std::to_string(GetCurrentProcessId()) +
           "." + std::to_string(GetTickCount64());
}

TEST(Win32SingleInstance, ASecondProcessIsRefusedWhileTheFirstLives) {
    win32::Win32Desktop desktop;
    const std::string name = uniqueName("held");
    ASSERT_TRUE(desktop.claimSingleInstance(name));
    EXPECT_EQ(runSelf("--tb-claim=" + name), 1);
    EXPECT_FALSE(desktop.claimSingleInstance(name)) << "a second claim in the same process";
    EXPECT_EQ(runSelf("--tb-claim=" + uniqueName("other")), 0);
}

TEST(Win32SingleInstance, TheClaimEndsWithTheProcessThatHeldIt) {
    const std::string name = uniqueName("released");
    ASSERT_EQ(runSelf("--tb-claim=" + name), 0);
    win32::Win32Desktop desktop;
    EXPECT_TRUE(desktop.claimSingleInstance(name));
}

TEST(Win32StartProgram, StartsMinimisedInItsFolderWithoutWaiting) {
    win32::Win32Desktop desktop;
    const std::string file = tempPath("startup");
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    // The child lingers three seconds after writing; the start must not wait for it. The
    // port's path is the program alone, so the role's argument comes from an environment
    // variable the child inherits.
    SetEnvironmentVariableA("TB_STARTUP_FILE", file.c_str());
    const std::uint64_t before = GetTickCount64();
    const bool started = desktop.startProgramMinimized(exe);
    const std::uint64_t took = GetTickCount64() - before;
    SetEnvironmentVariableA("TB_STARTUP_FILE", nullptr);
    ASSERT_TRUE(started);
    EXPECT_LT(took, 2000u);

    std::string show, dir;
    ASSERT_TRUE(pumpUntil(
        desktop,
        [&] {
            std::ifstream in(file, std::ios::binary);
            return std::getline(in, show) && std::getline(in, dir);
        },
        10000));
    DeleteFileA(file.c_str());
    EXPECT_EQ(show, std::to_string(SW_SHOWMINIMIZED));
    EXPECT_EQ(dir, desktop.exeFolder());
}

TEST(Win32StartProgram, AMissingProgramIsAFailure) {
    win32::Win32Desktop desktop;
    EXPECT_FALSE(desktop.startProgramMinimized("C:\\no such folder\\winamp.exe"));
    EXPECT_FALSE(desktop.startProgramMinimized(""));
}

TEST(Win32ProcessMemory, AReadIsAllOrNothingAtAnUnreadablePage) {
    auto host = makeContractHost();
    Desktop& d = host->desktop();
    const std::string text = "Artiest - Titel";
    const std::uint64_t at = host->placeBeforeUnreadable(text);
    ProcessHandle self = d.openProcessForRead(host->selfProcessId());
    ASSERT_NE(self, 0u);
    std::string buf(text.size(), '\0');
    auto bytes = std::span(reinterpret_cast<std::uint8_t*>(buf.data()), buf.size());
    EXPECT_EQ(d.readProcessMemory(self, at, bytes), text.size());
    EXPECT_EQ(buf, text);
    std::string more(text.size() + 1, '\0');
    auto over = std::span(reinterpret_cast<std::uint8_t*>(more.data()), more.size());
    EXPECT_EQ(d.readProcessMemory(self, at, over), 0u);
    d.closeHandle(self);
    EXPECT_EQ(d.openProcessForRead(0xFFFFFFF0u), 0u);
}

}  // namespace
}  // namespace tb::test
