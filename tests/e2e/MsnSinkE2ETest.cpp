// The Messenger stand-in writes down every copy-data message it receives, and the program's
// Messenger channel reaches it through the real API.
#include <gtest/gtest.h>

#include <string>

#include "E2eTools.h"
#include "messenger/clsPSM.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::e2e {
namespace {

TEST(MsnSinkE2E, JournalsEachCopyDataMessageOnOneLine) {
    const std::string journal = tempFile("msn");
    {
        Process sink(binFolder() / "msnsink.exe", "--journal \"" + journal + "\"");
        ASSERT_NE(sink.waitWindow("MsnMsgrUIManager"), nullptr);
        const struct {
            ULONG_PTR dwData;
            std::wstring text;
            bool withZero;
        } messages[] = {
            {0x547, L"\\0Music\\01\\0{0} - {1}\\0Ab\\0Caf\u00e9\\0\\0", true},
            {7, L"two\nlines", false},
        };
        for (const auto& m : messages) {
            COPYDATASTRUCT cds{};
            cds.dwData = m.dwData;
            cds.cbData =
                static_cast<DWORD>((m.text.size() + (m.withZero ? 1 : 0)) * sizeof(wchar_t));
            cds.lpData = const_cast<wchar_t*>(m.text.c_str());
            SendMessageA(sink.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        }
    }
    auto lines = readLines(journal);
    DeleteFileA(journal.c_str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "1351\t72\t\\0Music\\01\\0{0} - {1}\\0Ab\\0Caf\xC3\xA9\\0\\0");
    EXPECT_EQ(lines[1], "7\t18\ttwo\\x0Alines");
}

TEST(MsnSinkE2E, TheChannelDeliversItsStatusTextsByteForByte) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected texts are Windows-1252";
    const std::string journal = tempFile("psm");
    {
        Process sink(binFolder() / "msnsink.exe", "--journal \"" + journal + "\"");
        ASSERT_NE(sink.waitWindow("MsnMsgrUIManager"), nullptr);
        win32::Win32Desktop desktop;
        clsPSM psm(desktop);
        psm.setPSM("Caf\xE9 \x80\x81 - Title", "Music", "{0}");
        psm.setPSM("Caf\xE9 \x80\x81 - Title", "Music", "{0}");
        psm.HidePSM();
    }
    auto lines = readLines(journal);
    DeleteFileA(journal.c_str());
    ASSERT_EQ(lines.size(), 2u);
    // 15 characters: 2 x (15 + 26) bytes with the closing zero, which the sink leaves out.
    EXPECT_EQ(lines[0],
              "1351\t82\t\\0Music\\01\\0{0}\\0Caf\xC3\xA9 \xE2\x82\xAC\xC2\x81 - "
              "Title\\0\\0\\0\\0");
    EXPECT_EQ(lines[1], "1351\t64\t\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0\\0");
}

}  // namespace
}  // namespace tb::e2e
