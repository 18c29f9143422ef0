// WinampAPI against a player that misbehaves: odd replies, unreadable memory, a window that
// vanishes mid-call, a player that hangs, and numbers beyond 16 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "platform/sim/SimWinamp.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using model::PlayStatus;
namespace ipc = winamp::ipc;

// A desktop on which the player can die right after being looked up.
class VanishingDesktop : public sim::SimDesktop {
public:
    Hwnd findWindow(std::string_view className) override {
        Hwnd found = SimDesktop::findWindow(className);
        if (found && afterLookup) std::exchange(afterLookup, nullptr)();
        return found;
    }
    std::function<void()> afterLookup;
};

class WinampAPIFaultTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(desk.openProcessHandleCount(), 0);
        EXPECT_EQ(desk.processes().badCloseCount(), 0);
    }
    int sendsToPlayer() {
        return static_cast<int>(std::count_if(
            desk.messageLog().begin(), desk.messageLog().end(),
            [](const auto& r) { return r.kind == sim::MessageRecord::Kind::SendTimeout; }));
    }
    // The queries of one synchronisation of the bar.
    void synchronise() {
        api.IsRunning();
        api.TrackTime();
        api.TrackTimeTotal();
        api.TrackTimePosition();
        api.Volume();
        api.SongTitle();
    }

    VanishingDesktop desk;
    sim::SimWinamp winamp{desk};
    WinampAPI api{desk};
};

// ---- Reading strings ------------------------------------------------------------------------

TEST_F(WinampAPIFaultTest, TitlesAreCutBeforeTheFirstZeroAndNeverExceed1023Bytes) {
    const struct {
        std::size_t length;
        std::size_t expected;
    } cases[] = {{0, 0}, {1, 1}, {1022, 1022}, {1023, 1023}, {1024, 1023}, {5000, 1023}};
    for (const auto& c : cases) {
        std::string title(c.length, 'x');
        for (std::size_t i = 0; i < title.size(); ++i) title[i] = static_cast<char>('a' + i % 26);
        winamp.model().setPlaylist({{title, "f", 100}});
        EXPECT_EQ(api.SongTitle(), title.substr(0, c.expected)) << c.length;
    }
}

TEST_F(WinampAPIFaultTest, TextRightBeforeUnreadableMemoryIsStillRead) {
    winamp.setStringsBeforeUnreadable(true);
    const auto sample = model::PlayerModel::samplePlaylist();
    EXPECT_EQ(api.SongTitle(), sample[0].title);
    EXPECT_EQ(api.GetPlaylistFile(3), sample[3].file);

    // Without any zero byte before the unreadable page: the readable bytes, at most 1023.
    const struct {
        std::size_t bytes;
        std::size_t expected;
    } cases[] = {{1, 1}, {100, 100}, {4095, 1023}, {5000, 1023}};
    for (const auto& c : cases) {
        std::uint64_t at = winamp.placeBeforeUnreadable(std::string(c.bytes, 'q'));
        winamp.model().forceReply(ipc::GetPlaylistTitle, static_cast<LResult>(at));
        EXPECT_EQ(api.GetPlaylistTitle(0), std::string(c.expected, 'q')) << c.bytes;
    }
}

TEST_F(WinampAPIFaultTest, AnyAddressReplyGivesTextOrEmptyAndNeverFails) {
    using Limits = std::numeric_limits<std::int32_t>;
    const std::uint64_t good = winamp.placeBeforeUnreadable(std::string("Good - Title\0", 13));
    const struct {
        const char* name;
        LResult reply;
        std::string text;
    } cases[] = {
        {"zero", 0, ""},
        {"minus one", -1, ""},
        {"most negative", Limits::min(), ""},
        {"largest, unmapped", Limits::max(), ""},
        {"unmapped low", 0x1000, ""},
        {"the unreadable page", static_cast<LResult>(sim::SimWinamp::kUnreadablePage), ""},
        {"valid", static_cast<LResult>(good), "Good - Title"},
        // Only the low 32 bits of a reply count: the player is a 32-bit program.
        {"valid with high bits", static_cast<LResult>((1ull << 32) | good), "Good - Title"},
        {"negative in 32 bits", static_cast<LResult>(0x80001000u), ""},
    };
    for (const auto& c : cases) {
        winamp.model().forceReply(ipc::GetPlaylistTitle, c.reply);
        EXPECT_EQ(api.GetPlaylistTitle(0), c.text) << c.name;
    }
}

