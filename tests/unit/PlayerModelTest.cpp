#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/PlayerModel.h"
#include "winamp/WinampMessages.h"

namespace tb::model {
namespace {

namespace ipc = winamp::ipc;
namespace cmd = winamp::cmd;

// Hands out made-up addresses and remembers what lies there.
class MapStore : public StringStore {
public:
    std::uint64_t placeString(std::string_view text) override {
        next_ += 0x1000;
        strings[next_] = std::string(text);
        return next_;
    }
    std::map<std::uint64_t, std::string> strings;

private:
    std::uint64_t next_ = 0x10000000;
};

class PlayerModelTest : public ::testing::Test {
protected:
    LResult ask(std::int32_t id, std::int32_t data = 0) {
        return *model.handleMessage(winamp::kQueryMessage,
                                    static_cast<WParam>(static_cast<std::intptr_t>(data)), id);
    }
    void send(std::int32_t command) {
        ASSERT_EQ(model.handleMessage(winamp::kCommandMessage, static_cast<WParam>(command), 0), 0);
    }
    std::string textAt(LResult address) {
        return store.strings.at(static_cast<std::uint64_t>(address));
    }

    MapStore store;
    PlayerModel model{&store};
};

TEST_F(PlayerModelTest, StartsWithADozenInventedEntriesStoppedAtTheFirst) {
    ASSERT_EQ(model.playlist().size(), 12u);
    for (const auto& e : model.playlist()) {
        EXPECT_NE(e.title.find(" - "), std::string::npos) << e.title;
        EXPECT_GT(e.lengthSeconds, 0);
    }
    EXPECT_EQ(ask(ipc::IsPlaying), 0);
    EXPECT_EQ(ask(ipc::GetListLength), 12);
    EXPECT_EQ(ask(ipc::GetListPos), 0);
    EXPECT_EQ(ask(ipc::GetVersion), PlayerModel::kVersion);
}

TEST_F(PlayerModelTest, ParsesPlaylistTextWithOptionalLengthAndFile) {
    auto entries = PlayerModel::parsePlaylist(
        "A - One\r\n\nB - Two\t295\nC - Three\t40000\tD:\\c.mp3\nD - Four\tsoon\n");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].title, "A - One");
    EXPECT_EQ(entries[0].lengthSeconds, -1);
    EXPECT_EQ(entries[1].title, "B - Two");
    EXPECT_EQ(entries[1].lengthSeconds, 295);
    EXPECT_EQ(entries[2].lengthSeconds, 40000);
    EXPECT_EQ(entries[2].file, "D:\\c.mp3");
    EXPECT_EQ(entries[3].lengthSeconds, -1);  // not a number: unknown length
    EXPECT_EQ(entries[3].file, "D - Four");
}

TEST_F(PlayerModelTest, AnswersTimeQueriesOnlyWhilePlayingOrPaused) {
    EXPECT_EQ(ask(ipc::GetOutputTime, 0), -1);
    EXPECT_EQ(ask(ipc::GetOutputTime, 1), -1);
    EXPECT_EQ(ask(ipc::JumpToTime, 1000), -1);
    send(cmd::Play);
    model.setPositionMs(59500);
    EXPECT_EQ(ask(ipc::GetOutputTime, 0), 59500);
    EXPECT_EQ(ask(ipc::GetOutputTime, 1), 187);
    EXPECT_EQ(ask(ipc::GetOutputTime, 2), 187000);
    EXPECT_EQ(ask(ipc::JumpToTime, 30000), 0);
    EXPECT_EQ(model.positionMs(), 30000);
    EXPECT_EQ(ask(ipc::JumpToTime, 187000), 1);  // beyond the end
    EXPECT_EQ(model.positionMs(), 30000);
}

