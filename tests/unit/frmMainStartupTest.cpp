#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"

namespace tb {
namespace {

// A window of the player's class that records what reaches it.
struct FakePlayer : WindowHandler {
    std::vector<std::pair<std::uint32_t, WParam>> received;
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
        received.emplace_back(msg, w);
        return 0;
    }
};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        desk.setExeFolder("C:\\Apps");
        desk.setLocalTime({2026, 12, 5, 16, 7, 9});
    }
    std::optional<std::string> log() {
        return desk.files().readFile("C:\\Apps\\log05122026160709.log");
    }
    // Each bar in one simulated desktop stands for a fresh process.
    void newProcess() { desk.releaseByOtherInstance("Oxalmo.Tunebalk4.Instance"); }
    Hwnd startPlayer() {
        ProcessId pid = desk.createProcess("winamp.exe");
        return desk.createWindowIn(pid, {"Winamp v1.x", "Winamp", Rect::fromXYWH(0, 0, 275, 116)},
                                   &player);
    }

    sim::SimDesktop desk;
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    FakePlayer player;
};

TEST_F(StartupTest, DebugLogsTheLoadAndTheBarGetsItsDesignSize) {
    desk.setCommandArguments("/debug");
    {
        frmMain bar(app);
        ASSERT_TRUE(bar.Load());
        bar.Show();
        auto r = desk.windowRect(bar.hWnd());
        ASSERT_TRUE(r);
        EXPECT_EQ(*r, Rect::fromXYWH((1024 - 542) / 2, 0, 542, 96));
        EXPECT_EQ(desk.windowText(bar.hWnd()), "Tunebalk4");
        EXPECT_TRUE(desk.exStyle(bar.hWnd()) & wsex::WS_EX_TOPMOST);
        EXPECT_TRUE(desk.isWindowVisible(bar.hWnd()));
        EXPECT_EQ(desk.libraryRefCount("shell32.dll"), 1);
        EXPECT_EQ(desk.commonControlsInitCount(), 1);
        bar.btnAfsluiten_Click();
        EXPECT_FALSE(desk.isWindow(bar.hWnd()));
        EXPECT_EQ(desk.libraryRefCount("shell32.dll"), 0);
    }
    app.releaseDebugWriter();
    EXPECT_EQ(log().value_or(""),
              "Log start (05-12-2026, 16:07:09)\r\nTunebalk load\r\nWheelHook\r\nWheelHook OK\r\n"
              "Refresh playlist\r\nRefresh playlist OK\r\nTunebalk load OK\r\nWheelUnhook\r\n"
              "WheelUnhook OK\r\nLog eind (05-12-2026, 16:07:09)\r\n");
}

TEST_F(StartupTest, OnlyTheExactDebugArgumentSwitchesTheLogOn) {
    for (const char* args : {"", "/DEBUG", "/debug ", " /debug", "/debug x", "debug"}) {
        desk.setCommandArguments(args);
        newProcess();
        AppContext fresh(desk, registry);
        {
            frmMain bar(fresh);
            ASSERT_TRUE(bar.Load()) << args;
            bar.Unload();
        }
        fresh.releaseDebugWriter();
        EXPECT_TRUE(desk.files().filesIn("C:\\Apps").empty()) << "'" << args << "'";
    }
}

TEST_F(StartupTest, ASecondInstanceIsRefusedBeforeAnythingElseAndChangesNothing) {
    desk.claimByOtherInstance("Oxalmo.Tunebalk4.Instance");
    desk.setCommandArguments("/debug");
    app.settings.bSluitWinamp = true;  // even so: nothing may reach a running player
    startPlayer();
    {
        frmMain bar(app);
        EXPECT_FALSE(bar.Load());
        EXPECT_FALSE(bar.isLoaded());
        EXPECT_FALSE(desk.isWindow(bar.hWnd()));
    }
    app.releaseDebugWriter();
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].text, "Er is al een Tunebalk sessie actief!");
    EXPECT_EQ(desk.messageBoxes()[0].caption, "Tunebalk");
    EXPECT_EQ(desk.messageBoxes()[0].flags, mb::MB_OK | mb::MB_ICONEXCLAMATION);
    EXPECT_TRUE(desk.files().filesIn("C:\\Apps").empty());
    EXPECT_TRUE(player.received.empty());
}

