// The bar's start-up and close in the simulation, and the events that enter it: an error that
// escapes a handler stops at its wiring with its log line, and a press keeps the mouse with what
// it began on.
#include <new>
#include <stdexcept>

#include "diag/modTransparant.h"
#include "support/BarScene.h"

namespace tb {
namespace {

using namespace instellingen;
using enum MouseAction;
using test::BarScene;
using Strings = std::vector<std::string>;

TEST(frmMainStart, DebugLogsTheLoadAndTheCloseAndTheBarParksAtItsDesignSize) {
    BarScene s;
    s.desk.setCommandArguments("/debug");
    ASSERT_TRUE(s.bar.Load());
    s.bar.Show();
    const Hwnd h = s.bar.hWnd();
    EXPECT_TRUE(s.desk.isWindowVisible(h) && (s.desk.exStyle(h) & wsex::WsExTopmost));
    s.desk.moveWindow(h, Rect::fromXYWH(10, 300, 200, 40));  // any resize comes back
    EXPECT_EQ(s.desk.windowRect(h), Rect::fromXYWH(241, -94, 542, 96));
    s.bar.btnAfsluiten_Click();
    EXPECT_FALSE(s.desk.isWindow(h));
    EXPECT_EQ(s.desk.libraryRefCount("shell32.dll"), 0);
    s.app.releaseDebugWriter();
    EXPECT_EQ(s.log(),
              "Log start (05-12-2026, 16:07:09)\r\nTunebalk load\r\nWheelHook\r\nWheelHook OK\r\n"
              "Instellingen laden\r\nInstellingen laden OK\r\nSneltoetsen laden\r\n"
              "Sneltoetsen laden OK\r\nRefresh playlist\r\nRefresh playlist OK\r\n"
              "Tunebalk load OK\r\nWheelUnhook\r\nWheelUnhook OK\r\n"
              "Log eind (05-12-2026, 16:07:09)\r\n");
}

TEST(frmMainStart, OnlyTheExactDebugArgumentSwitchesTheLogOn) {
    for (const char* args : {"", "/DEBUG", "/debug ", " /debug", "debug"}) {
        BarScene s;
        s.desk.setCommandArguments(args);
        ASSERT_TRUE(s.bar.Load()) << args;
        s.bar.Unload();
        s.app.releaseDebugWriter();
        EXPECT_TRUE(s.desk.files().filesIn("C:\\Apps").empty()) << "'" << args << "'";
    }
}

TEST(frmMainStart, ASecondInstanceIsRefusedBeforeItsSettingsLoadAndReachesNothing) {
    BarScene s;
    s.desk.claimByOtherInstance("Oxalmo.Tunebalk4.Instance");
    s.desk.setCommandArguments("/debug");
    // The running bar's settings: the refused one never reads them, so its close steps find
    // everything off.
    for (const char* name : {kSluitWinamp, kMSNPlugin, kStartWinamp}) s.store(name, 1);
    test::MessengerWindow messenger;
    s.desk.createWindow({"MsnMsgrUIManager", "", {}}, &messenger);
    const std::string registryBefore = s.registry.dump(reg::HkeyCurrentUser);
    EXPECT_FALSE(s.bar.Load());
    s.desk.advance(60000);  // whatever it posted or started has run by now
    s.app.releaseDebugWriter();
    EXPECT_FALSE(s.desk.isWindow(s.bar.hWnd()));
    ASSERT_EQ(s.desk.messageBoxes().size(), 1u);
    const auto& box = s.desk.messageBoxes()[0];
    EXPECT_EQ(box.caption + "|" + box.text + "|" + std::to_string(box.flags),
              "Tunebalk|Er is al een Tunebalk sessie actief!|48");  // OK, exclamation
    EXPECT_TRUE(s.desk.files().filesIn("C:\\Apps").empty());
    EXPECT_TRUE(s.winamp.model().journal().empty() && messenger.texts.empty());
    EXPECT_TRUE(s.desk.startedPrograms().empty());
    EXPECT_EQ(s.registry.dump(reg::HkeyCurrentUser), registryBefore);
}

TEST(frmMainStart, AutostartAndTheCloseReachWinampOnlyWhenConfiguredAndAsItRuns) {
    const std::string exe = "C:\\Program files\\Winamp\\winamp.exe";
    // Winamp running, its exe there, "startwinamp", "sluitwinamp": the command the close sends.
    const std::tuple<bool, bool, bool, bool, const char*> cases[] = {
        {false, true, true, false, nullptr},  // started: the only case
        {true, true, true, true, "40001"},
        {false, false, true, true, nullptr},
        {false, true, false, false, nullptr},
    };
    for (const auto& [running, exeThere, start, sluit, closeCommand] : cases) {
        BarScene s(running);
        s.desk.setCommandArguments("/debug");
        if (exeThere) s.desk.files().putFile(exe, "");
        s.store(kStartWinamp, start);
        s.store(kSluitWinamp, sluit);
        ASSERT_TRUE(s.bar.Load());
        EXPECT_EQ(s.desk.startedPrograms(), Strings(!running && exeThere && start, exe));
        EXPECT_EQ(s.log().find("playlist OK\r\nAutostart Winamp\r\nTunebalk load OK") !=
                      std::string::npos,
                  !running && start);
        // A close from the system runs the same close request as the close button.
        s.desk.sendMessage(s.bar.hWnd(), wm::WmClose, 0, 0);
        s.desk.advance(10);
        EXPECT_FALSE(s.bar.isLoaded());
        EXPECT_EQ(s.received(), closeCommand ? Strings{closeCommand} : Strings{});
    }
}

TEST(frmMainStart, LabelsShowTheirDesignCaptionsInTheTextColour) {
    BarScene s(false);
    ASSERT_TRUE(s.bar.Load());
    s.desk.paintNow(s.bar.hWnd());
    Strings texts;
    for (const auto& t : s.desk.texts(s.bar.hWnd())) {
        texts.push_back(t.text);
        EXPECT_TRUE(t.color == art::kTextColor && t.font.face == "Tahoma") << t.text;
    }
    EXPECT_EQ(texts, (Strings{"Oxalmo Tunebalk 4", "0:00 / 0:00", "MSN plugin is uitgeschakeld"}));
}

TEST(frmMainStart, StoredSettingsShapeTheBarAndEachPercentageGivesItsOpacity) {
    BarScene s;
    s.store(kVerbergPlaylist, 1);
    s.store(kMSNPlugin, 1);
    s.store(kTrans, 40);
    ASSERT_TRUE(s.bar.Load());
    EXPECT_EQ(s.desk.windowRect(s.bar.hWnd())->width(), 271);
    EXPECT_EQ(s.bar.lblOptie.Caption(), "MSN plugin is ingeschakeld");
    EXPECT_TRUE(s.desk.exStyle(s.bar.hWnd()) & wsex::WsExLayered);
    EXPECT_EQ(s.desk.window(s.bar.hWnd())->layeredAlpha, 153);
    // Halves to even; past 100 the opacity is negative: nothing changes.
    const std::pair<std::int16_t, std::uint8_t> cases[] = {{0, 255},  {10, 230},  {20, 204},
                                                           {60, 102}, {101, 102}, {70, 76}};
    for (const auto& [percentage, opacity] : cases) {
        s.bar.SetTransparantie(percentage);
        EXPECT_EQ(s.desk.window(s.bar.hWnd())->layeredAlpha, opacity) << percentage;
    }
    const Hwnd h = s.bar.hWnd();
    for (auto [opacity, result] :
         {std::pair{255, alpha::Toegepast}, {256, alpha::BuitenBereik}, {-1, alpha::BuitenBereik}})
        EXPECT_EQ(SetWindowAlpha(s.desk, h, static_cast<std::int16_t>(opacity)), result) << opacity;
    EXPECT_EQ(s.desk.window(h)->layeredAlpha, 255);
    s.bar.Unload();  // the window is gone
    EXPECT_EQ(SetWindowAlpha(s.desk, h, 100), alpha::Mislukt);
}

TEST(frmMainEvents, AnErrorInAHandlerIsLoggedWithItsNameAndNumberAndTheBarGoesOn) {
    BarScene s;
    s.desk.setCommandArguments("/debug");
    s.start(false);
    const std::pair<std::function<void()>, int> cases[] = {
        {[] { throw ProgramError(errnum::Overflow); }, 6},
        {[] { throw std::bad_alloc(); }, 7},
        {[] { throw std::runtime_error("x"); }, 51}};
    for (const auto& [fail, number] : cases) {
        s.desk.failPost = fail;
        s.click(s.on(s.bar.btnPlay));
        EXPECT_NE(
            s.log().find("ERR: btnPlay_Click mislukt, foutcode " + std::to_string(number) + "\r\n"),
            std::string::npos)
            << number;
    }
    s.desk.failPost = nullptr;
    s.click(s.on(s.bar.btnPlay));
    s.desk.advance(1500);
    EXPECT_TRUE(s.bar.isLoaded() && s.desk.isWindowVisible(s.bar.hWnd()));
    EXPECT_EQ(s.received(), Strings{"40045"});
    EXPECT_TRUE(s.desk.escapedErrors().empty()) << "nothing reached the host";
}

TEST(frmMainEvents, AFailingSynchronisationStillBringsTheTimersBackAndTheEndOnTime) {
    BarScene s;
    s.desk.setCommandArguments("/debug");
    s.start(false);
    s.desk.failQueries = true;
    s.bar.Form_TaskBar1_StartOpenUp();
    EXPECT_NE(s.log().find("ERR: tmrSync_Timer mislukt, foutcode 51\r\n"), std::string::npos);
    EXPECT_TRUE(s.bar.tmrSync.Enabled() && s.bar.tmrTitel.Enabled());
    s.desk.failQueries = false;
    // The automatic close comes even when what runs before it fails.
    s.bar.coupling.onBeforeEndNow = [] { throw std::runtime_error("withdrawal"); };
    s.app.settings.bAutoSluit = true;
    s.winamp.kill();
    EXPECT_THROW(s.desk.advance(31'000), sim::SimProcessExit);
}

TEST(frmMainEvents, APressKeepsTheMouseWithWhereItBeganUntilTheRelease) {
    BarScene s;
    s.start();
    int sliderClicks = 0;
    s.bar.sliderProgress.onClick = [&] { ++sliderClicks; };
    const Point background = s.at(265, 40);
    for (const Point start : {s.on(s.bar.lblOptie), background, s.on(s.bar.imgTopLeft)}) {
        s.desk.mouse(background, Move);
        const std::string hint = s.bar.lblOptie.Caption();
        s.desk.mouse(start, Down, mouse::Left);
        s.desk.mouse(s.on(s.bar.btnNext), Move);
        s.desk.advance(20);
        EXPECT_EQ(s.bar.btnNext.Look(), art::Look::Normal) << start.x;
        EXPECT_FALSE(s.bar.btnNext.HoverTimerRunning()) << start.x;
        EXPECT_EQ(s.bar.lblOptie.Caption(), hint) << start.x << ": no MouseMove of the button";
        s.desk.mouse(s.on(s.bar.sliderProgress), Move);
        s.desk.mouse(s.on(s.bar.sliderProgress), Up, mouse::Left);
        EXPECT_EQ(sliderClicks, 0) << start.x;
        EXPECT_EQ(s.desk.capture(), 0u) << start.x;
    }
    // Once released, the same moves and clicks reach the controls again.
    s.desk.mouse(s.on(s.bar.btnNext), Move);
    EXPECT_EQ(s.bar.lblOptie.Caption(), "Volgend nummer");
    s.click(s.on(s.bar.sliderProgress));
    EXPECT_EQ(sliderClicks, 1);
}

}  // namespace
}  // namespace tb
