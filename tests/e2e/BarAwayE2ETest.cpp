// The real tunebalk.exe at the screen's edge, for the Messenger and under the keyboard, with the
// demo player and the Messenger sink: real input in, windows and journals out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "E2eTools.h"
#include "settings/InstellingenStore.h"
#include "standin/StandinMessages.h"
#include "winamp/WinampMessages.h"

namespace tb::e2e {
namespace {

bool topWithin(HWND bar, int top, DWORD ms) {
    return waitUntil([&] { return windowRect(bar).top == top; }, ms);
}

TEST(BarAway, ItSlidesForThePointerAndTheForegroundAndNoHungPlayerStopsIt) {
    pointerAway();
    Setting key(instellingen::toetsNaam(1).c_str(), 'P');
    Setting ctrl(instellingen::ctrlNaam(1).c_str(), 1);
    Setting actief(instellingen::kActief, 1);
    DemoPlayer player("--play");
    TunebalkRun run("away", "");
    const HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    const int hidden = 2 - (windowRect(bar).bottom - windowRect(bar).top);
    const int stripX = (windowRect(bar).left + windowRect(bar).right) / 2;
    ASSERT_TRUE(topWithin(bar, hidden, 3000));

    // Ctrl+P on the keyboard plays, wherever the focus is.
    send({test::keyEvent(VK_CONTROL, false), test::keyEvent('P', false)});
    Sleep(400);
    send({test::keyEvent('P', true), test::keyEvent(VK_CONTROL, true)});
    EXPECT_GE(seen(player, "273 " + std::to_string(winamp::cmd::Play) + " 0 0"), 1);

    SetCursorPos(stripX, 0);
    EXPECT_TRUE(topWithin(bar, 0, 1000));
    EXPECT_NE(GetForegroundWindow(), bar) << "hovering must not activate";
    pointerAway();
    EXPECT_TRUE(topWithin(bar, hidden, 1000));

    // Clicked, it is the foreground window and stays while the pointer is elsewhere.
    SetCursorPos(stripX, 0);
    ASSERT_TRUE(topWithin(bar, 0, 1000));
    send(test::leftClicks({stripX, px(700)}));
    pointerAway();
    Sleep(800);
    EXPECT_EQ(GetForegroundWindow(), bar);
    EXPECT_EQ(windowRect(bar).top, 0);
    send(test::leftClicks(
        {windowRect(player.hwnd()).left + 150, windowRect(player.hwnd()).top + 50}));
    EXPECT_TRUE(topWithin(bar, hidden, 1000)) << "it went with the foreground";

    // The player stops answering for 8 s: the bar keeps sliding meanwhile.
    DWORD_PTR reply = 0;
    ASSERT_TRUE(SendMessageTimeoutA(player.hwnd(), WM_USER, 8000, standin::ipc::HangForMs,
                                    SMTO_NORMAL, 2000, &reply));
    const ULONGLONG hungAt = GetTickCount64();
    SetCursorPos(stripX, 0);
    // Coming in, the bar synchronises once: one bounded wait (about 0.5 s) for the player.
    EXPECT_TRUE(topWithin(bar, 0, 1500));
    pointerAway();
    EXPECT_TRUE(topWithin(bar, hidden, 1000));
    EXPECT_LT(GetTickCount64() - hungAt, 8000u) << "all while the player hung";
}

// One status text as the sink writes it down: dwData, cbData, the text without its closing 0.
std::string shown(const std::string& line) {
    return "1351\t" + std::to_string(2 * (line.size() + 26)) + "\t\\0Music\\01\\0{0}\\0" + line +
           "\\0\\0\\0\\0";
}
const std::string kHidden = "1351\t64\t\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0\\0";

TEST(BarAway, TheMessengerSeesThePlayingTrackUntilItPausesTheButtonSwitchesItAndTheCloseEndsIt) {
    pointerAway();
    Setting msn(instellingen::kMSNPlugin, 1);
    Setting pattern(instellingen::kMSNIndeling, std::string("\\a: \\t [\\l, \\v, \\p]"));
    const std::string journal = tempFile("msn");
    Process sink(binFolder() / "msnsink.exe", "--journal \"" + journal + "\"");
    ASSERT_NE(sink.waitWindow("MsnMsgrUIManager"), nullptr);
    // Its strings lie right before unreadable memory: the titles are read up to there.
    DemoPlayer player("--play --volume 128 --title-near-noaccess");
    TunebalkRun run("msn", "");
    const HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    const auto lines = [&](std::size_t n) {
        waitUntil([&] { return readLines(journal).size() >= n; }, 10000);
        return readLines(journal);
    };
    const std::string first = shown("The Velvet Orchards: Paper Comets [3:07, 50%, 1/12]");
    EXPECT_EQ(lines(1), std::vector<std::string>{first}) << "published while the bar is away";

    ASSERT_TRUE(slideIn(bar));
    clickOnBar(bar, 2760 + 150, 1080 + 165);  // btnMSN
    EXPECT_EQ(lines(2).back(), kHidden);
    clickOnBar(bar, 2760 + 150, 1080 + 165);
    EXPECT_EQ(lines(3).back(), first);

    // Paused, the next title withdraws the line; playing again, the next one publishes.
    const auto command = [&](int id) { PostMessageA(player.hwnd(), WM_COMMAND, id, 0); };
    command(winamp::cmd::Pause);
    command(winamp::cmd::Next);
    EXPECT_EQ(lines(4).back(), kHidden);
    command(winamp::cmd::Play);
    command(winamp::cmd::Next);
    EXPECT_EQ(lines(5).back(), shown("Kilnworth: Copper Sundays [4:01, 50%, 3/12]"));

    ASSERT_TRUE(run.close());
    EXPECT_EQ(lines(6).back(), kHidden);
    EXPECT_EQ(lines(6).size(), 6u);
    sink.kill();
    DeleteFileA(journal.c_str());
}

}  // namespace
}  // namespace tb::e2e
