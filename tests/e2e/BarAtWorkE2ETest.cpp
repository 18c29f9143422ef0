// The bar at work against demoplayer.exe, both real programs under Wine: real mouse input on the
// bar reaches the player as its journal shows, and the bar's life follows the player's.
#include <gtest/gtest.h>

#include <string>

#include "E2eTools.h"
#include "settings/InstellingenStore.h"
#include "winamp/WinampMessages.h"

namespace tb::e2e {
namespace {

std::string command(int id) { return "273 " + std::to_string(id) + " 0 0"; }

TEST(BarAtWork, ItsButtonsWheelAndPlaylistDriveThePlayerAndItsCloseClosesIt) {
    Setting sluit(instellingen::kSluitWinamp, 1);
    DemoPlayer player("--play");
    ASSERT_NE(player.hwnd(), nullptr);
    TunebalkRun run("work", "");
    const HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(slideIn(bar));  // the first click keeps it there
    const struct {
        int leftTwips, command;
    } buttons[] = {{120, winamp::cmd::Previous},
                   {435, winamp::cmd::Play},
                   {750, winamp::cmd::Pause},
                   {1065, winamp::cmd::Stop},
                   {1380, winamp::cmd::Next}};
    for (const auto& b : buttons) clickOnBar(bar, b.leftTwips + 150, 1080 + 165);
    for (const auto& b : buttons) EXPECT_EQ(seen(player, command(b.command)), 1) << b.command;

    clickOnBar(bar, 1920 + 150, 1080 + 165);  // btnVerberg
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(player.hwnd()); }, 5000));
    clickOnBar(bar, 2235 + 150, 1080 + 165);  // btnHerstel
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(player.hwnd()); }, 5000));
    EXPECT_TRUE(IsIconic(player.hwnd())) << "back minimised";
    // Shown, the player's window is activated by its own thread, which may come late: let it
    // settle before the bar takes the foreground back, or it would leave the bar after that.
    waitUntil([&] { return GetForegroundWindow() == player.hwnd(); }, 2000);

    // A click on the background takes the focus, where the wheel's messages go; a notch down
    // scrolls the playlist one entry, and a double click on row 2 plays entry 3.
    clickOnBar(bar, 2900, 700);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == bar; }, 5000));
    const RECT r = windowRect(bar);
    send({test::mouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_WHEEL,
                           {r.left + px(4060 + 1000), r.top + px(600)},
                           static_cast<DWORD>(-WHEEL_DELTA))});
    Sleep(200);
    clickOnBar(bar, 4060 + 1000, 120 + 240 * 2 + 100, 2);
    EXPECT_EQ(seen(player, "1024 3 121 0"), 1);
    EXPECT_EQ(seen(player, command(winamp::cmd::Play), 2), 2);

    ASSERT_TRUE(run.close());
    EXPECT_TRUE(player.waitExit(10000)) << "closed with the bar";
    EXPECT_TRUE(run.logFiles().empty()) << "no log without /debug";
}

TEST(BarAtWork, ABarEndsAboutThirtySecondsAfterItsPlayerWasKilledWithAutoSluit) {
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
