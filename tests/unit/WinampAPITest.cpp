// WinampAPI against the stand-in player in the simulation: what each member sends and answers,
// and a player that is missing, restarts, misbehaves or hangs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimWinamp.h"
#include "support/ControlTestHost.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using model::PlayStatus;
using Call = std::function<std::string()>;
using Strings = std::vector<std::string>;
namespace ipc = winamp::ipc;

// A message to the player as "<how><wParam>,<lParam>" in their 32-bit views: q a query sent
// with a bounded wait, c a posted command, ? anything else.
std::string text(char how, std::int64_t w, std::int64_t l) {
    return how + std::to_string(static_cast<std::int32_t>(w)) + "," +
           std::to_string(static_cast<std::int32_t>(l));
}
std::string q(std::int32_t data, std::int32_t id) { return text('q', data, id); }
std::string c(std::int32_t id, std::int32_t data = 0) { return text('c', id, data); }

class WinampAPITest : public ::testing::Test {
protected:
    void SetUp() override {
        winamp.model().setCurrent(2);  // 241 s long
        winamp.model().setStatus(PlayStatus::Paused);
        winamp.model().setPositionMs(59500);
        winamp.model().setVolume(180);
        desk.clearMessageLog();
    }
    void TearDown() override {
        // Every process handle opened for a read was closed again, once.
        EXPECT_EQ(desk.openProcessHandleCount(), 0);
        EXPECT_EQ(desk.processes().badCloseCount(), 0);
    }
    Strings sentToPlayer() {
        using Kind = sim::MessageRecord::Kind;
        Strings out;
        for (const auto& r : desk.messageLog()) {
            const bool query = r.kind == Kind::SendTimeout && r.msg == winamp::kQueryMessage;
            const bool command = r.kind == Kind::Post && r.msg == winamp::kCommandMessage;
            out.push_back(text(query ? 'q' : command ? 'c' : '?', r.w, r.l));
        }
        desk.clearMessageLog();
        return out;
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
    Call num(std::int32_t (WinampAPI::*f)()) {
        return [this, f] { return std::to_string((api.*f)()); };
    }
    Call str(std::string (WinampAPI::*f)()) {
        return [this, f] { return (api.*f)(); };
    }
    Call run(std::function<void()> f) {
        return [f] { return f(), std::string(); };
    }
    std::function<void()> force(std::int32_t id, LResult reply) {
        return [this, id, reply] { winamp.model().forceReply(id, reply); };
    }

    test::TestDesktop desk;
    sim::SimWinamp winamp{desk};
    WinampAPI api{desk};
    const std::vector<model::PlaylistEntry> sample = model::PlayerModel::samplePlaylist();
};

TEST_F(WinampAPITest, EveryMemberSendsItsMessageAndWithoutWinampAnswersZeroAtOnce) {
    // What the call returns, sends, and returns without Winamp.
    const std::tuple<Call, std::string, Strings, std::string> rows[] = {
        {str(&WinampAPI::WinampVersion), "20592", {q(0, 0)}, "0"},
        {num(&WinampAPI::Status), "3", {q(0, 104)}, "0"},
        {num(&WinampAPI::TrackTimePosition), "60", {q(0, 105)}, "0"},
        {num(&WinampAPI::TrackTimeTotal), "241", {q(1, 105)}, "0"},
        {str(&WinampAPI::TrackTime), "1:00 / 4:01", {q(0, 105), q(1, 105)}, "0:00"},
        {num(&WinampAPI::TrackTimePercent), "25", {q(1, 105), q(0, 105)}, "0"},
        {num(&WinampAPI::Volume), "180", {q(-666, 122)}, "0"},
        {num(&WinampAPI::TrackNumber), "2", {q(0, 125)}, "0"},
        {num(&WinampAPI::TracksInPlaylist), "12", {q(0, 124)}, "0"},
        {str(&WinampAPI::SongTitle), sample[2].title, {q(0, 125), q(2, 212)}, ""},
        {[&] { return api.GetPlaylistTitle(11); }, sample[11].title, {q(11, 212)}, ""},
        {[&] { return api.GetPlaylistFile(4); }, sample[4].file, {q(4, 211)}, ""},
        {[&] { return std::to_string(api.OtherUser(250, 7)); }, "0", {q(7, 250)}, "0"},
        {[&] { return std::to_string(api.IsRunning()); }, "1", {}, "0"},
        {run([&] { api.setVolume(99); }), "", {q(99, 122)}, ""},
        {run([&] { api.setTrackTimePosition(30); }), "", {q(30000, 106)}, ""},
        {run([&] { api.SetPlaylistPos(5); }), "", {q(5, 121)}, ""},
        {run([&] { api.SetPlaylistPos(6, true); }), "", {q(6, 121), c(40045)}, ""},
        {run([&] { api.Previous(); }), "", {c(40044)}, ""},
        {run([&] { api.Play(); }), "", {c(40045)}, ""},
        {run([&] { api.Pause(); }), "", {c(40046)}, ""},
        {run([&] { api.Stop_(); }), "", {c(40047)}, ""},
        {run([&] { api.Next_(); }), "", {c(40048)}, ""},
        {run([&] { api.VolumeUp(); }), "", {c(40058)}, ""},
        {run([&] { api.VolumeDown(); }), "", {c(40059)}, ""},
        {run([&] { api.ToggleShuffle(); }), "", {c(40023)}, ""},
        {run([&] { api.FastForward(); }), "", {c(40148)}, ""},
        {run([&] { api.Rewind(); }), "", {c(40144)}, ""},
        {[&] { return std::to_string(api.OtherCommand(40022, 7)); }, "1", {c(40022, 7)}, "0"},
        {run([&] { api.EndWinamp(); }), "", {c(40001)}, ""},
    };
    Strings expected;
    for (const auto& [call, result, sent, withoutWinamp] : rows) {
        EXPECT_EQ(call(), result);
        EXPECT_EQ(sentToPlayer(), sent) << result;
        desk.advance(10);  // the posts reach the player
        expected.insert(expected.end(), sent.begin(), sent.end());
    }
    Strings journal;
    for (const auto& e : winamp.model().journal())
        journal.push_back(text(e.msg == winamp::kQueryMessage ? 'q' : 'c', e.wParam, e.lParam));
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(winamp.running()) << "EndWinamp closed it";

    desk.clearMessageLog();
    const std::uint64_t start = desk.tickCountMs();
    for (const auto& [call, result, sent, withoutWinamp] : rows)
        EXPECT_EQ(call(), withoutWinamp) << result;
    EXPECT_TRUE(desk.messageLog().empty());
    EXPECT_EQ(desk.tickCountMs(), start);  // nothing waited
}

TEST_F(WinampAPITest, ARestartedWinampIsFoundByTheNextCallAndHwndIsStaleUntilALookup) {
    const Hwnd first = api.hWnd();  // looked up when the client was made
    EXPECT_EQ(first, winamp.hwnd());
    winamp.kill();
    EXPECT_EQ(api.hWnd(), first);
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_EQ(api.hWnd(), 0u);
    const Hwnd second = winamp.start();
    EXPECT_EQ(api.Volume(), 180);
    EXPECT_TRUE(api.hWnd() == second && second != first);
}

TEST_F(WinampAPITest, TimesRoundHalfToEvenAndThePercentFollowsTheLength) {
    // Position in ms and length in s; the position in s, the time text and the percentage.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, const char*, std::int32_t> cases[] =
        {{2500, 10, 2, "0:02 / 0:10", 25},
         {3500, 10, 4, "0:04 / 0:10", 35},
         {1500, 3, 2, "0:02 / 0:03", 50},
         {500, 1, 0, "0:00 / 0:01", 50},
         {65000, -1, 65, "1:05", 0},
         {65000, 0, 65, "1:05", 0},
         {600000, 3600, 600, "10:00 / 60:00", 17},
         {39999500, 40000, 40000, "666:40 / 666:40", 100}};  // past 16 bits
    for (const auto& [positionMs, length, seconds, text, percent] : cases) {
        winamp.model().setPlaylist({{"A - a", "a", length}});
        winamp.model().setStatus(PlayStatus::Paused);
        winamp.model().setPositionMs(positionMs);
        EXPECT_EQ(std::tuple(api.TrackTimePosition(), api.TrackTime(), api.TrackTimePercent()),
                  std::tuple(seconds, std::string(text), percent));
    }
    winamp.model().setStatus(PlayStatus::Stopped);  // the player answers -1 for both
    EXPECT_EQ(api.TrackTime(), "0:00");
    // Jump targets are clamped to the 32-bit milliseconds the message carries.
    desk.clearMessageLog();
    for (std::int32_t seconds : {2147484, -2147484}) api.setTrackTimePosition(seconds);
    EXPECT_EQ(sentToPlayer(), (Strings{q(INT32_MAX, 106), q(INT32_MIN, 106)}));
}

TEST_F(WinampAPITest, TitlesComeBackWholeUpTo1023BytesAlsoRightBeforeUnreadableMemory) {
    for (std::size_t length : {0, 1, 1022, 1023, 1024, 5000}) {
        std::string title(length, 'x');
        for (std::size_t i = 0; i < length; ++i) title[i] = static_cast<char>('a' + i % 26);
        winamp.model().setPlaylist({{title, "f", 100}});
        EXPECT_EQ(api.SongTitle(), title.substr(0, 1023)) << length;
    }
    winamp.setStringsBeforeUnreadable(true);
    winamp.model().setPlaylist(sample);
    EXPECT_EQ(api.GetPlaylistFile(3), sample[3].file);
    // Without a zero byte before the unreadable page: the readable bytes, at most 1023.
    for (std::size_t bytes : {1, 100, 4095, 5000}) {
        const auto at = winamp.placeBeforeUnreadable(std::string(bytes, 'q'));
        winamp.model().forceReply(ipc::GetPlaylistTitle, static_cast<LResult>(at));
        EXPECT_EQ(api.GetPlaylistTitle(0), std::string(std::min<std::size_t>(bytes, 1023), 'q'));
    }
}

TEST_F(WinampAPITest, BadRepliesGiveZeroOrEmptyTextWithoutWaiting) {
    constexpr auto T = ipc::GetPlaylistTitle;
    const auto good = LResult(winamp.placeBeforeUnreadable(std::string("Good - Title\0", 13)));
    const auto kill = [&] { winamp.kill(); };
    const Call title = [&] { return api.GetPlaylistTitle(0); };
    const std::tuple<const char*, std::function<void()>, Call, std::string> rows[] = {
        {"title at 0", force(T, 0), title, ""},
        {"title at -1", force(T, -1), title, ""},
        {"title at the most negative", force(T, INT32_MIN), title, ""},
        {"title unmapped", force(T, INT32_MAX), title, ""},
        {"title unmapped low", force(T, 0x1000), title, ""},
        {"title unreadable", force(T, LResult(sim::SimWinamp::kUnreadablePage)), title, ""},
        {"title, only the low 32 bits count", force(T, (1ll << 32) | good), title, "Good - Title"},
        {"title negative in 32 bits", force(T, 0x80001000u), title, ""},
        {"length -1", force(ipc::GetListLength, -1), num(&WinampAPI::TracksInPlaylist), "-1"},
        {"huge", force(ipc::GetListLength, INT32_MAX), num(&WinampAPI::TracksInPlaylist),
         "2147483647"},
        {"position", force(ipc::GetListPos, 0x1234500000005LL), num(&WinampAPI::TrackNumber), "5"},
        {"position past 16 bits", force(ipc::GetListPos, 40000), num(&WinampAPI::TrackNumber),
         "40000"},
        {"status", force(ipc::IsPlaying, 0xFFFFFFFFLL), num(&WinampAPI::Status), "-1"},
        {"huge volume", force(ipc::SetVolume, 100000), num(&WinampAPI::Volume), "100000"},
        {"time", force(ipc::GetOutputTime, INT32_MIN), str(&WinampAPI::TrackTime), "0:00"},
        {"no such entry", force(ipc::GetListPos, -7), str(&WinampAPI::SongTitle), ""},
        {"gone after the lookup", [&] { desk.afterLookup = kill; }, num(&WinampAPI::Volume), "0"},
        {"gone after the reply", [&] { desk.afterQuery = kill; }, title, ""},
        {"no access", [&] { desk.processes().setOpenDenied(winamp.pid(), true); }, title, ""},
    };
    for (const auto& [name, setUp, call, expected] : rows) {
        winamp.start();
        winamp.model().clearForcedReplies();
        setUp();
        const std::uint64_t start = desk.tickCountMs();
        EXPECT_EQ(call(), expected) << name;
        EXPECT_EQ(desk.tickCountMs(), start) << name;
        desk.processes().setOpenDenied(winamp.pid(), false);
    }
}

TEST_F(WinampAPITest, AHungPlayerCostsTheBarAtMostOneTimeoutPerBackOff) {
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

TEST_F(WinampAPITest, AHungPlayerAnswersAsIfNotRunningUntilTheBackOffEnds) {
    winamp.hangFor(60000);
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_EQ(api.Volume(), 0);
    EXPECT_FALSE(api.IsAnswering());
    EXPECT_TRUE(api.IsRunning());  // it still runs; it just does not answer
    desk.clearMessageLog();
    synchronise();
    api.Stop_();  // commands are still posted
    EXPECT_EQ(sentToPlayer(), Strings{c(40047)});
    EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kReplyTimeoutMs);
    winamp.hangFor(0);
    desk.advance(WinampAPI::kBackOffMs);
    EXPECT_TRUE(api.IsAnswering());
    EXPECT_EQ(api.Volume(), 180);
    // A new player window is not held to the old one's back-off.
    winamp.hangFor(60000);
    api.Status();
    winamp.kill();
    winamp.start();
    EXPECT_EQ(api.Volume(), 180);
}

TEST_F(WinampAPITest, AFailedPostWaitsTenSecondsWhileEventsRunEvenAcrossMidnight) {
    desk.setLocalTime({2024, 12, 31, 23, 59, 55});
    desk.setPostQueueLimit(winamp.pid(), 0);  // the player's queue is full
    std::vector<std::int32_t> volumes;
    desk.startTimer(100, [&] { volumes.push_back(api.Volume()); });
    const std::uint64_t start = desk.tickCountMs();
    EXPECT_EQ(api.OtherCommand(winamp::cmd::Play), 0);
    // On the monotonic clock, with the program's timers and the queries in them running; the
    // simulation would refuse a wait that spins.
    EXPECT_EQ(desk.tickCountMs() - start, WinampAPI::kFailedPostWaitMs);
    EXPECT_GE(volumes.size(), 99u);
    EXPECT_EQ(std::count(volumes.begin(), volumes.end(), 180), std::ssize(volumes));
    EXPECT_EQ(desk.pendingPostCount(), 0u);  // posted nothing, and not again
}

}  // namespace
}  // namespace tb
