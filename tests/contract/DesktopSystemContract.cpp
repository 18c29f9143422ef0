// Process memory and file behaviour that the simulated and the real desktop share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract/ContractHost.h"

namespace tb::test {
namespace {

class DesktopSystemContract : public ::testing::Test {
protected:
    Desktop& desk() { return host_->desktop(); }
    std::size_t read(ProcessHandle h, std::uint64_t address, std::size_t n, std::string* out) {
        std::vector<std::uint8_t> buf(n, 0);
        const std::size_t got = desk().readProcessMemory(h, address, buf);
        if (out) out->assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
        return got;
    }

    std::unique_ptr<ContractHost> host_ = makeContractHost();
};

TEST_F(DesktopSystemContract, ReadsOwnMemoryAllOrNothingUpToAnUnreadablePage) {
    const std::string text("Artist - Title\0", 15);
    const std::uint64_t at = host_->placeBeforeUnreadable(text);
    const ProcessHandle h = desk().openProcessForRead(host_->selfProcessId());
    ASSERT_NE(h, 0u);

    std::string got;
    EXPECT_EQ(read(h, at, text.size(), &got), text.size());
    EXPECT_EQ(got, text);
    EXPECT_EQ(read(h, at + 9, 6, &got), 6u);
    EXPECT_EQ(got, std::string("Title\0", 6));
    // One byte into the unreadable page spoils the whole read, as a 1024-byte read would.
    EXPECT_EQ(read(h, at, text.size() + 1, nullptr), 0u);
    EXPECT_EQ(read(h, at, 1024, nullptr), 0u);
    EXPECT_EQ(read(h, at + text.size(), 1, nullptr), 0u);
    EXPECT_EQ(read(h, 0, 16, nullptr), 0u);
    EXPECT_EQ(read(h, 0x10, 16, nullptr), 0u);
    desk().closeHandle(h);
    EXPECT_EQ(read(h, at, text.size(), nullptr), 0u) << "a closed handle reads nothing";
}

TEST_F(DesktopSystemContract, CannotOpenProcessesThatDoNotExist) {
    EXPECT_EQ(desk().openProcessForRead(0), 0u);
    EXPECT_EQ(desk().openProcessForRead(0x7FFFFFF0), 0u);
}

TEST_F(DesktopSystemContract, CreatesReadsAndReplacesFiles) {
    const std::string folder = host_->tempFolder();
    if (folder.empty()) GTEST_SKIP() << "the host has no temp folder";
    const std::string path = folder + "\\log20240314120000.log";
    EXPECT_FALSE(desk().fileExists(path));
    EXPECT_EQ(desk().readFile(path), std::nullopt);
    {
        auto file = desk().createFile(path, true);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->write("Tunebalk load\r\n"));
        EXPECT_TRUE(file->write("Tunebalk load OK\r\n"));
    }
    EXPECT_TRUE(desk().fileExists(path));
    EXPECT_EQ(desk().readFile(path), "Tunebalk load\r\nTunebalk load OK\r\n");

    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_TRUE(desk().fileExists(upper)) << "names compare without regard to case";

    EXPECT_EQ(desk().createFile(path, true), nullptr) << "failIfExists leaves it alone";
    EXPECT_EQ(desk().readFile(path), "Tunebalk load\r\nTunebalk load OK\r\n");
    {
        auto file = desk().createFile(path, false);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->write("x"));
    }
    EXPECT_EQ(desk().readFile(path), "x");
}

TEST_F(DesktopSystemContract, FailsForFoldersAndMissingFolders) {
    const std::string folder = host_->tempFolder();
    if (folder.empty()) GTEST_SKIP() << "the host has no temp folder";
    EXPECT_FALSE(desk().fileExists(folder)) << "a folder is not a file";
    EXPECT_EQ(desk().createFile(folder + "\\no such folder\\a.log", false), nullptr);
    EXPECT_FALSE(desk().fileExists(folder + "\\no such folder\\a.log"));
    EXPECT_EQ(desk().createFile(folder, false), nullptr);
    EXPECT_EQ(desk().readFile(folder + "\\missing.txt"), std::nullopt);
}

TEST_F(DesktopSystemContract, DeletesClosedFilesOnly) {
    const std::string folder = host_->tempFolder();
    if (folder.empty()) GTEST_SKIP() << "the host has no temp folder";
    const std::string path = folder + "\\export.reg";
    EXPECT_FALSE(desk().deleteFile(path)) << "no such file";
    {
        auto file = desk().createFile(path, true);
        ASSERT_NE(file, nullptr);
        EXPECT_FALSE(desk().deleteFile(path)) << "open for writing";
    }
    EXPECT_TRUE(desk().deleteFile(path));
    EXPECT_FALSE(desk().fileExists(path));
    EXPECT_NE(desk().createFile(path, true), nullptr) << "the name is free again";
    EXPECT_FALSE(desk().deleteFile(folder)) << "a folder is not a file";
}

}  // namespace
}  // namespace tb::test
