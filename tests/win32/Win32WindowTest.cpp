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

WindowSpec spec(const char* cls, Rect bounds = Rect::fromXYWH(40, 40, 200, 100)) {
    WindowSpec s;
    s.className = cls;
    s.caption = "Test";
    s.bounds = bounds;
    return s;
}

TEST(Win32Window, MouseMessagesBecomeEventsInSignedClientPixels) {
    win32::Win32Desktop desktop;
    Recorder r;
    HWND hwnd = reinterpret_cast<HWND>(desktop.createWindow(spec("TbTestMouse"), &r));
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

TEST(Win32Window, SizeIsReportedOnlyWhenTheOuterSizeChanges) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hwnd h = desktop.createWindow(spec("TbTestSize"), &r);
    ASSERT_NE(h, 0u);
    desktop.showWindow(h, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(r.sizes.empty()) << "creation and showing keep the size asked for";
    desktop.moveWindow(h, Rect::fromXYWH(80, 60, 200, 100));
    EXPECT_TRUE(r.sizes.empty()) << "a move is no resize";
    desktop.moveWindow(h, Rect::fromXYWH(80, 60, 300, 90));
    ASSERT_EQ(r.sizes.size(), 1u);
    EXPECT_EQ(r.sizes[0], (Size{300, 90}));
    desktop.showWindow(h, SW_MINIMIZE);
    desktop.showWindow(h, SW_RESTORE);
    EXPECT_EQ(r.sizes.size(), 1u) << "minimise and restore give the same outer size";
}

TEST(Win32Window, ACloseRequestCanBeRefused) {
    win32::Win32Desktop desktop;
    Recorder r;
    Hwnd h = desktop.createWindow(spec("TbTestClose"), &r);
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
    WindowSpec s = spec("TbTestCapture");
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
    Hwnd h = desktop.createWindow(spec("TbTestDestroyInside"), &r);
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
    Hwnd h = desktop.createWindow(spec("TbTestWheel"), &r);
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
        h = desktop.createWindow(spec("TbTestOwned"), &r);
        ASSERT_NE(h, 0u);
    }
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(h)));
    EXPECT_EQ(r.destroyed, 0);
}

}  // namespace
}  // namespace tb::test