TEST_F(WinampAPIFaultTest, AProcessThatCannotBeOpenedGivesEmptyText) {
    desk.processes().setOpenDenied(winamp.pid(), true);
    EXPECT_EQ(api.SongTitle(), "");
}

TEST_F(WinampAPIFaultTest, APlayerThatDiesBetweenReplyAndReadGivesEmptyText) {
    struct KillOnTitle : MessageHook {
        sim::SimWinamp* player;
        std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t, WParam, LParam l) override {
            if (l == ipc::GetPlaylistTitle) {
                player->kill();
                return 0x01000000;
            }
            return std::nullopt;
        }
    } hook;
    hook.player = &winamp;
    {
        auto as = desk.actAs(winamp.pid());
        ASSERT_TRUE(desk.setMessageHook(winamp.hwnd(), &hook));
    }
    EXPECT_EQ(api.SongTitle(), "");
}

TEST_F(WinampAPIFaultTest, GarbageCountsAndPositionsPassThroughAsThirtyTwoBitNumbers) {
    const struct {
        std::int32_t id;
        LResult reply;
        std::int32_t expected;
    } cases[] = {
        {ipc::GetListLength, -1, -1},
        {ipc::GetListLength, 0x7FFFFFFF, 0x7FFFFFFF},
        {ipc::GetListPos, 0x1234500000005LL, 5},
        {ipc::IsPlaying, 0xFFFFFFFFLL, -1},
        {ipc::SetVolume, 100000, 100000},
    };
    for (const auto& c : cases) {
        winamp.model().clearForcedReplies();
        winamp.model().forceReply(c.id, c.reply);
        EXPECT_EQ(api.OtherUser(c.id, c.id == ipc::SetVolume ? -666 : 0), c.expected) << c.id;
    }
    winamp.model().clearForcedReplies();
    winamp.model().forceReply(ipc::GetOutputTime, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(api.TrackTimePosition(), -2147484);
    EXPECT_EQ(api.TrackTime(), "0:00");  // a negative time shows as nothing played
    winamp.model().forceReply(ipc::GetListPos, -7);
    EXPECT_EQ(api.SongTitle(), "");  // the player has no entry -7
}

// ---- Numbers beyond 16 bits -----------------------------------------------------------------

TEST_F(WinampAPIFaultTest, LongTracksAndLongPlaylistsDoNotOverflow) {
    std::vector<model::PlaylistEntry> entries;
    for (int i = 0; i < 40000; ++i)
        entries.push_back({"Artist - Song " + std::to_string(i), "f", 40000});
    winamp.model().setPlaylist(std::move(entries));
    winamp.model().setCurrent(39999);
    winamp.model().setStatus(PlayStatus::Paused);
    winamp.model().setPositionMs(39999500);

    EXPECT_EQ(api.TracksInPlaylist(), 40000);
    EXPECT_EQ(api.TrackNumber(), 39999);
    EXPECT_EQ(api.SongTitle(), "Artist - Song 39999");
    EXPECT_EQ(api.TrackTimePosition(), 40000);
    EXPECT_EQ(api.TrackTimeTotal(), 40000);
    EXPECT_EQ(api.TrackTime(), "666:40 / 666:40");
    EXPECT_EQ(api.TrackTimePercent(), 100);
}

// ---- A window that vanishes; the wait after a failed post ------------------------------------

TEST_F(WinampAPIFaultTest, AWindowThatVanishesBeforeAQueryAnswersZeroWithoutWaiting) {
    desk.afterLookup = [&] { winamp.kill(); };
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_EQ(desk.tickCountMs(), start);
    // A vanished window is not held against a player started afterwards.
    winamp.start();
    EXPECT_EQ(api.Volume(), winamp.model().volume());
}

TEST_F(WinampAPIFaultTest, AFailedPostWaitsTenSecondsWhileEventsRun) {
    std::vector<std::uint64_t> ticks;
    desk.startTimer(100, [&] { ticks.push_back(desk.tickCountMs()); });
    desk.afterLookup = [&] { winamp.kill(); };
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_EQ(api.OtherCommand(winamp::cmd::Play), 0);
    // Waited on the monotonic clock (the simulation would refuse a spinning wait), with the
    // program's timers running all along.
    EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kFailedPostWaitMs);
    EXPECT_GE(ticks.size(), 99u);
    // Posted nothing, and not again.
    EXPECT_EQ(desk.pendingPostCount(), 0u);
}

