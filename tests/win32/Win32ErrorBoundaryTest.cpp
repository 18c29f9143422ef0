// No exception crosses a window procedure, a hook or a timer callback of the real host.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

TEST(Win32ErrorBoundary, AnErrorEscapingAHandlerAHookOrATimerStopsAtTheHost) {
    struct Throwing : WindowHandler, MessageHook {
        std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam) override {
            if (msg == WM_USER) throw std::runtime_error("handler");
            return 2;
        }
        std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam, LParam) override {
            if (msg == WM_USER + 1) throw std::runtime_error("hook");
            return std::nullopt;
        }
    } handler;
    win32::Win32Desktop desktop;
    const Hwnd h = desktop.createWindow({"TbTestThrowing", "", {0, 0, 50, 50}}, &handler);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(desktop.setMessageHook(h, &handler));
    EXPECT_EQ(desktop.sendMessage(h, WM_USER, 0, 0), 0) << "the default answer";
    EXPECT_EQ(desktop.sendMessage(h, WM_USER + 1, 0, 0), 2) << "the handler still gets it";
    int ticks = 0;
    desktop.startTimer(20, [&] {
        if (++ticks == 1) throw std::runtime_error("timer");
    });
    EXPECT_TRUE(pumpUntil(desktop, [&] { return ticks >= 3; }));
    EXPECT_TRUE(desktop.isWindow(h));
}

}  // namespace
}  // namespace tb::test
