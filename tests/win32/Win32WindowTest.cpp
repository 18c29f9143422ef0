#include <gtest/gtest.h>
#include <windowsx.h>

#include <optional>
#include <vector>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

struct Recorder : WindowHandler {
    std::vector<MouseEvent> mouse;
    std::vector<Size> sizes;
    int captureLost = 0;
    int destroyed = 0;
    int closeRequests = 0;
    bool allowClose = true;
    std::function<void()> onUser;
    void onMouse(const MouseEvent& e) override { mouse.push_back(e); }
    void onSize(Size s) override { sizes.push_back(s); }
    void onCaptureLost() override { ++captureLost; }
    bool onCloseRequest() override {
        ++closeRequests;
        return allowClose;
    }
    void onDestroy() override { ++destroyed; }
    std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam) override {
        if (msg == WM_USER && onUser) {
            onUser();
            return 1;
        }
        return std::nullopt;
    }
};

WindowSpec windowSpec(const char* cls, Rect bounds = Rect::fromXYWH(40, 40, 200, 100)) {
    WindowSpec s;
    s.className = cls;
    s.caption = "Test";
    s.bounds = bounds;
    return s;
}

TEST(Win32Window, MouseMessagesBecomeEventsInSignedClientPixels) {
    win32::Win32Desktop desktop;
    Recorder r;
    HWND hwnd = reinterpret_cast<HWND>(desktop.createWindow(windowSpec("TbTestMouse"), &r));
    ASSERT_TRUE(hwnd);
    struct Case {
        UINT msg;
        WPARAM keys;
        int x, y;
        MouseAction action;
        int button, buttons;
        bool shift, ctrl;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 5, 7, MouseAction::Down, mouse::Left, mouse::Left,
         true, false},
        {WM_MOUSEMOVE, MK_LBUTTON, -12, -3, MouseAction::Move, 0, mouse::Left, false, false},
        {WM_LBUTTONUP, 0, 250, 130, MouseAction::Up, mouse::Left, 0, false, false},
        {WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, 1, 2, MouseAction::Down, mouse::Right,
         mouse::Right, false, true},
        {WM_RBUTTONDBLCLK, MK_RBUTTON | MK_LBUTTON, 3, 4, MouseAction::DoubleClick, mouse::Right,
         mouse::Right | mouse::Left, false, false},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 0, 0, MouseAction::DoubleClick, mouse::Left, mouse::Left,
         false, false},
        {WM_MBUTTONUP, 0, -32768, 32767, MouseAction::Up, mouse::Middle, 0, false, false},
    };
    for (const auto& c : cases) {
        SendMessageA(hwnd, c.msg, c.keys, MAKELPARAM(c.x, c.y));
    }
    ASSERT_EQ(r.mouse.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const auto& e = r.mouse[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(e.action, c.action);
        EXPECT_EQ(e.button, c.button);
        EXPECT_EQ(e.buttons, c.buttons);
        EXPECT_EQ(e.shift, c.shift);
        EXPECT_EQ(e.ctrl, c.ctrl);
        EXPECT_EQ(e.pos, (Point{c.x, c.y}));
    }
}

TEST(Win32Window, TwoQuickClicksArriveAsADoubleClick) {
    win32::Win32Desktop desktop;
    Recorder r;
    WindowSpec s = windowSpec("TbTestDoubleClick", Rect::fromXYWH(100, 100, 200, 100));
    s.exStyle = WS_EX_TOPMOST;
    s.visible = true;
    Hwnd h = desktop.createWindow(s, &r);
    ASSERT_NE(h, 0u);
    desktop.setForegroundWindow(h);
    desktop.doEvents();
    SetCursorPos(150, 140);
    INPUT clicks[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                            MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = flags[i];
    }
    ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
    std::vector<MouseAction> seen;
    ASSERT_TRUE(pumpUntil(desktop, [&] {
        seen.clear();
        for (const auto& e : r.mouse) {
            if (e.action != MouseAction::Move) seen.push_back(e.action);
        }
        return seen.size() >= 4;
    }));
    const std::vector<MouseAction> expected = {MouseAction::Down, MouseAction::Up,
                                               MouseAction::DoubleClick, MouseAction::Up};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(r.mouse.back().pos, (Point{50, 40}));
}

