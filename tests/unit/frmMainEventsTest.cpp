// Events entering the bar: an error escaping a handler stops at the handler's wiring with its
// log line, and a press keeps the mouse with what it began on, through the form's own routing.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "common/ProgramError.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWinamp.h"
#include "winamp/WinampMessages.h"

namespace tb {
namespace {

using enum MouseAction;

// A desktop whose posts or queries fail with an exception, as a broken system call would.
struct FailingDesktop : sim::SimDesktop {
    std::function<void()> failPost;
    bool failQueries = false;
    bool postMessage(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l) override {
        if (failPost) failPost();
        return SimDesktop::postMessage(hwnd, msg, w, l);
    }
    std::optional<LResult> sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l,
                                              std::uint32_t timeoutMs) override {
        if (failQueries) throw std::runtime_error("query");
        return SimDesktop::sendMessageTimeout(hwnd, msg, w, l, timeoutMs);
    }
};

class BarEvents : public ::testing::Test {
protected:
    BarEvents() {
        desk.setExeFolder("C:\\Apps");
        desk.setLocalTime({2026, 12, 5, 16, 7, 9});
        desk.setCommandArguments("/debug");
        bar.Load();
        bar.Show();
        desk.advance(50);
    }
    std::string log() {
        return desk.files().readFile("C:\\Apps\\log05122026160709.log").value_or("");
    }
    // The screen point at the middle of a control, or at a client point of the bar.
    Point on(const Control& c) {
        const Rect b = c.bounds();
        return at((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    Point at(std::int32_t x, std::int32_t y) {
        return {desk.clientRect(bar.hWnd()).left + x, desk.clientRect(bar.hWnd()).top + y};
    }
    void click(Point p) {
        desk.mouse(p, Down, mouse::Left);
        desk.mouse(p, Up, mouse::Left);
    }
    int plays() {
        int n = 0;
        for (const auto& j : winamp.model().journal())
            n += j.msg == wm::WM_COMMAND && j.wParam == winamp::cmd::Play;
        return n;
    }

    FailingDesktop desk;
    sim::SimRegistry registry;
    sim::SimWinamp winamp{desk};
    AppContext app{desk, registry};
    frmMain bar{app};
};

TEST_F(BarEvents, AnErrorInAHandlerIsLoggedWithItsNameAndNumberAndTheBarGoesOn) {
    const struct {
        std::function<void()> fail;
        const char* line;
    } cases[] = {
        {[] { throw ProgramError(errnum::Overflow); }, "ERR: btnPlay_Click mislukt, foutcode 6"},
        {[] { throw std::bad_alloc(); }, "ERR: btnPlay_Click mislukt, foutcode 7"},
        {[] { throw std::runtime_error("x"); }, "ERR: btnPlay_Click mislukt, foutcode 51"},
    };
    for (const auto& c : cases) {
        desk.failPost = c.fail;
        click(on(bar.btnPlay));
        EXPECT_NE(log().find(std::string(c.line) + "\r\n"), std::string::npos) << c.line << log();
    }
    desk.failPost = nullptr;
    click(on(bar.btnPlay));
    desk.advance(1500);
    EXPECT_TRUE(bar.isLoaded());
    EXPECT_TRUE(desk.isWindowVisible(bar.hWnd()));
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(desk.escapedErrors().empty()) << "nothing reached the host";
}

TEST_F(BarEvents, AFailingSynchronisationStillBringsTheTimersBackAndEndsTheBarOnTime) {
    bar.Form_TaskBar1_EndCloseUp();
    desk.failQueries = true;
    bar.Form_TaskBar1_StartOpenUp();
    EXPECT_NE(log().find("ERR: tmrSync_Timer mislukt, foutcode 51\r\n"), std::string::npos);
    EXPECT_TRUE(bar.tmrSync.Enabled() && bar.tmrTitel.Enabled());
    desk.failQueries = false;

    // The automatic close comes even when what runs before it fails.
    bar.coupling.onBeforeEndNow = [] { throw std::runtime_error("withdrawal"); };
    app.settings.bAutoSluit = true;
    winamp.kill();
    EXPECT_THROW(desk.advance(31'000), sim::SimProcessExit);
}

TEST_F(BarEvents, APressKeepsTheMouseWithWhereItBeganUntilTheRelease) {
    int sliderClicks = 0;
    bar.sliderProgress.onClick = [&] { ++sliderClicks; };
    const Point background = at(265, 40);
    const struct {
        const char* from;
        Point start;
    } presses[] = {{"lblOptie", on(bar.lblOptie)},
                   {"background", background},
                   {"imgTopLeft", on(bar.imgTopLeft)}};
    for (const auto& p : presses) {
        desk.mouse(background, Move);
        const std::string hint = bar.lblOptie.Caption();
        desk.mouse(p.start, Down, mouse::Left);
        desk.mouse(on(bar.btnNext), Move);
        desk.advance(20);
        EXPECT_EQ(bar.btnNext.Look(), art::Look::Normal) << p.from;
        EXPECT_FALSE(bar.btnNext.HoverTimerRunning()) << p.from;
        EXPECT_EQ(bar.lblOptie.Caption(), hint) << p.from << ": no MouseMove of the button";
        desk.mouse(on(bar.sliderProgress), Move);
        desk.mouse(on(bar.sliderProgress), Up, mouse::Left);
        EXPECT_EQ(sliderClicks, 0) << p.from;
        EXPECT_EQ(desk.capture(), 0u) << p.from;
    }
    // Once released, the same moves and clicks reach the controls again.
    desk.mouse(on(bar.btnNext), Move);
    EXPECT_EQ(bar.lblOptie.Caption(), "Volgend nummer");
    click(on(bar.sliderProgress));
    EXPECT_EQ(sliderClicks, 1);
}

}  // namespace
}  // namespace tb
