// Start-up and close of the real tunebalk.exe, observed from outside: its windows, its log file.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "E2eTools.h"

namespace tb::e2e {
namespace {

int countBars() {
    int n = 0;
    for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, "Tunebalk4"); h;
         h = FindWindowExA(nullptr, h, nullptr, "Tunebalk4"))
        ++n;
    return n;
}

TEST(Startup, DebugWritesTheLogBesideTheExeAndTheBarIsTopmostAtItsSize) {
    TunebalkRun run("debug", "/debug");
    HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    char caption[64] = {};
    GetWindowTextA(bar, caption, sizeof caption);
    EXPECT_STREQ(caption, "Tunebalk4");
    RECT r{};
    GetWindowRect(bar, &r);
    HDC dc = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(r.right - r.left, MulDiv(8130, dpiX, 1440));
    EXPECT_EQ(r.bottom - r.top, MulDiv(1440, dpiY, 1440));
    EXPECT_EQ(r.top, 0);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_TRUE(run.close());
    const auto logs = run.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(std::regex_match(logs[0].filename().string(), std::regex(R"(log\d{14}\.log)")))
        << logs[0];
    std::stringstream text;
    text << std::ifstream(logs[0], std::ios::binary).rdbuf();
    const std::regex expected(R"(Log start \(\d\d-\d\d-\d{4}, \d\d:\d\d:\d\d\)\r\n)"
                              R"(Tunebalk load\r\nWheelHook\r\nWheelHook OK\r\n)"
                              R"(Instellingen laden\r\nInstellingen laden OK\r\n)"
                              R"(Sneltoetsen laden\r\nSneltoetsen laden OK\r\n)"
                              R"(Refresh playlist\r\nRefresh playlist OK\r\n)"
                              R"(Tunebalk load OK\r\nWheelUnhook\r\nWheelUnhook OK\r\n)"
                              R"(Log eind \(\d\d-\d\d-\d{4}, \d\d:\d\d:\d\d\)\r\n)");
    EXPECT_TRUE(std::regex_match(text.str(), expected)) << text.str();
}

TEST(Startup, OtherCommandLinesWriteNoLog) {
    for (const char* args : {"", "/DEBUG", "/debug x", "debug"}) {
        TunebalkRun run("nolog", args);
        ASSERT_NE(run.bar(), nullptr) << args;
        ASSERT_TRUE(run.close()) << args;
        EXPECT_TRUE(run.logFiles().empty()) << args;
    }
}

TEST(Startup, ASecondStartIsRefusedWithAMessageAndLeavesOneBar) {
    TunebalkRun first("first", "");
    ASSERT_NE(first.bar(), nullptr);
    TunebalkRun second("second", "/debug");
    // The box counts once it is shown: before that its caption and text may not be set yet.
    HWND box = second.process().waitWindow("#32770", true);
    ASSERT_NE(box, nullptr);
    char title[64] = {};
    GetWindowTextA(box, title, sizeof title);
    EXPECT_STREQ(title, "Tunebalk");
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    EXPECT_STREQ(text, "Er is al een Tunebalk sessie actief!");
    EXPECT_EQ(findProcessWindow(second.process().pid(), "TunebalkBar", true), nullptr);

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.process().waitExit(30000));
    EXPECT_EQ(countBars(), 1);
    EXPECT_TRUE(second.logFiles().empty());
}

}  // namespace
}  // namespace tb::e2e
