// The synchronisation against the stand-in player in the simulation, on the bar's controls.
#include "support/BarScene.h"

namespace tb {
namespace {

using model::PlayStatus;
using Result = PlaybackSync::Result;

class Sync : public ::testing::Test, public test::BarScene {
protected:
    Sync() {
        sync.onRefreshPlaylist = [this] { ++refreshes; };
        winamp.model().setCurrent(3);
        winamp.model().setPositionMs(42'400);
        winamp.model().setStatus(PlayStatus::Playing);
    }
    const std::string& title(int i) {
        return winamp.model().playlist()[static_cast<size_t>(i)].title;
    }

    PlaybackSync& sync = bar.sync;
    Label &lblTijd = bar.lblTijd, &lblTitel = bar.lblTitel;
    ucSlider &progress = bar.sliderProgress, &volume = bar.sliderVolume;
    Playlist& list = bar.Playlist1;
    TitleTicker& ticker = bar.ticker;
    int refreshes = 0;
};

TEST_F(Sync, TheFirstTickShowsTheTrackAndAWrongActiveCaptionAsksForARefresh) {
    ASSERT_EQ(sync.Tick(), Result::NewTitle);
    EXPECT_EQ(lblTitel.Caption(), title(3));
    EXPECT_EQ(lblTijd.Caption(), "0:42 / 3:33");
    EXPECT_EQ(progress.Max(), 213);
    EXPECT_EQ(progress.Value(), 42);
    EXPECT_EQ(volume.Value(), 200);
    EXPECT_EQ(ticker.Left(), 240);
    EXPECT_EQ(lblTitel.bounds().left, 16);
    EXPECT_EQ(lblTitel.bounds().width(), 257) << "a short title is widened to the title area";
    EXPECT_EQ(refreshes, 1) << "the empty view's caption is not the title";

    EXPECT_EQ(sync.Tick(), Result::SameTitle);
    for (int i = 0; i < 12; ++i) list.AddItem(title(i));
    winamp.model().setCurrent(5);
    EXPECT_EQ(sync.Tick(), Result::NewTitle);
    EXPECT_EQ(list.ActiveItem(), 5);
    EXPECT_EQ(refreshes, 1) << "the mirror is right";

    app.settings.bVerbergPlaylist = true;
    winamp.model().setCurrent(7);
    EXPECT_EQ(sync.Tick(), Result::NewTitle);
    EXPECT_EQ(list.ActiveItem(), 5) << "a hidden playlist is not touched";
}

TEST_F(Sync, AStreamKeepsTheMaximumTheVolumeGoesBothWaysAndWithoutWinampTheViewStays) {
    auto entries = winamp.model().playlist();
    entries[3].lengthSeconds = -1;
    winamp.model().setPlaylist(entries);
    winamp.model().setCurrent(3);
    winamp.model().setPositionMs(42'400);
    winamp.model().setVolume(120);  // set elsewhere
    sync.Tick();
    EXPECT_EQ(lblTijd.Caption(), "0:42");
    EXPECT_TRUE(progress.Max() == 100 && progress.Value() == 42 && volume.Value() == 120);
    volume.setValue(30);  // the user's
    EXPECT_EQ(winamp.model().volume(), 30);
    winamp.kill();
    EXPECT_EQ(sync.Tick(), Result::WinampGone);
    EXPECT_EQ(lblTitel.Caption() + " " + lblTijd.Caption(), title(3) + " 0:42");
}

}  // namespace
}  // namespace tb
