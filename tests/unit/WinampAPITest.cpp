#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimWinamp.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using model::PlayStatus;
using Kind = sim::MessageRecord::Kind;

// A message to the player as it left us: how, which, and the 32-bit views of its arguments.
struct Sent {
    Kind kind;
    std::uint32_t msg;
    std::int32_t w;
    std::int32_t l;
    friend bool operator==(const Sent&, const Sent&) = default;
};

std::ostream& operator<<(std::ostream& os, const Sent& s) {
    return os << "{" << static_cast<int>(s.kind) << ", " << s.msg << ", " << s.w << ", " << s.l
              << "}";
}

constexpr Kind Q = Kind::SendTimeout;
constexpr Kind P = Kind::Post;

class WinampAPITest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& m = winamp.model();
        m.setCurrent(2);
        m.setStatus(PlayStatus::Paused);
        m.setPositionMs(59500);
        m.setVolume(180);
        desk.clearMessageLog();
    }
    void TearDown() override {
        // Every process handle opened for a read was closed again, once.
        EXPECT_EQ(desk.openProcessHandleCount(), 0);
        EXPECT_EQ(desk.processes().badCloseCount(), 0);
    }

    std::vector<Sent> sentToPlayer() {
        std::vector<Sent> out;
        for (const auto& r : desk.messageLog())
            if (r.msg == winamp::kQueryMessage || r.msg == winamp::kCommandMessage)
                out.push_back({r.kind, r.msg, static_cast<std::int32_t>(r.w),
                               static_cast<std::int32_t>(r.l)});
        desk.clearMessageLog();
        return out;
    }

    sim::SimDesktop desk;
    sim::SimWinamp winamp{desk};
    WinampAPI api{desk};
    const std::vector<model::PlaylistEntry> sample = model::PlayerModel::samplePlaylist();
};