TEST_F(WinampAPIFaultTest, TheWaitAfterAFailedPostIgnoresMidnight) {
    for (int second : {86395, 86399, 0, 5}) {
        desk.setLocalTime({2024, 12, 31, second / 3600, second / 60 % 60, second % 60});
        desk.setPostQueueLimit(winamp.pid(), 0);  // the player's queue is full
        const std::uint64_t start = desk.tickCountMs();
        api.Play();
        EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kFailedPostWaitMs) << second;
    }
}

TEST_F(WinampAPIFaultTest, CallsDuringTheWaitAfterAFailedPostWorkNormally) {
    desk.setPostQueueLimit(winamp.pid(), 0);
    std::vector<std::int32_t> volumes;
    desk.startTimer(1000, [&] { volumes.push_back(api.Volume()); });
    api.Next_();
    EXPECT_EQ(volumes.size(), 10u);
    EXPECT_TRUE(std::all_of(volumes.begin(), volumes.end(), [&](auto v) { return v == 200; }));
}

// ---- A player that hangs --------------------------------------------------------------------

TEST_F(WinampAPIFaultTest, AHungPlayerCostsTheBarAtMostOneTimeoutPerBackOff) {
    std::vector<std::uint64_t> ticks;
    desk.startTimer(100, [&] { ticks.push_back(desk.tickCountMs()); });
    desk.startTimer(1000, [&] { synchronise(); });
    desk.advance(2000);
    winamp.hangFor(20000);
    desk.advance(30000);

    std::uint64_t longestGap = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
    EXPECT_LE(longestGap, WinampAPI::kReplyTimeoutMs + 100);
    EXPECT_GE(ticks.size(), 250u);
}

TEST_F(WinampAPIFaultTest, AHungPlayerAnswersAsIfNotRunningAndIsAskedAgainAfterTheBackOff) {
    winamp.hangFor(60000);
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kReplyTimeoutMs);
    EXPECT_FALSE(api.IsAnswering());
    EXPECT_TRUE(api.IsRunning());  // it still runs; it just does not answer

    desk.clearMessageLog();
    synchronise();  // seven queries, none sent, none waiting
    EXPECT_EQ(api.TrackTime(), "0:00");
    EXPECT_EQ(api.SongTitle(), "");
    EXPECT_EQ(sendsToPlayer(), 0);
    EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kReplyTimeoutMs);

    winamp.hangFor(0);  // answers again
    desk.advance(WinampAPI::kBackOffMs);
    EXPECT_TRUE(api.IsAnswering());
    EXPECT_EQ(api.Volume(), 200);
}

TEST_F(WinampAPIFaultTest, CommandsStillReachAHungPlayerWithoutWaiting) {
    winamp.hangFor(5000);
    api.Volume();  // times out
    const std::uint64_t start = desk.tickCountMs();
    api.Stop_();
    api.Play();
    EXPECT_EQ(desk.tickCountMs(), start);
    desk.advance(5000);
    EXPECT_EQ(winamp.model().status(), PlayStatus::Playing);
}

TEST_F(WinampAPIFaultTest, ANewPlayerWindowIsNotHeldToTheOldOnesBackOff) {
    winamp.hangFor(60000);
    api.Status();
    winamp.kill();
    winamp.start();
    EXPECT_EQ(api.Volume(), 200);
}

TEST_F(WinampAPIFaultTest, ThePlayersHangRequestIsAnsweredFirst) {
    EXPECT_EQ(api.OtherUser(winamp::standin::HangForMs, 2000), 1);
    EXPECT_EQ(api.Status(), 0);
    EXPECT_FALSE(api.IsAnswering());
    desk.advance(WinampAPI::kBackOffMs);
    EXPECT_EQ(api.WinampVersion(), "20592");
}

}  // namespace
}  // namespace tb