TEST_F(PlayerModelTest, VolumeIsReadWithMinus666AndClampedWhenSet) {
    const struct {
        std::int32_t set;
        std::int32_t expect;
    } cases[] = {{120, 120}, {0, 0}, {255, 255}, {300, 255}, {-5, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ask(ipc::SetVolume, c.set), 0);
        EXPECT_EQ(ask(ipc::SetVolume, winamp::kVolumeQuery), c.expect) << c.set;
    }
    model.setVolume(253);
    send(cmd::VolumeUp);
    EXPECT_EQ(model.volume(), 255);
    send(cmd::VolumeDown);
    EXPECT_EQ(model.volume(), 250);
}

TEST_F(PlayerModelTest, PlacesTitlesAndFilesInTheStoreAndAnswersTheirAddress) {
    EXPECT_EQ(textAt(ask(ipc::GetPlaylistTitle, 3)), model.playlist()[3].title);
    EXPECT_EQ(textAt(ask(ipc::GetPlaylistFile, 3)), model.playlist()[3].file);
    EXPECT_EQ(ask(ipc::GetPlaylistTitle, 12), 0);
    EXPECT_EQ(ask(ipc::GetPlaylistTitle, -1), 0);
    model.setStore(nullptr);
    EXPECT_EQ(ask(ipc::GetPlaylistTitle, 0), 0);
}

TEST_F(PlayerModelTest, SelectsEntriesAndIgnoresPositionsOutsideThePlaylist) {
    ask(ipc::SetPlaylistPos, 7);
    EXPECT_EQ(ask(ipc::GetListPos), 7);
    ask(ipc::SetPlaylistPos, 12);
    ask(ipc::SetPlaylistPos, -3);
    EXPECT_EQ(ask(ipc::GetListPos), 7);
}

TEST_F(PlayerModelTest, TransportCommandsMoveStatusAndEntry) {
    const struct {
        std::int32_t command;
        PlayStatus status;
        std::int32_t current;
    } steps[] = {
        {cmd::Pause, PlayStatus::Stopped, 0},  // nothing to pause
        {cmd::Play, PlayStatus::Playing, 0},     {cmd::Pause, PlayStatus::Paused, 0},
        {cmd::Pause, PlayStatus::Playing, 0},    {cmd::Next, PlayStatus::Playing, 1},
        {cmd::Previous, PlayStatus::Playing, 0}, {cmd::Previous, PlayStatus::Playing, 11},
        {cmd::Next, PlayStatus::Playing, 0},     {cmd::Stop, PlayStatus::Stopped, 0},
        {cmd::Next, PlayStatus::Stopped, 1},
    };
    for (const auto& s : steps) {
        send(s.command);
        EXPECT_EQ(model.status(), s.status) << s.command;
        EXPECT_EQ(model.current(), s.current) << s.command;
    }
}

TEST_F(PlayerModelTest, SeekCommandsMoveFiveSecondsAndRunOverIntoTheNextEntry) {
    send(cmd::Play);
    model.setPositionMs(3000);
    send(cmd::Rewind5s);
    EXPECT_EQ(model.positionMs(), 0);
    model.setPositionMs(184000);
    send(cmd::Forward5s);
    EXPECT_EQ(model.current(), 1);
    EXPECT_EQ(model.positionMs(), 2000);
}

TEST_F(PlayerModelTest, ShuffleNeverRepeatsTheEntryJustPlayedAndIsReproducible) {
    send(cmd::ToggleShuffle);
    EXPECT_EQ(ask(ipc::GetShuffle), 1);
    std::vector<std::int32_t> order;
    for (int i = 0; i < 50; ++i) {
        std::int32_t before = model.current();
        send(cmd::Next);
        EXPECT_NE(model.current(), before);
        order.push_back(model.current());
    }
    PlayerModel again;
    again.handleMessage(winamp::kCommandMessage, cmd::ToggleShuffle, 0);
    for (std::int32_t expected : order) {
        again.handleMessage(winamp::kCommandMessage, cmd::Next, 0);
        EXPECT_EQ(again.current(), expected);
    }
}

