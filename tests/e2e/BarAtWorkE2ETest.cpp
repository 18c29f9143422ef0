// The bar at work against demoplayer.exe, both real programs under Wine: real mouse input on the
// bar reaches the player as its journal shows, and the bar's life follows the player's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "E2eTools.h"
#include "settings/InstellingenStore.h"
#include "winamp/WinampMessages.h"

namespace tb::e2e {
namespace {

class BarAtWork : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(player.hwnd(), nullptr);
        bar = run.bar();
        ASSERT_NE(bar, nullptr);
        // The pointer on its strip brings the bar into view; the first click keeps it there.
        GetWindowRect(bar, &rect);
        SetCursorPos((rect.left + rect.right) / 2, 0);
        ASSERT_TRUE(waitUntil([&] { return GetWindowRect(bar, &rect) && rect.top == 0; }, 10000));
    }
    void send(DWORD flags, int clientX, int clientY, DWORD data = 0) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(rect.left + clientX, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(rect.top + clientY, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.mi.mouseData = data;
        SendInput(1, &in, sizeof in);
        Sleep(30);
    }
    void click(int twipsX, int twipsY, int clicks = 1) {
        const int x = px(twipsX), y = px(twipsY);
        send(0, x, y);
        for (int i = 0; i < clicks; ++i) {
            send(MOUSEEVENTF_LEFTDOWN, x, y);
            send(MOUSEEVENTF_LEFTUP, x, y);
        }
    }

    DemoPlayer player{"--play"};
    TunebalkRun run{"work", ""};
    HWND bar = nullptr;
    RECT rect{};
};

TEST_F(BarAtWork, EachTransportButtonReachesThePlayerOnceAndHideAndRestoreWorkItsWindow) {
    const struct {
        int leftTwips, command;
    } buttons[] = {{120, winamp::cmd::Previous},
                   {435, winamp::cmd::Play},
                   {750, winamp::cmd::Pause},
                   {1065, winamp::cmd::Stop},
                   {1380, winamp::cmd::Next}};
    for (const auto& b : buttons) click(b.leftTwips + 150, 1080 + 165);
    for (const auto& b : buttons)
        EXPECT_EQ(seen(player, "273 " + std::to_string(b.command) + " 0 0"), 1) << b.command;

    click(1920 + 150, 1080 + 165);  // btnVerberg
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(player.hwnd()); }, 5000));
    click(2235 + 150, 1080 + 165);  // btnHerstel
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(player.hwnd()); }, 5000));
    EXPECT_TRUE(IsIconic(player.hwnd())) << "back minimised";
}

TEST_F(BarAtWork, AWheelNotchAndADoubleClickPlayTheEntryOfTheRow) {
    // A click on the background takes the focus, where the wheel's messages go.
    click(2900, 700);
    send(MOUSEEVENTF_WHEEL, px(4060 + 1000), px(600), static_cast<DWORD>(-WHEEL_DELTA));
    Sleep(200);
    click(4060 + 1000, 120 + 240 * 2 + 100, 2);  // row 2, now entry 3
    EXPECT_EQ(seen(player, "1024 3 121 0"), 1);
    EXPECT_EQ(seen(player, "273 40045 0 0"), 1);
}

TEST(BarLife, AClosingBarClosesThePlayerWithSluitWinamp) {
    Setting sluit(instellingen::kSluitWinamp, 1);
    DemoPlayer player("");
    TunebalkRun run("sluit", "");
    ASSERT_NE(run.bar(), nullptr);
    ASSERT_TRUE(run.close());
    EXPECT_TRUE(player.waitExit(10000));
}

TEST(BarLife, ABarEndsAboutThirtySecondsAfterItsPlayerWasKilledWithAutoSluit) {
    Setting autoSluit(instellingen::kAutoSluit, 1);
    DemoPlayer player("--play");
    TunebalkRun run("autosluit", "");
    ASSERT_NE(run.bar(), nullptr);
    Sleep(1500);
    const ULONGLONG t0 = GetTickCount64();
    player.kill();
    ASSERT_TRUE(run.process().waitExit(45000));
    const ULONGLONG after = GetTickCount64() - t0;
    EXPECT_GE(after, 29500u);
    EXPECT_LE(after, 34000u);
}

}  // namespace
}  // namespace tb::e2e