TEST(Win32Window, SizeIsReportedOnlyWhenTheOuterSizeChanges) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hwnd h = desktop.createWindow(windowSpec("TbTestSize"), &r);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(r.sizes, std::vector<Size>{(Size{200, 100})}) << "creation reports the first size";
    desktop.showWindow(h, SW_SHOWNOACTIVATE);
    desktop.moveWindow(h, Rect::fromXYWH(80, 60, 200, 100));
    EXPECT_EQ(r.sizes.size(), 1u) << "neither showing nor moving is a resize";
    desktop.moveWindow(h, Rect::fromXYWH(80, 60, 300, 90));
    ASSERT_EQ(r.sizes.size(), 2u);
    EXPECT_EQ(r.sizes[1], (Size{300, 90}));
    desktop.showWindow(h, SW_MINIMIZE);
    desktop.showWindow(h, SW_RESTORE);
    EXPECT_EQ(r.sizes.size(), 2u) << "minimise and restore give the same outer size";
}

TEST(Win32Window, ACloseRequestCanBeRefused) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hwnd h = desktop.createWindow(windowSpec("TbTestClose"), &r);
    r.allowClose = false;
    desktop.sendMessage(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(desktop.isWindow(h));
    EXPECT_EQ(r.destroyed, 0);
    r.allowClose = true;
    desktop.sendMessage(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(desktop.isWindow(h));
    EXPECT_EQ(r.closeRequests, 2);
    EXPECT_EQ(r.destroyed, 1);
}

TEST(Win32Window, LosingTheCaptureIsReported) {
    win32::Win32Desktop desktop;
    Recorder r;
    WindowSpec s = windowSpec("TbTestCapture");
    s.visible = true;
    Hwnd h = desktop.createWindow(s, &r);
    desktop.setCapture(h);
    EXPECT_EQ(r.captureLost, 0);
    desktop.releaseCapture();
    EXPECT_EQ(r.captureLost, 1);
}

struct Hook : MessageHook {
    std::vector<std::uint32_t> seen;
    std::function<std::optional<LResult>(std::uint32_t)> answer;
    std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam, LParam) override {
        seen.push_back(msg);
        return answer ? answer(msg) : std::nullopt;
    }
};

TEST(Win32Window, AHandlerMayDestroyItsWindowWhileAHookWatches) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hook hook;
    Hwnd h = desktop.createWindow(windowSpec("TbTestDestroyInside"), &r);
    ASSERT_TRUE(desktop.setMessageHook(h, &hook));
    r.onUser = [&] { desktop.destroyWindow(h); };
    desktop.sendMessage(h, WM_USER, 0, 0);
    EXPECT_FALSE(desktop.isWindow(h));
    EXPECT_EQ(r.destroyed, 1);
    EXPECT_NE(std::find(hook.seen.begin(), hook.seen.end(), WM_DESTROY), hook.seen.end());
}

TEST(Win32Window, WheelMessagesReachTheHookBeforeTheHandler) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hook hook;
    Hwnd h = desktop.createWindow(windowSpec("TbTestWheel"), &r);
    ASSERT_TRUE(desktop.setMessageHook(h, &hook));
    EXPECT_FALSE(desktop.setMessageHook(h, &hook)) << "one hook per window";
    hook.answer = [](std::uint32_t msg) -> std::optional<LResult> {
        if (msg == WM_USER) return 42;
        return std::nullopt;
    };
    bool handlerSawUser = false;
    r.onUser = [&] { handlerSawUser = true; };
    EXPECT_EQ(desktop.sendMessage(h, WM_USER, 0, 0), 42);
    EXPECT_FALSE(handlerSawUser);
    SendMessageA(reinterpret_cast<HWND>(h), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(hook.seen.back(), WM_MOUSEWHEEL);
    EXPECT_TRUE(desktop.removeMessageHook(h));
    EXPECT_FALSE(desktop.removeMessageHook(h));
    EXPECT_EQ(desktop.sendMessage(h, WM_USER, 0, 0), 1);
    EXPECT_TRUE(handlerSawUser);
    // Windows of other classes (here the desktop's own) take no hook through the port.
    EXPECT_FALSE(desktop.setMessageHook(reinterpret_cast<Hwnd>(GetDesktopWindow()), &hook));
}

TEST(Win32Window, ADesktopTakesItsWindowsAlongWithoutCallingTheirHandlers) {
    Hwnd h = 0;
    Recorder r;
    {
        win32::Win32Desktop desktop;
        h = desktop.createWindow(windowSpec("TbTestOwned"), &r);
        ASSERT_NE(h, 0u);
    }
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(h)));
    EXPECT_EQ(r.destroyed, 0);
}

}  // namespace
}  // namespace tb::test