TEST_F(StartupTest, ClosingSendsTheCloseCommandOnlyWhenConfiguredAndWinampRuns) {
    struct Case {
        bool sluit;
        bool running;
        bool expectClose;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        player.received.clear();
        Hwnd winamp = c.running ? startPlayer() : 0;
        newProcess();
        AppContext fresh(desk, registry);
        fresh.settings.bSluitWinamp = c.sluit;
        frmMain bar(fresh);
        ASSERT_TRUE(bar.Load());
        // A close from the system runs the same close request as the close button.
        desk.sendMessage(bar.hWnd(), wm::WM_CLOSE, 0, 0);
        desk.doEvents();
        EXPECT_FALSE(bar.isLoaded());
        bool closed = false;
        for (auto& [msg, w] : player.received) closed |= msg == wm::WM_COMMAND && w == 40001;
        EXPECT_EQ(closed, c.expectClose) << c.sluit << c.running;
        if (winamp) desk.destroyWindow(winamp);
    }
}

TEST_F(StartupTest, AutostartLogsAndStartsWinampOnlyWhenItIsMissingAndTheExeExists) {
    desk.setCommandArguments("/debug");
    desk.files().putFile("C:\\Program files\\Winamp\\winamp.exe", "");
    app.settings.bStartWinamp = true;
    app.settings.sWinampPad = "C:\\Program files\\Winamp\\winamp.exe";
    {
        frmMain bar(app);
        ASSERT_TRUE(bar.Load());
        bar.Unload();
    }
    app.releaseDebugWriter();
    ASSERT_EQ(desk.startedPrograms().size(), 1u);
    EXPECT_EQ(desk.startedPrograms()[0], "C:\\Program files\\Winamp\\winamp.exe");
    EXPECT_NE(
        log().value_or("").find("Refresh playlist OK\r\nAutostart Winamp\r\nTunebalk load OK"),
        std::string::npos);

    // Already running, or a missing exe: nothing is started.
    startPlayer();
    AppContext running(desk, registry);
    running.settings = app.settings;
    newProcess();
    frmMain bar2(running);
    ASSERT_TRUE(bar2.Load());
    EXPECT_EQ(desk.startedPrograms().size(), 1u);
}

TEST_F(StartupTest, AnyResizeComesBackToTheBarSizeAndCentred) {
    frmMain bar(app);
    ASSERT_TRUE(bar.Load());
    bar.Show();
    desk.moveWindow(bar.hWnd(), Rect::fromXYWH(10, 300, 200, 40));
    EXPECT_EQ(desk.windowRect(bar.hWnd()), Rect::fromXYWH(241, 0, 542, 96));

    AppContext hidden(desk, registry);
    hidden.settings.bVerbergPlaylist = true;
    newProcess();
    frmMain narrow(hidden);
    narrow.Load();
    EXPECT_EQ(desk.windowRect(narrow.hWnd())->width(), 271);
}

TEST_F(StartupTest, LabelsShowTheirDesignCaptionsInTheTextColour) {
    app.settings.bMSNPlugin = false;
    frmMain bar(app);
    ASSERT_TRUE(bar.Load());
    desk.paintNow(bar.hWnd());
    std::vector<std::string> texts;
    for (const auto& t : desk.texts(bar.hWnd())) {
        texts.push_back(t.text);
        EXPECT_EQ(t.color, 0xD3C8A6u) << t.text;
        EXPECT_EQ(t.font.face, "Tahoma");
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Oxalmo Tunebalk 4", "0:00 / 0:00",
                                               "MSN plugin is uitgeschakeld"}));

    AppContext on(desk, registry);
    on.settings.bMSNPlugin = true;
    newProcess();
    frmMain bar2(on);
    bar2.Load();
    EXPECT_EQ(bar2.lblOptie.Caption(), "MSN plugin is ingeschakeld");
}

}  // namespace
}  // namespace tb
