// WinampAPI through the real window system against demoplayer.exe, a separate process: every
// query and command as the player's journal records it, a player that restarts, long titles,
// and a player that hangs.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "E2eTools.h"
#include "platform/win32/Win32Desktop.h"
#include "standin/PlayerModel.h"
#include "standin/StandinMessages.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace tb::e2e {
namespace {

const std::vector<model::PlaylistEntry> kSample = model::PlayerModel::samplePlaylist();

std::string str(std::int64_t n) { return std::to_string(n); }

// Queries are sent as 1024 (WM_USER), commands posted as 273 (WM_COMMAND). A reply of * stands
// for any reply (an address in the player).
TEST(WinampClientE2E, EveryQueryAndCommandReachesThePlayerAsItsJournalShows) {
    DemoPlayer player("--current 2 --play --pause --position-ms 59500 --volume 180");
    ASSERT_NE(player.hwnd(), nullptr);
    win32::Win32Desktop desktop;
    WinampAPI api(desktop);
    EXPECT_EQ(reinterpret_cast<HWND>(api.hWnd()), player.hwnd());

    const struct {
        std::function<std::string()> call;
        std::string result;
        std::vector<std::string> journal;
    } rows[] = {
        {[&] { return api.WinampVersion(); }, "20592", {"1024 0 0 20592"}},
        {[&] { return str(api.Status()); }, "3", {"1024 0 104 3"}},
        {[&] { return str(api.TrackTimePosition()); }, "60", {"1024 0 105 59500"}},
        {[&] { return str(api.TrackTimeTotal()); }, "241", {"1024 1 105 241"}},
        {[&] { return api.TrackTime(); }, "1:00 / 4:01", {"1024 0 105 59500", "1024 1 105 241"}},
        {[&] { return str(api.TrackTimePercent()); }, "25", {"1024 1 105 241", "1024 0 105 59500"}},
        {[&] { return str(api.Volume()); }, "180", {"1024 -666 122 180"}},
        {[&] { return str(api.TrackNumber()); }, "2", {"1024 0 125 2"}},
        {[&] { return str(api.TracksInPlaylist()); }, "12", {"1024 0 124 12"}},
        {[&] { return api.SongTitle(); }, kSample[2].title, {"1024 0 125 2", "1024 2 212 *"}},
        {[&] { return api.GetPlaylistTitle(11); }, kSample[11].title, {"1024 11 212 *"}},
        {[&] { return api.GetPlaylistFile(2); }, kSample[2].file, {"1024 2 211 *"}},
        {[&] { return str(api.OtherUser(standin::ipc::GetShuffle)); }, "0", {"1024 0 250 0"}},
        {[&] { return api.setVolume(99), ""; }, "", {"1024 99 122 0"}},
        {[&] { return str(api.Volume()); }, "99", {"1024 -666 122 99"}},
        {[&] { return api.setTrackTimePosition(30), ""; }, "", {"1024 30000 106 0"}},
        {[&] { return str(api.TrackTimePosition()); }, "30", {"1024 0 105 30000"}},
        {[&] { return api.SetPlaylistPos(5), ""; }, "", {"1024 5 121 0"}},
        {[&] { return str(api.TrackNumber()); }, "5", {"1024 0 125 5"}},
        {[&] { return str(api.IsRunning()); }, "1", {}},
        {[&] { return api.Previous(), ""; }, "", {"273 40044 0 0"}},
        {[&] { return api.Play(), ""; }, "", {"273 40045 0 0"}},
        {[&] { return api.Pause(), ""; }, "", {"273 40046 0 0"}},
        {[&] { return api.Stop_(), ""; }, "", {"273 40047 0 0"}},
        {[&] { return api.Next_(), ""; }, "", {"273 40048 0 0"}},
        {[&] { return api.VolumeUp(), ""; }, "", {"273 40058 0 0"}},
        {[&] { return api.VolumeDown(), ""; }, "", {"273 40059 0 0"}},
        {[&] { return api.ToggleShuffle(), ""; }, "", {"273 40023 0 0"}},
        {[&] { return api.FastForward(), ""; }, "", {"273 40148 0 0"}},
        {[&] { return api.Rewind(), ""; }, "", {"273 40144 0 0"}},
        {[&] { return str(api.OtherCommand(standin::cmd::ToggleRepeat, 7) != 0); },
         "1",
         {"273 40022 7 0"}},
        {[&] { return api.SetPlaylistPos(3, true), ""; }, "", {"1024 3 121 0", "273 40045 0 0"}},
        {[&] { return api.EndWinamp(), ""; }, "", {"273 40001 0 0"}},
    };
    for (std::size_t n = 0; n < std::size(rows); ++n) {
        SCOPED_TRACE("row " + std::to_string(n));
        const auto& row = rows[n];
        const std::size_t before = player.journal().size();
        EXPECT_EQ(row.call(), row.result);
        // A query's line is written before it returns; a posted command's, a moment later.
        waitUntil([&] { return player.journal().size() >= before + row.journal.size(); }, 10000);
        std::vector<std::string> got = player.journal();
        got.erase(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(before));
        for (std::size_t i = 0; i < got.size() && i < row.journal.size(); ++i)
            if (row.journal[i].back() == '*') got[i] = got[i].substr(0, got[i].rfind(' ')) + " *";
        EXPECT_EQ(got, row.journal);
    }
    EXPECT_TRUE(player.waitExit(10000)) << "the end command closes the player";
}

TEST(WinampClientE2E, APlayerRestartedBetweenTwoCallsIsFoundAgain) {
    win32::Win32Desktop desktop;
    std::optional<DemoPlayer> first(std::in_place, "--volume 10");
    ASSERT_NE(first->hwnd(), nullptr);
    WinampAPI api(desktop);
    EXPECT_EQ(api.Volume(), 10);
    first.reset();

    DemoPlayer second("--volume 20");
    ASSERT_NE(second.hwnd(), nullptr);
    EXPECT_EQ(api.Volume(), 20);
    EXPECT_EQ(reinterpret_cast<HWND>(api.hWnd()), second.hwnd());
}

TEST(WinampClientE2E, TitlesComeBackWholeUpTo1023BytesAlsoRightBeforeUnreadableMemory) {
    const struct {
        const char* args;
        std::size_t size;
        std::string start;
    } cases[] = {
        {"--title-length 1023", 1023, kSample[0].title},
        {"--title-length 1500", 1023, kSample[0].title},
        {"--title-near-noaccess --current 1", kSample[1].title.size(), kSample[1].title},
    };
    win32::Win32Desktop desktop;
    for (const auto& c : cases) {
        DemoPlayer player(c.args);
        ASSERT_NE(player.hwnd(), nullptr) << c.args;
        WinampAPI api(desktop);
        const std::string title = api.SongTitle();
        EXPECT_EQ(title.size(), c.size) << c.args;
        EXPECT_EQ(title.rfind(c.start, 0), 0u) << c.args;
    }
}

TEST(WinampClientE2E, AHungPlayerDoesNotFreezeTheCallersEvents) {
    DemoPlayer player("--play --volume 200");
    ASSERT_NE(player.hwnd(), nullptr);
    win32::Win32Desktop desktop;
    WinampAPI api(desktop);
    std::vector<std::uint64_t> ticks;
    const TimerId timer = desktop.startTimer(100, [&] { ticks.push_back(desktop.tickCountMs()); });

    const DWORD hangMs = 4000;
    ASSERT_TRUE(PostMessageA(player.hwnd(), WM_USER, hangMs, standin::ipc::HangForMs));
    desktop.waitEventsUntil(desktop.tickCountMs() + 300);

    // One synchronisation a second, as the bar makes them, until the player answers again.
    const std::uint64_t start = desktop.tickCountMs();
    std::int32_t firstVolume = -1, lastVolume = -1;
    while (desktop.tickCountMs() - start < 20000) {
        const std::uint64_t t0 = desktop.tickCountMs();
        api.IsRunning();
        api.TrackTime();
        api.TrackTimeTotal();
        api.TrackTimePosition();
        lastVolume = api.Volume();
        api.SongTitle();
        if (firstVolume < 0) firstVolume = lastVolume;
        if (lastVolume == 200 && desktop.tickCountMs() - start > hangMs) break;
        desktop.waitEventsUntil(t0 + 1000);
    }
    desktop.stopTimer(timer);

    EXPECT_EQ(firstVolume, 0) << "hung: answered as if no player ran";
    EXPECT_EQ(lastVolume, 200) << "and found answering again afterwards";
    std::uint64_t longestGap = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
    EXPECT_LE(longestGap, 1000u) << "longest gap between 100-ms ticks";
    EXPECT_GT(ticks.size(), 10u);
}

}  // namespace
}  // namespace tb::e2e
