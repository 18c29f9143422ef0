// Process memory, files and text conversion that the simulated and the real desktop share.
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
    EXPECT_EQ(desk().openProcessForRead(0) + desk().openProcessForRead(0x7FFFFFF0), 0u);
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
    for (auto [address, n] : {std::pair{at, text.size() + 1},
                              {at, std::size_t{1024}},
                              {at + text.size(), std::size_t{1}},
                              {0, std::size_t{16}},
                              {0x10, std::size_t{16}}})
        EXPECT_EQ(read(h, address, n, nullptr), 0u) << address - at << " " << n;
    desk().closeHandle(h);
    EXPECT_EQ(read(h, at, text.size(), nullptr), 0u) << "a closed handle reads nothing";
}

TEST_F(DesktopSystemContract, FilesAreMadeReadReplacedAndDeletedOnlyWhereThatCanBe) {
    const std::string folder = host_->tempFolder();
    if (folder.empty()) GTEST_SKIP() << "the host has no temp folder";
    const std::string path = folder + "\\log20240314120000.log";
    EXPECT_FALSE(desk().fileExists(path) || desk().readFile(path) || desk().deleteFile(path));
    {
        auto file = desk().createFile(path, true);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->write("Tunebalk load\r\n") && file->write("Tunebalk load OK\r\n"));
        EXPECT_FALSE(desk().deleteFile(path)) << "open for writing";
    }
    EXPECT_EQ(desk().readFile(path), "Tunebalk load\r\nTunebalk load OK\r\n");
    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(desk().fileExists(upper)) << "names compare without regard to case";
    EXPECT_EQ(desk().createFile(path, true), nullptr) << "failIfExists leaves it alone";
    desk().createFile(path, false)->write("x");
    EXPECT_EQ(desk().readFile(path), "x");
    EXPECT_TRUE(desk().deleteFile(path));
    EXPECT_FALSE(desk().fileExists(path));

    // A folder is no file, and a file in a missing folder cannot be made.
    const std::string missing = folder + "\\no such folder\\a.log";
    EXPECT_FALSE(desk().fileExists(folder) || desk().deleteFile(folder) ||
                 desk().fileExists(missing));
    EXPECT_EQ(desk().createFile(missing, false), nullptr);
    EXPECT_EQ(desk().createFile(folder, false), nullptr);
}

TEST_F(DesktopSystemContract, AnsiTextBecomesUtf16ByTheWindowsCodePage) {
    EXPECT_EQ(desk().ansiToUtf16(std::string("Caf\xE9 \x80\x81 - A\0B", 14)),
              std::u16string(u"Caf\u00e9 \u20ac\u0081 - A\0B", 14));
}

}  // namespace
}  // namespace tb::test
