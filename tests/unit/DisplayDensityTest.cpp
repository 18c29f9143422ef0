// The bar and its settings window at the densities of 100, 125, 150, 175 and 200 %: what they
// measure, and that a window moved onto a monitor of that density, or made on one whose scale
// changed since the user signed in, keeps its state and is laid out as one made there.
#include <gtest/gtest.h>

#include <optional>

#include "app/frmMain.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWinamp.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

// Made at the density; made at 96 dpi and moved to a monitor of it; made on a screen of it while
// the system's is still 96 dpi.
enum class Mode { Made, Moved, Rescaled };
const char* const kModes[] = {" dpi", " dpi, moved", " dpi, rescaled"};

// A bar at `dpi` playing a short title, slid into view by the pointer on its strip.
struct Scene {
    Scene(int dpi, Mode mode) {
        winamp.model().setPlaylist({{"Kort", "", 200}, {"Ook kort", "", 100}});
        winamp.model().setStatus(model::PlayStatus::Playing);
        desk.setScreenSize({1920, 1080});
        desk.setDpi(mode == Mode::Made ? dpi : 96);
        if (mode == Mode::Rescaled) desk.setMonitorDpi(dpi);
        bar.emplace(app);
        bar->Load();
        bar->Show();
        desk.setCursorPos({960, 0});
        desk.advance(1000);
        if (mode == Mode::Moved) desk.moveToDensity(bar->hWnd(), dpi);
        desk.advance(1000);
    }
    Rect rect() const { return desk.window(bar->hWnd())->bounds; }

    sim::SimDesktop desk;
    sim::SimWinamp winamp{desk};
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    std::optional<frmMain> bar;
};

TEST(DisplayDensity, TheBarMeasuresItsTwipsAndDrawsItsPicturesAtTheDensityOfItsMonitor) {
    const struct {
        int dpi;
        Rect shown, btnPrev, sliderProgress, playlist;
        int titleFont, titleLeft, drawnSet;
    } cases[] = {
        // clang-format off
        {96, {689, 0, 1231, 96}, {8, 72, 29, 94}, {6, 43, 190, 54}, {271, 0, 544, 109}, 13, 8, 96},
        {120, {621, 0, 1299, 120}, {10, 90, 36, 118}, {8, 54, 238, 68}, {338, 0, 679, 136}, 16, 10, 120},
        {144, {554, 0, 1367, 144}, {12, 108, 44, 141}, {9, 65, 285, 81}, {406, 0, 816, 164}, 20, 12, 144},
        {168, {486, 0, 1434, 168}, {14, 126, 51, 164}, {10, 76, 332, 95}, {474, 0, 952, 191}, 23, 14, 192},
        {192, {418, 0, 1502, 192}, {16, 144, 58, 188}, {12, 87, 380, 109}, {541, 0, 1087, 218}, 26, 16, 192},
        // clang-format on
    };
    for (const auto& c : cases) {
        for (Mode mode : {Mode::Made, Mode::Moved, Mode::Rescaled}) {
            Scene s(c.dpi, mode);
            const frmMain& bar = *s.bar;
            const std::string at = std::to_string(c.dpi) + kModes[static_cast<int>(mode)];
            EXPECT_EQ(s.rect(), c.shown) << at;
            EXPECT_EQ(bar.btnPrev.bounds(), c.btnPrev) << at;
            EXPECT_EQ(bar.sliderProgress.bounds(), c.sliderProgress) << at;
            EXPECT_EQ(bar.Playlist1.bounds(), c.playlist) << at;
            EXPECT_EQ(bar.lblTitel.Font().heightPx, c.titleFont) << at;
            EXPECT_EQ(bar.lblTitel.Caption(), "Kort") << at;
            EXPECT_EQ(bar.Playlist1.ItemCount(), 2) << at;
            EXPECT_EQ(bar.lblTitel.bounds().left, c.titleLeft) << at << ": a short title rests";
            EXPECT_EQ(art::drawnDpiFor(c.dpi), c.drawnSet);
            const Image& face = art::buttonFace(0, art::Look::Normal, c.dpi);
            EXPECT_EQ(
                test::mismatches(s.desk.frame(bar.hWnd()), face, {c.btnPrev.left, c.btnPrev.top}),
                0)
                << at;
            s.desk.setCursorPos({960, 600});
            s.desk.advance(1000);
            EXPECT_EQ(s.rect(), c.shown.offset(0, 2 - c.shown.height())) << at << ": hidden";
        }
    }
}

TEST(DisplayDensity, TheSettingsWindowMeasuresItsTwipsAndTakesFontsAndPicturesForItsDensity) {
    const struct {
        int dpi;
        Size client;
        Rect cmdOpslaan;
        int font, icon, logo;
    } cases[] = {
        {96, {339, 272}, {176, 240, 249, 265}, 11, 16, 48},
        {120, {424, 340}, {220, 300, 311, 331}, 14, 20, 60},
        {144, {508, 408}, {264, 360, 374, 398}, 17, 24, 72},
        {192, {678, 544}, {352, 480, 498, 530}, 22, 32, 96},
    };
    for (const auto& c : cases) {
        for (Mode mode : {Mode::Made, Mode::Moved, Mode::Rescaled}) {
            Scene s(c.dpi, mode == Mode::Moved ? Mode::Made : mode);
            if (mode == Mode::Moved) s.desk.setDpi(96);
            s.bar->btnInstellingen_Click();
            frmInstellingen& w = *s.bar->InstellingenVenster();
            const Rect suggested{100, 50, 700, 650};
            if (mode == Mode::Moved) s.desk.moveToDensity(w.hWnd(), c.dpi, suggested);
            const std::string at = std::to_string(c.dpi) + kModes[static_cast<int>(mode)];
            const sim::SimWindow& opslaan = *s.desk.window(w.cmdOpslaan.hWnd());
            EXPECT_EQ(opslaan.bounds, c.cmdOpslaan) << at;
            EXPECT_EQ(opslaan.font->heightPx, c.font) << at;
            EXPECT_EQ(s.desk.window(w.lblTitel.hWnd())->font->heightPx, c.font) << at;
            EXPECT_TRUE(s.desk.window(w.lblTitel.hWnd())->font->bold) << at;
            EXPECT_EQ(s.desk.window(w.hWnd())->icon.width, c.icon) << at;
            EXPECT_EQ(s.desk.window(w.Image1.hWnd())->picture.width, c.logo) << at;
            const Rect client = s.desk.clientRect(w.hWnd());
            const Size size{client.width(), client.height()};
            if (mode == Mode::Made) {
                EXPECT_EQ(size, c.client) << at;
            } else if (mode == Mode::Moved) {
                EXPECT_EQ(s.desk.window(w.hWnd())->bounds, suggested) << at;
            } else {
                EXPECT_TRUE(size.cx >= c.client.cx && size.cy >= c.client.cy) << at << ": all fits";
            }
        }
    }
}

}  // namespace
}  // namespace tb
