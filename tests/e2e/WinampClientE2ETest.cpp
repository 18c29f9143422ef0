// WinampAPI through the real window system against demoplayer.exe, a separate process: each
// way a call crosses (a query, a posted command, a string read from the player's memory) as
// the player's journal records it, and a player that restarts. Every member's message is
// pinned by the simulation's tests; here only the crossing is.
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

namespace tb::e2e {
namespace {

// Queries are sent as 1024 (WM_USER), commands posted as 273 (WM_COMMAND). A reply of * stands
// for any reply (an address in the player). Every string lies right before unreadable memory.
TEST(WinampClientE2E, CallsCrossToThePlayerAndARestartedPlayerIsFoundAgain) {
    const auto sample = model::PlayerModel::samplePlaylist();
    std::optional<DemoPlayer> player(std::in_place,
                                     "--current 2 --play --pause --position-ms 59500 --volume 180 "
                                     "--title-length 1500 --title-near-noaccess");
    ASSERT_NE(player->hwnd(), nullptr);
    win32::Win32Desktop desktop;
    WinampAPI api(desktop);
    const auto text = [](std::int64_t n) { return std::to_string(n); };
    const struct {
        std::function<std::string()> call;
        std::string result;
        std::vector<std::string> journal;
    } rows[] = {
        {[&] { return api.TrackTime(); }, "1:00 / 4:01", {"1024 0 105 59500", "1024 1 105 241"}},
        {[&] { return text(api.Volume()); }, "180", {"1024 -666 122 180"}},
        {[&] { return api.SongTitle(); }, sample[2].title, {"1024 0 125 2", "1024 2 212 *"}},
        {[&] { return api.GetPlaylistFile(2); }, sample[2].file, {"1024 2 211 *"}},
        {[&] {  // 1023 bytes of the 1500 there are, without a zero among them
             const std::string t = api.GetPlaylistTitle(0);
             return t.size() == 1023 ? t.substr(0, sample[0].title.size()) : t;
         },
         sample[0].title,
         {"1024 0 212 *"}},
        {[&] { return api.setVolume(99), text(api.Volume()); },
         "99",
         {"1024 99 122 0", "1024 -666 122 99"}},
        {[&] { return api.setTrackTimePosition(30), ""; }, "", {"1024 30000 106 0"}},
        {[&] { return text(api.OtherCommand(standin::cmd::ToggleRepeat, 7) != 0); },
         "1",
         {"273 40022 7 0"}},
        {[&] { return api.SetPlaylistPos(3, true), ""; }, "", {"1024 3 121 0", "273 40045 0 0"}},
        {[&] { return api.EndWinamp(), ""; }, "", {"273 40001 0 0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows));
        const std::size_t before = player->journal().size();
        EXPECT_EQ(row.call(), row.result);
        // A query's line is written before it returns; a posted command's, a moment later.
        waitUntil([&] { return player->journal().size() >= before + row.journal.size(); }, 10000);
        std::vector<std::string> got = player->journal();
        got.erase(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(before));
        for (std::size_t i = 0; i < got.size() && i < row.journal.size(); ++i)
            if (row.journal[i].back() == '*') got[i] = got[i].substr(0, got[i].rfind(' ')) + " *";
        EXPECT_EQ(got, row.journal);
    }
    EXPECT_TRUE(player->waitExit(10000)) << "the end command closes the player";
    player.reset();

    DemoPlayer second("--volume 20");
    ASSERT_NE(second.hwnd(), nullptr);
    EXPECT_EQ(api.Volume(), 20);
    EXPECT_EQ(reinterpret_cast<HWND>(api.hWnd()), second.hwnd());
}

}  // namespace
}  // namespace tb::e2e