TEST_F(WinampAPITest, EveryQuerySendsItsIdAndDataAndReturnsTheReply) {
    const struct Row {
        const char* name;
        std::function<std::string()> call;
        std::string result;
        std::vector<Sent> sent;
    } rows[] = {
        {"WinampVersion", [&] { return api.WinampVersion(); }, "20592", {{Q, 1024, 0, 0}}},
        {"Status", [&] { return std::to_string(api.Status()); }, "3", {{Q, 1024, 0, 104}}},
        {"TrackTimePosition",
         [&] { return std::to_string(api.TrackTimePosition()); },
         "60",
         {{Q, 1024, 0, 105}}},
        {"TrackTimeTotal",
         [&] { return std::to_string(api.TrackTimeTotal()); },
         "241",
         {{Q, 1024, 1, 105}}},
        {"TrackTime",
         [&] { return api.TrackTime(); },
         "1:00 / 4:01",
         {{Q, 1024, 0, 105}, {Q, 1024, 1, 105}}},
        {"TrackTimePercent",
         [&] { return std::to_string(api.TrackTimePercent()); },
         "25",
         {{Q, 1024, 1, 105}, {Q, 1024, 0, 105}}},
        {"Volume", [&] { return std::to_string(api.Volume()); }, "180", {{Q, 1024, -666, 122}}},
        {"TrackNumber",
         [&] { return std::to_string(api.TrackNumber()); },
         "2",
         {{Q, 1024, 0, 125}}},
        {"TracksInPlaylist",
         [&] { return std::to_string(api.TracksInPlaylist()); },
         "12",
         {{Q, 1024, 0, 124}}},
        {"SongTitle",
         [&] { return api.SongTitle(); },
         sample[2].title,
         {{Q, 1024, 0, 125}, {Q, 1024, 2, 212}}},
        {"GetPlaylistTitle",
         [&] { return api.GetPlaylistTitle(11); },
         sample[11].title,
         {{Q, 1024, 11, 212}}},
        {"GetPlaylistFile",
         [&] { return api.GetPlaylistFile(4); },
         sample[4].file,
         {{Q, 1024, 4, 211}}},
        {"OtherUser",
         [&] { return std::to_string(api.OtherUser(winamp::ipc::GetShuffle)); },
         "0",
         {{Q, 1024, 0, 250}}},
        {"OtherUser with data",
         [&] { return std::to_string(api.OtherUser(121, 7)); },
         "0",
         {{Q, 1024, 7, 121}}},
        {"setVolume", [&] { return api.setVolume(99), std::string(); }, "", {{Q, 1024, 99, 122}}},
        {"setTrackTimePosition",
         [&] { return api.setTrackTimePosition(30), std::string(); },
         "",
         {{Q, 1024, 30000, 106}}},
        {"SetPlaylistPos",
         [&] { return api.SetPlaylistPos(5), std::string(); },
         "",
         {{Q, 1024, 5, 121}}},
        {"SetPlaylistPos and play",
         [&] { return api.SetPlaylistPos(6, true), std::string(); },
         "",
         {{Q, 1024, 6, 121}, {P, 273, 40045, 0}}},
        {"IsRunning", [&] { return std::to_string(api.IsRunning()); }, "1", {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.call(), row.result) << row.name;
        EXPECT_EQ(sentToPlayer(), row.sent) << row.name;
    }
    desk.advance(10);
    EXPECT_EQ(winamp.model().volume(), 99);
    EXPECT_EQ(winamp.model().current(), 6);
    EXPECT_EQ(winamp.model().status(), PlayStatus::Playing);
}

TEST_F(WinampAPITest, EveryCommandIsPostedWithItsIdAndReachesThePlayer) {
    const struct {
        std::function<void()> call;
        std::int32_t id;
    } rows[] = {
        {[&] { api.Previous(); }, 40044},    {[&] { api.Play(); }, 40045},
        {[&] { api.Pause(); }, 40046},       {[&] { api.Stop_(); }, 40047},
        {[&] { api.Next_(); }, 40048},       {[&] { api.VolumeUp(); }, 40058},
        {[&] { api.VolumeDown(); }, 40059},  {[&] { api.ToggleShuffle(); }, 40023},
        {[&] { api.FastForward(); }, 40148}, {[&] { api.Rewind(); }, 40144},
        {[&] { api.EndWinamp(); }, 40001},
    };
    for (const auto& row : rows) {
        winamp.model().clearJournal();
        row.call();
        EXPECT_EQ(sentToPlayer(), (std::vector<Sent>{{P, 273, row.id, 0}})) << row.id;
        desk.advance(10);
        ASSERT_EQ(winamp.model().journal().size(), 1u) << row.id;
        EXPECT_EQ(winamp.model().journal()[0].wParam, row.id);
    }
    EXPECT_FALSE(winamp.running());  // the last command closed it
}

TEST_F(WinampAPITest, OtherCommandPassesItsDataAndReportsThePost) {
    EXPECT_EQ(api.OtherCommand(winamp::cmd::ToggleRepeat, 7), 1);
    EXPECT_EQ(sentToPlayer(), (std::vector<Sent>{{P, 273, 40022, 7}}));
}

TEST_F(WinampAPITest, WithoutWinampQueriesAnswerZeroAndCommandsGoNowhereAtOnce) {
    winamp.kill();
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_FALSE(api.IsRunning());
    EXPECT_EQ(api.hWnd(), 0u);
    EXPECT_EQ(api.WinampVersion(), "0");
    EXPECT_EQ(api.Status(), 0);
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_EQ(api.TrackTimeTotal(), 0);
    EXPECT_EQ(api.TrackTimePosition(), 0);
    EXPECT_EQ(api.TrackTimePercent(), 0);
    EXPECT_EQ(api.TrackNumber(), 0);
    EXPECT_EQ(api.TracksInPlaylist(), 0);
    EXPECT_EQ(api.TrackTime(), "0:00");
    EXPECT_EQ(api.SongTitle(), "");
    EXPECT_EQ(api.GetPlaylistFile(0), "");
    EXPECT_EQ(api.OtherUser(0), 0);
    api.Play();
    api.EndWinamp();
    EXPECT_EQ(api.OtherCommand(winamp::cmd::Stop), 0);
    api.setVolume(10);
    api.SetPlaylistPos(1, true);
    EXPECT_TRUE(desk.messageLog().empty());
    EXPECT_EQ(desk.tickCountMs(), start);  // nothing waited
}

TEST_F(WinampAPITest, ARestartedWinampIsFoundByTheNextCallAndHwndKeepsTheLastLookup) {
    const Hwnd first = api.hWnd();
    EXPECT_EQ(first, winamp.hwnd());
    winamp.kill();
    EXPECT_EQ(api.hWnd(), first);  // stale until something looks again
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_EQ(api.hWnd(), 0u);

    const Hwnd second = winamp.start();
    EXPECT_NE(second, first);
    EXPECT_EQ(api.Volume(), 180);
    EXPECT_EQ(api.hWnd(), second);
}

TEST_F(WinampAPITest, CreatingTheClientLooksUpOnce) {
    WinampAPI fresh(desk);
    EXPECT_EQ(fresh.hWnd(), winamp.hwnd());
    EXPECT_TRUE(desk.messageLog().empty());
}

TEST_F(WinampAPITest, TrackTimeWritesPositionAndLengthRoundedHalfToEven) {
    const struct {
        std::int64_t positionMs;
        std::int32_t length;
        std::string text;
    } cases[] = {
        {187000, 295, "3:07 / 4:55"},
        {59500, 60, "1:00 / 1:00"},
        {65000, -1, "1:05"},
        {65000, 0, "1:05"},
        {2500, 10, "0:02 / 0:10"},
        {3500, 10, "0:04 / 0:10"},
        {600000, 3600, "10:00 / 60:00"},
        {0, 5, "0:00 / 0:05"},
    };
    for (const auto& c : cases) {
        winamp.model().setPlaylist({{"A - a", "a", c.length}});
        winamp.model().setStatus(PlayStatus::Paused);
        winamp.model().setPositionMs(c.positionMs);
        EXPECT_EQ(api.TrackTime(), c.text) << c.positionMs << " " << c.length;
    }
    winamp.model().setStatus(PlayStatus::Stopped);  // the player answers -1 for both
    EXPECT_EQ(api.TrackTime(), "0:00");
}

TEST_F(WinampAPITest, PositionSecondsRoundHalfToEvenAndPercentFollowsTheLength) {
    const struct {
        std::int32_t ms;
        std::int32_t seconds;
    } cases[] = {{2500, 2}, {3500, 4}, {59500, 60}, {499, 0}, {500, 0}, {1500, 2}, {-1, 0}};
    for (const auto& c : cases) {
        winamp.model().forceReply(winamp::ipc::GetOutputTime, c.ms);
        EXPECT_EQ(api.TrackTimePosition(), c.seconds) << c.ms;
    }
    winamp.model().clearForcedReplies();
    const struct {
        std::int64_t positionMs;
        std::int32_t length;
        std::int32_t percent;
    } percents[] = {{59500, 241, 25}, {1500, 3, 50}, {500, 1, 50}, {10000, 0, 0}, {10000, -1, 0}};
    for (const auto& c : percents) {
        winamp.model().setPlaylist({{"A - a", "a", c.length}});
        winamp.model().setStatus(PlayStatus::Paused);
        winamp.model().setPositionMs(c.positionMs);
        EXPECT_EQ(api.TrackTimePercent(), c.percent) << c.positionMs << " " << c.length;
    }
}

TEST_F(WinampAPITest, JumpTargetIsSecondsTimesThousandClampedToThirtyTwoBits) {
    const struct {
        std::int32_t seconds;
        std::int32_t sentMs;
    } cases[] = {{30, 30000},           {0, 0},      {2147483, 2147483000},
                 {2147484, 2147483647}, {-5, -5000}, {-2147484, -2147483647 - 1}};
    for (const auto& c : cases) {
        api.setTrackTimePosition(c.seconds);
        EXPECT_EQ(sentToPlayer(), (std::vector<Sent>{{Q, 1024, c.sentMs, 106}})) << c.seconds;
    }
}

}  // namespace
}  // namespace tb