TEST_F(PlayerModelTest, PlaybackAdvancesWithTheHostsClockOnlyWhilePlaying) {
    model.advanceTo(1000);
    send(cmd::Play);
    model.advanceTo(3500);
    EXPECT_EQ(model.positionMs(), 2500);
    send(cmd::Pause);
    model.advanceTo(10000);
    EXPECT_EQ(model.positionMs(), 2500);
    send(cmd::Pause);
    model.advanceTo(9000);  // a clock that goes back changes nothing
    model.advanceTo(10500);
    EXPECT_EQ(model.positionMs(), 3000);
}

TEST_F(PlayerModelTest, AnEndedEntryHandsOverAndTheLastOneStops) {
    model.setPlaylist({{"A - a", "a", 10}, {"B - b", "b", 10}, {"S - stream", "s", -1}});
    model.advanceTo(0);
    send(cmd::Play);
    model.advanceTo(12500);
    EXPECT_EQ(model.current(), 1);
    EXPECT_EQ(model.positionMs(), 2500);
    model.advanceTo(20000);  // into the stream, which never ends
    model.advanceTo(20000 + 100000000);
    EXPECT_EQ(model.current(), 2);
    EXPECT_EQ(model.status(), PlayStatus::Playing);

    model.setPlaylist({{"A - a", "a", 10}});
    send(cmd::Play);
    model.advanceTo(20000 + 100000000 + 10000);
    EXPECT_EQ(model.status(), PlayStatus::Stopped);
}

TEST_F(PlayerModelTest, JournalsEveryProtocolMessageAsThePlayerReadsIt) {
    std::vector<JournalEntry> seen;
    model.onJournal = [&](const JournalEntry& e) { seen.push_back(e); };
    model.setVolume(180);
    ask(ipc::SetVolume, winamp::kVolumeQuery);
    send(cmd::Stop);
    // wParam and lParam count by their low 32 bits, as a 32-bit player sees them.
    model.handleMessage(winamp::kQueryMessage, 0xFFFFFFFF00000001ull, 0x100000000LL + 125);
    EXPECT_EQ(model.handleMessage(0x0200, 0, 0), std::nullopt);  // not the protocol

    const std::vector<JournalEntry> expected = {
        {1024, -666, 122, 180}, {273, 40047, 0, 0}, {1024, 1, 125, 0}};
    EXPECT_EQ(model.journal(), expected);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(expected[0].line(), "1024 -666 122 180");
    for (const auto& e : expected) EXPECT_EQ(JournalEntry::parse(e.line() + "\r\n"), e);
    EXPECT_EQ(JournalEntry::parse("1024 1 2"), std::nullopt);
    EXPECT_EQ(JournalEntry::parse("1024 x 2 3"), std::nullopt);
}

TEST_F(PlayerModelTest, ForcedRepliesOverrideTheStateForBadReplyTests) {
    model.forceReply(ipc::GetListPos, 0x7FFFFFFF);
    EXPECT_EQ(ask(ipc::GetListPos), 0x7FFFFFFF);
    model.clearForcedReplies();
    EXPECT_EQ(ask(ipc::GetListPos), 0);
}

TEST_F(PlayerModelTest, HangRequestRepliesFirstThenTellsTheHost) {
    std::uint32_t hangMs = 0;
    model.onHangRequested = [&](std::uint32_t ms) {
        EXPECT_EQ(model.journal().size(), 1u);  // the reply is journaled before the hang
        hangMs = ms;
    };
    EXPECT_EQ(ask(winamp::standin::HangForMs, 4000), 1);
    EXPECT_EQ(hangMs, 4000u);
}

TEST_F(PlayerModelTest, CloseCommandAsksTheHostToClose) {
    bool closed = false;
    model.onCloseRequested = [&] { closed = true; };
    send(cmd::Close);
    EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace tb::model
