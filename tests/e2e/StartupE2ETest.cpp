// Start-up and close of the real tunebalk.exe, observed from outside: its windows, its log file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "E2eTools.h"

namespace tb::e2e {
namespace {

// Visible bars of any process.
int countBars() {
    int n = 0;
    for (HWND h = FindWindowExA(nullptr, nullptr, "TunebalkBar", nullptr); h;
         h = FindWindowExA(nullptr, h, "TunebalkBar", nullptr))
        n += IsWindowVisible(h) ? 1 : 0;
    return n;
}

TEST(Startup, DebugWritesTheLogBesideTheExeAndTheBarIsTopmostAtItsSize) {
    SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
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
    EXPECT_EQ(r.top, 2 - (r.bottom - r.top)) << "parked at the edge, two pixels showing";
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

// Ten starts at once from one folder, with "/debug", so that their logs would meet: one bar
// comes up, and each of the nine others shows its refusal and waits for OK, having written no log.
TEST(Startup, TenStartsAtOnceLeaveOneBarAndOnlyItsLog) {
    constexpr int kStarts = 10;
    TunebalkFolder folder("racing");
    // Log files are named to the second, and the bar's stays open without write sharing, so a
    // refused start that wrote a log in the bar's second would leave no trace. Starting a few
    // hundred milliseconds before the clock turns makes the starts' logs fall in two seconds.
    waitUntil(
        [] {
            SYSTEMTIME now{};
            GetLocalTime(&now);
            return now.wMilliseconds >= 650 && now.wMilliseconds < 750;
        },
        1100);
    std::vector<std::unique_ptr<Process>> starts;
    for (int i = 0; i < kStarts; ++i)
        starts.push_back(std::make_unique<Process>(folder.exe(), "/debug"));

    Process* running = nullptr;
    std::vector<std::pair<Process*, HWND>> refused;
    const bool settled = waitUntil(
        [&] {
            running = nullptr;
            refused.clear();
            for (auto& p : starts) {
                if (findProcessWindow(p->pid(), "TunebalkBar", true)) running = p.get();
                // The box counts once it is shown: before that its texts may not be set yet.
                if (HWND box = findProcessWindow(p->pid(), "#32770", true))
                    refused.emplace_back(p.get(), box);
            }
            return running && refused.size() == kStarts - 1;
        },
        15000);
    ASSERT_TRUE(settled) << (running ? "a bar" : "no bar") << ", " << refused.size() << " boxes";
    EXPECT_EQ(countBars(), 1);

    for (auto [process, box] : refused) {
        char title[64] = {};
        GetWindowTextA(box, title, sizeof title);
        EXPECT_STREQ(title, "Tunebalk");
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
        EXPECT_STREQ(text, "Er is al een Tunebalk sessie actief!");
        EXPECT_FALSE(process->waitExit(0)) << "it waits for OK";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    for (auto [process, box] : refused) EXPECT_TRUE(process->waitExit(10000)) << process->pid();
    EXPECT_EQ(countBars(), 1);

    // Closing the bar ends its log; the one log there is must be the bar's, and only the bar's.
    PostMessageA(findProcessWindow(running->pid(), "TunebalkBar", true), WM_CLOSE, 0, 0);
    ASSERT_TRUE(running->waitExit(30000));
    const auto logs = folder.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    std::vector<std::string> lines = readLines(logs[0]);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("Log start (", 0), 0u);
    EXPECT_EQ(lines[1], "Tunebalk load");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Tunebalk load"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Tunebalk load OK"), 1);
    EXPECT_EQ(lines.back().rfind("Log eind (", 0), 0u);
}

}  // namespace
}  // namespace tb::e2e
