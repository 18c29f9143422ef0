// Start-up and close of the real tunebalk.exe, observed from outside: its windows, its log file.
#include <gtest/gtest.h>

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

// Ten starts at once from one folder, with "/debug", so that their logs would meet: one bar
// comes up, parked at the top edge, and each of the nine others shows its refusal and waits for
// OK, having written no log. The bar's log holds its start and close, in order.
TEST(Startup, TenStartsAtOnceLeaveOneBarAndOnlyItsLog) {
    constexpr int kStarts = 10;
    pointerAway();
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
    HWND bar = nullptr;
    std::vector<std::pair<Process*, HWND>> refused;
    const bool settled = waitUntil(
        [&] {
            running = nullptr;
            refused.clear();
            for (auto& p : starts) {
                if (HWND h = findProcessWindow(p->pid(), "TunebalkBar", true)) {
                    running = p.get();
                    bar = h;
                }
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
        char title[64] = {}, text[256] = {};
        GetWindowTextA(box, title, sizeof title);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
        EXPECT_STREQ(title, "Tunebalk");
        EXPECT_STREQ(text, "Er is al een Tunebalk sessie actief!");
        EXPECT_FALSE(process->waitExit(0)) << "it waits for OK";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    for (auto [process, box] : refused) EXPECT_TRUE(process->waitExit(10000)) << process->pid();
    EXPECT_EQ(countBars(), 1);

    char caption[64] = {};
    GetWindowTextA(bar, caption, sizeof caption);
    EXPECT_STREQ(caption, "Tunebalk4");
    const RECT r = windowRect(bar);
    EXPECT_EQ(r.right - r.left, px(8130));
    EXPECT_EQ(r.bottom - r.top, px(1440));
    EXPECT_EQ(r.top, 2 - (r.bottom - r.top)) << "parked at the edge, two pixels showing";
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Closing the bar ends its log; the one log there is must be the bar's, and only the bar's.
    PostMessageA(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(running->waitExit(30000));
    const auto logs = folder.logFiles();
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

}  // namespace
}  // namespace tb::e2e
