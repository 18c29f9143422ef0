// No exception crosses a window procedure, a hook or a timer callback of the real host; an error
// in one of the bar's handlers is logged by name and the bar goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "Win32TestSupport.h"
#include "app/AppContext.h"
#include "app/frmMain.h"
#include "common/ProgramError.h"
#include "platform/sim/SimRegistry.h"
#include "platform/win32/Win32Desktop.h"
#include "winamp/WinampMessages.h"

namespace tb::test {
namespace {

TEST(Win32ErrorBoundary, AnErrorEscapingAHandlerAHookOrATimerStopsAtTheHost) {
    struct Throwing : WindowHandler, MessageHook {
        std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam) override {
            if (msg == wm::WmUser) throw std::runtime_error("handler");
            return 2;
        }
        std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam, LParam) override {
            if (msg == wm::WmUser + 1) throw std::runtime_error("hook");
            return std::nullopt;
        }
    } handler;
    win32::Win32Desktop desktop;
    const Hwnd h = desktop.createWindow({"TbTestThrowing", "", {0, 0, 50, 50}}, &handler);
    ASSERT_TRUE(desktop.setMessageHook(h, &handler));
    EXPECT_EQ(desktop.sendMessage(h, wm::WmUser, 0, 0), 0) << "the default answer";
    EXPECT_EQ(desktop.sendMessage(h, wm::WmUser + 1, 0, 0), 2) << "the handler still gets it";
    int ticks = 0;
    desktop.startTimer(20, [&] {
        if (++ticks == 1) throw std::runtime_error("timer");
    });
    EXPECT_TRUE(pumpUntil(desktop, [&] { return ticks >= 3; }));
    EXPECT_TRUE(desktop.isWindow(h));
}

// The real desktop, with a debug log in a folder of the test's own and posts that may fail.
struct FailingDesktop : win32::Win32Desktop {
    bool failPosts = false;
    std::string folder = tempPath("boundary");
    bool postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) override {
        if (failPosts) throw ProgramError(errnum::Overflow);
        return Win32Desktop::postMessage(hwnd, msg, w, l);
    }
    std::string commandArguments() override { return "/debug"; }
    std::string exeFolder() override { return folder; }
};

TEST(Win32ErrorBoundary, AFailingClickOnARealBarIsLoggedAndTheBarGoesOn) {
    struct Player : WindowHandler {
        int plays = 0;
        std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
            plays += msg == wm::WmCommand && w == winamp::cmd::Play;
            return std::nullopt;
        }
    } player;
    FailingDesktop desktop;
    std::filesystem::create_directories(desktop.folder);
    ASSERT_NE(desktop.createWindow({"Winamp v1.x", "Player", {0, 200, 100, 250}}, &player), 0u);
    sim::SimRegistry registry;
    AppContext app(desktop, registry);
    frmMain bar(app);
    ASSERT_TRUE(bar.Load());
    bar.Show();
    const auto clickPlay = [&] {
        const LPARAM at = MAKELPARAM(bar.btnPlay.bounds().left + 5, bar.btnPlay.bounds().top + 5);
        PostMessageA(reinterpret_cast<HWND>(bar.hWnd()), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(reinterpret_cast<HWND>(bar.hWnd()), WM_LBUTTONUP, 0, at);
    };
    const std::string logPath = app.debugWriter().filePath();
    desktop.failPosts = true;
    clickPlay();
    EXPECT_TRUE(pumpUntil(desktop, [&] {
        return desktop.readFile(logPath).value_or("").find(
                   "ERR: btnPlay_Click mislukt, foutcode 6\r\n") != std::string::npos;
    })) << desktop.readFile(logPath).value_or("(no log)");
    desktop.failPosts = false;
    clickPlay();
    EXPECT_TRUE(pumpUntil(desktop, [&] { return player.plays == 1; }));
    EXPECT_TRUE(bar.isLoaded() && IsWindowVisible(reinterpret_cast<HWND>(bar.hWnd())));
    bar.Unload();
    app.releaseDebugWriter();
    std::filesystem::remove_all(desktop.folder);
}

}  // namespace
}  // namespace tb::test
