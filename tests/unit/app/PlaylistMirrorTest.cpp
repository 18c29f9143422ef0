// The playlist mirror against the stand-in player in the simulation, on the bar's view.
#include "support/BarScene.h"

namespace tb {
namespace {

class Mirror : public ::testing::Test, public test::BarScene {
protected:
    Mirror() {
        app.debugWriter().enableWriter();
        tmrPlaylist.setEnabled(true);
    }
    void setList(int n, const std::string& stem = "T") {
        std::vector<model::PlaylistEntry> entries;
        for (int i = 0; i < n; ++i) entries.push_back({stem + std::to_string(i), "", 60});
        winamp.model().setPlaylist(entries);
    }
    // The view's entries, "|"-separated, the active one marked "*".
    std::string shown() {
        std::string s;
        for (std::int16_t i = 0; i < view.ItemCount(); ++i)
            s += (i ? "|" : "") + view.ItemCaption(i) + (i == view.ActiveItem() ? "*" : "");
        return s;
    }
    std::string lines() {
        const std::string all = log();
        return all.substr(all.find("\r\n") + 2);  // after the start line
    }
    // Runs `action` among the events let through after the title query of entry `k`.
    void afterEntry(int k, std::function<void()> action) {
        winamp.model().onJournal = [this, k, action, n = 0](const model::JournalEntry& e) mutable {
            if (e.lParam == winamp::ipc::GetPlaylistTitle && n++ == k)
                desk.at(desk.tickCountMs(), action);
        };
    }

    Playlist& view = bar.Playlist1;
    Timer& tmrPlaylist = bar.tmrPlaylist;
    PlaylistMirror& mirror = bar.mirror;
};

TEST_F(Mirror, TheViewFollowsTheListAsItGrowsShrinksAndEmpties) {
    // The list's length and playing entry: what the view shows.
    const std::tuple<int, int, const char*> steps[] = {
        {12, 11, "T0|T1|T2|T3|T4|T5|T6|T7|T8|T9|T10|T11*"},
        {10, 2, "T0|T1|T2*|T3|T4|T5|T6|T7|T8|T9"},
        {4, 1, "T0|T1*|T2|T3"},
        {0, 0, ""},
    };
    for (const auto& [entries, current, expected] : steps) {
        setList(entries);
        if (entries) winamp.model().setCurrent(current);
        const int opens = desk.processes().openCount();
        mirror.RefreshPlaylist();
        EXPECT_EQ(shown(), expected) << entries;
        // One handle to the player for the whole list, closed at its end.
        EXPECT_EQ(desk.processes().openCount() - opens, entries ? 1 : 0) << entries;
        EXPECT_EQ(desk.openProcessHandleCount(), 0) << entries;
    }
    EXPECT_FALSE(view.row(0).visible);
    const std::string pass = "Refresh playlist\r\nRefresh playlist OK\r\n";
    EXPECT_EQ(lines(), pass + pass + pass + pass);
}

TEST_F(Mirror, TheTimerIsOffDuringItsRefreshAndNothingRunsWhileThePlaylistIsHidden) {
    bool enabledMeanwhile = true;
    afterEntry(3, [&] { enabledMeanwhile = tmrPlaylist.Enabled(); });
    desk.advance(60000);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(tmrPlaylist.Enabled());
    EXPECT_EQ(view.ItemCount(), 12);

    app.settings.bVerbergPlaylist = true;
    setList(3);
    desk.advance(60000);
    EXPECT_EQ(view.ItemCount(), 12) << "the view keeps what it holds";
}

TEST_F(Mirror, ARequestDuringARefreshStartsItOverInsteadOfNesting) {
    setList(8, "old");
    afterEntry(4, [&] {
        setList(6, "new");
        mirror.Tick();  // as the synchronisation asks when the title changed
        EXPECT_TRUE(mirror.Refreshing());
    });
    mirror.Tick();
    EXPECT_EQ(shown(), "new0*|new1|new2|new3|new4|new5");
    EXPECT_EQ(lines(), "Refresh playlist\r\nRefresh playlist OK\r\n");
    EXPECT_TRUE(tmrPlaylist.Enabled());
}

TEST_F(Mirror, AWinampThatQuitsEndsTheRefreshWithItsErrorLineAndTheEntriesSoFarStay) {
    setList(10);
    afterEntry(4, [&] { winamp.kill(); });
    mirror.Tick();
    EXPECT_EQ(shown(), "T0*|T1|T2|T3|T4");
    EXPECT_EQ(lines(), "Refresh playlist\r\nERR: Refresh playlist mislukt, foutcode 5\r\n");
    EXPECT_TRUE(tmrPlaylist.Enabled());
    EXPECT_EQ(desk.openProcessHandleCount(), 0);
}

TEST_F(Mirror, APlayerThatRestartsDuringARefreshIsReadThroughItsNewProcess) {
    setList(6);
    afterEntry(2, [&] {
        winamp.kill();
        winamp.start();
    });
    const int opens = desk.processes().openCount();
    mirror.Tick();
    EXPECT_EQ(shown(), "T0*|T1|T2|T3|T4|T5");
    EXPECT_EQ(desk.processes().openCount() - opens, 2);
    EXPECT_EQ(desk.openProcessHandleCount(), 0);
}

TEST_F(Mirror, AListLongerThanTheViewHoldsIsMirroredUpToItsLimitAndLogged) {
    setList(PlaylistMirror::kMaxEntries + 2);
    winamp.model().setCurrent(4);
    mirror.RefreshPlaylist();
    EXPECT_EQ(view.ItemCount(), PlaylistMirror::kMaxEntries);
    EXPECT_EQ(view.ItemCaption(32766), "T32766");
    EXPECT_EQ(view.ActiveItem(), 4);
    EXPECT_TRUE(view.row(0).visible);
    EXPECT_EQ(lines(), "Refresh playlist\r\nERR: Refresh playlist mislukt, foutcode 6\r\n");
}

}  // namespace
}  // namespace tb
