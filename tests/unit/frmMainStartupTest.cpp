#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"
#include "settings/InstellingenStore.h"

namespace tb {
namespace {

// A window (of the player or the Messenger) that records what reaches it.
struct FakePlayer : WindowHandler {
    std::vector<std::pair<std::uint32_t, WParam>> received;
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
        received.emplace_back(msg, w);
        return 0;
    }
    LResult onCopyData(Hwnd, std::uintptr_t dwData, std::span<const std::uint8_t>) override {
        received.emplace_back(wm::WM_COPYDATA, dwData);
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
    // A setting as the settings window stores it.
    void store(const char* name, std::int32_t value) {
        app.registryAccess().WriteDWORD(instellingen::kSleutel, name, value);
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
        EXPECT_EQ(*r, Rect::fromXYWH((1024 - 542) / 2, -94, 542, 96));  // parked at the edge
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
              "Instellingen laden\r\nInstellingen laden OK\r\nSneltoetsen laden\r\n"
              "Sneltoetsen laden OK\r\nRefresh playlist\r\nRefresh playlist OK\r\n"
              "Tunebalk load OK\r\nWheelUnhook\r\nWheelUnhook OK\r\n"
              "Log eind (05-12-2026, 16:07:09)\r\n");
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

TEST_F(StartupTest, ASecondInstanceIsRefusedBeforeItsSettingsLoadAndReachesNothing) {
    desk.claimByOtherInstance("Oxalmo.Tunebalk4.Instance");
    desk.setCommandArguments("/debug");
    // The running bar's settings: the refused one never reads them, so its close steps find
    // everything off.
    store(instellingen::kSluitWinamp, 1);
    store(instellingen::kMSNPlugin, 1);
    store(instellingen::kStartWinamp, 1);
    startPlayer();
    FakePlayer messenger;
    desk.createWindowIn(desk.createProcess("msnmsgr.exe"),
                        {"MsnMsgrUIManager", "", Rect::fromXYWH(0, 0, 0, 0)}, &messenger);
    const std::string registryBefore = registry.dump(reg::HkeyCurrentUser);
    {
        frmMain bar(app);
        EXPECT_FALSE(bar.Load());
        EXPECT_FALSE(bar.isLoaded());
        desk.advance(60000);  // whatever it posted or started has run by now
        EXPECT_FALSE(desk.isWindow(bar.hWnd()));
    }
    app.releaseDebugWriter();
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].text, "Er is al een Tunebalk sessie actief!");
    EXPECT_EQ(desk.messageBoxes()[0].caption, "Tunebalk");
    EXPECT_EQ(desk.messageBoxes()[0].flags, mb::MB_OK | mb::MB_ICONEXCLAMATION);
    EXPECT_TRUE(desk.files().filesIn("C:\\Apps").empty());
    EXPECT_TRUE(player.received.empty());
    EXPECT_TRUE(messenger.received.empty());
    EXPECT_TRUE(desk.startedPrograms().empty());
    EXPECT_EQ(registry.dump(reg::HkeyCurrentUser), registryBefore);
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
        store(instellingen::kSluitWinamp, c.sluit);
        AppContext fresh(desk, registry);
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
    store(instellingen::kStartWinamp, 1);
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
    EXPECT_EQ(desk.windowRect(bar.hWnd()), Rect::fromXYWH(241, -94, 542, 96));

    store(instellingen::kVerbergPlaylist, 1);
    AppContext hidden(desk, registry);
    newProcess();
    frmMain narrow(hidden);
    narrow.Load();
    EXPECT_EQ(desk.windowRect(narrow.hWnd())->width(), 271);
}

TEST_F(StartupTest, LabelsShowTheirDesignCaptionsInTheTextColour) {
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

    store(instellingen::kMSNPlugin, 1);
    AppContext on(desk, registry);
    newProcess();
    frmMain bar2(on);
    bar2.Load();
    EXPECT_EQ(bar2.lblOptie.Caption(), "MSN plugin is ingeschakeld");
}

TEST_F(StartupTest, TheStoredTransparencyIsAppliedAtStartAndEachPercentageGivesItsOpacity) {
    store(instellingen::kTrans, 40);
    frmMain bar(app);
    ASSERT_TRUE(bar.Load());
    EXPECT_TRUE(desk.exStyle(bar.hWnd()) & wsex::WS_EX_LAYERED);
    EXPECT_EQ(desk.window(bar.hWnd())->layeredAlpha, 153);
    // Percentage -> opacity, halves to even; past 100 the opacity is negative: nothing changes.
    const std::pair<std::int16_t, std::uint8_t> cases[] = {{0, 255},  {20, 204},  {60, 102},
                                                           {10, 230}, {101, 230}, {70, 76}};
    for (const auto& [percentage, opacity] : cases) {
        bar.SetTransparantie(percentage);
        EXPECT_EQ(desk.window(bar.hWnd())->layeredAlpha, opacity) << percentage;
    }
}

}  // namespace
}  // namespace tb
