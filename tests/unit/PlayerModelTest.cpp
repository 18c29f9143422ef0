// The stand-in player's own rules that the demo player and the simulation lean on, beyond what
// the Winamp client tests already show through it.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "standin/PlayerModel.h"
#include "standin/StandinMessages.h"
#include "winamp/WinampMessages.h"

namespace tb::model {
namespace {

namespace ipc = winamp::ipc;
namespace cmd = winamp::cmd;
using enum PlayStatus;

class PlayerModelTest : public ::testing::Test {
protected:
    LResult ask(std::int32_t id, std::int32_t data = 0) {
        return *model.handleMessage(winamp::kQueryMessage, static_cast<WParam>(std::intptr_t{data}),
                                    id);
    }
    void send(std::int32_t command) {
        model.handleMessage(winamp::kCommandMessage, static_cast<WParam>(command), 0);
    }

    PlayerModel model;
};

TEST_F(PlayerModelTest, CommandsMoveStatusEntryPositionAndVolume) {
    model.setVolume(253);
    // A command: the status, entry, position and volume after it.
    const std::tuple<std::int32_t, PlayStatus, std::int32_t, std::int32_t, std::int32_t> steps[] = {
        {cmd::Pause, Stopped, 0, 0, 253},  // nothing to pause
        {cmd::Play, Playing, 0, 0, 253},
        {cmd::Forward5s, Playing, 0, 5000, 253},
        {cmd::Pause, Paused, 0, 5000, 253},
        {cmd::Rewind5s, Paused, 0, 0, 253},
        {cmd::Pause, Playing, 0, 0, 253},
        {cmd::Previous, Playing, 11, 0, 253},  // from the first to the last
        {cmd::Next, Playing, 0, 0, 253},
        {cmd::VolumeUp, Playing, 0, 0, 255},
        {cmd::VolumeDown, Playing, 0, 0, 250},
        {cmd::Stop, Stopped, 0, 0, 250},
        {cmd::Next, Stopped, 1, 0, 250},
    };
    for (const auto& [command, status, current, positionMs, volume] : steps) {
        send(command);
        EXPECT_TRUE(model.status() == status && model.current() == current &&
                    model.positionMs() == positionMs && model.volume() == volume)
            << command;
    }
}

TEST_F(PlayerModelTest, PlaybackFollowsTheHostsClockAndEndedEntriesHandOver) {
    model.setPlaylist({{"A - a", "a", 10}, {"B - b", "b", 10}, {"S - stream", "s", -1}});
    model.advanceTo(1000);
    send(cmd::Play);
    model.advanceTo(3500);
    EXPECT_EQ(model.positionMs(), 2500);
    send(cmd::Pause);
    model.advanceTo(10000);  // paused
    send(cmd::Pause);
    model.advanceTo(19000);
    EXPECT_EQ(model.current(), 1);
    EXPECT_EQ(model.positionMs(), 1500);
    send(cmd::Forward5s);
    send(cmd::Forward5s);  // past the end, on into the stream, which never ends
    model.advanceTo(100'000'000);
    EXPECT_EQ(model.current(), 2);
    EXPECT_EQ(model.status(), Playing);
    model.setPlaylist({{"A - a", "a", 10}});
    model.advanceTo(100'010'000);  // the last entry ends: the player stops
    EXPECT_EQ(model.status(), Stopped);
}

TEST_F(PlayerModelTest, JournalsEveryProtocolMessageAsAThirtyTwoBitPlayerReadsIt) {
    std::vector<JournalEntry> seen;
    model.onJournal = [&](const JournalEntry& e) { seen.push_back(e); };
    std::pair<std::uint32_t, std::size_t> hang;  // how long, and how much was journaled by then
    model.onHangRequested = [&](std::uint32_t ms) { hang = {ms, model.journal().size()}; };
    model.setVolume(180);
    ask(ipc::SetVolume, winamp::kVolumeQuery);
    send(cmd::Stop);
    model.handleMessage(winamp::kQueryMessage, 0xFFFFFFFF00000001ull, 0x100000000LL + 125);
    EXPECT_EQ(model.handleMessage(0x0200, 0, 0), std::nullopt);  // not the protocol
    EXPECT_EQ(ask(standin::ipc::HangForMs, 4000), 1);  // answered before the host hangs it
    const std::vector<JournalEntry> expected = {
        {1024, -666, 122, 180}, {273, 40047, 0, 0}, {1024, 1, 125, 0}, {1024, 4000, 0x7B00, 1}};
    EXPECT_TRUE(model.journal() == expected && seen == expected);
    EXPECT_EQ(hang, (std::pair<std::uint32_t, std::size_t>{4000, 4}));
    EXPECT_EQ(expected[0].line(), "1024 -666 122 180");
    for (const auto& e : expected) EXPECT_EQ(JournalEntry::parse(e.line() + "\r\n"), e);
    for (const char* bad : {"1024 1 2", "1024 x 2 3"})
        EXPECT_EQ(JournalEntry::parse(bad), std::nullopt);
}

TEST_F(PlayerModelTest, ParsesPlaylistTextWithOptionalLengthAndFile) {
    const auto e =
        PlayerModel::parsePlaylist("A - One\r\n\nB\t295\nC\t40000\tD:\\c.mp3\nD\tsoon\n");
    ASSERT_EQ(e.size(), 4u);
    EXPECT_TRUE(e[0].title == "A - One" && e[0].lengthSeconds == -1 && e[0].file == "A - One");
    EXPECT_TRUE(e[1].title == "B" && e[1].lengthSeconds == 295);
    EXPECT_TRUE(e[2].lengthSeconds == 40000 && e[2].file == "D:\\c.mp3");
    EXPECT_EQ(e[3].lengthSeconds, -1);  // not a number: unknown length
}

}  // namespace
}  // namespace tb::model
