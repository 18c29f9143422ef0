// A shown window on the real desktop: what its paint puts on the screen, what real clicks give.
#include <gtest/gtest.h>

#include <vector>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

struct Handler : WindowHandler {
    int paints = 0;
    std::vector<MouseEvent> mouse;
    void onPaint(Canvas& c) override {
        ++paints;
        c.fillRect({0, 0, c.size().cx, c.size().cy}, kBlue);
        c.fillRect({10, 10, 20, 20}, kRed);
    }
    void onMouse(const MouseEvent& e) override { mouse.push_back(e); }
};

class Win32Window : public ::testing::Test {
protected:
    // A topmost window at (x, y), shown and painted once.
    HWND show(const char* cls, int x, int y) {
        WindowSpec s;
        s.className = cls;
        s.bounds = Rect::fromXYWH(x, y, 200, 100);
        s.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        s.visible = true;
        h = desktop.createWindow(s, &handler);
        desktop.setForegroundWindow(h);
        EXPECT_TRUE(pumpUntil(desktop, [&] { return handler.paints > 0; }));
        return reinterpret_cast<HWND>(h);
    }
    win32::Win32Desktop desktop;
    Handler handler;
    Hwnd h = 0;
};

TEST_F(Win32Window, PaintsThroughItsHandlerWithoutErasing) {
    HWND hwnd = show("TbTestPaint", 400, 300);
    ASSERT_TRUE(hwnd);
    // Erasing would paint the class brush first and flicker; the window answers it itself.
    HDC wdc = GetDC(hwnd);
    EXPECT_NE(SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(wdc), 0), 0);
    EXPECT_EQ(GetPixel(wdc, 12, 12), kRed);
    EXPECT_EQ(GetPixel(wdc, 30, 30), kBlue);
    ReleaseDC(hwnd, wdc);

    const int before = handler.paints;
    desktop.invalidate(h);
    EXPECT_TRUE(pumpUntil(desktop, [&] { return handler.paints > before; }));
}

TEST_F(Win32Window, TwoQuickRealClicksArriveAsADoubleClickInClientPixels) {
    ASSERT_TRUE(show("TbTestDoubleClick", 100, 100));
    SetCursorPos(150, 140);
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
    std::vector<MouseAction> seen;
    ASSERT_TRUE(pumpUntil(desktop, [&] {
        seen.clear();
        for (const auto& e : handler.mouse)
            if (e.action != MouseAction::Move) seen.push_back(e.action);
        return seen.size() >= 4;
    }));
    const std::vector<MouseAction> expected = {MouseAction::Down, MouseAction::Up,
                                               MouseAction::DoubleClick, MouseAction::Up};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(handler.mouse.back().pos, (Point{50, 40}));
    EXPECT_EQ(handler.mouse.back().button, mouse::Left);
}

}  // namespace
}  // namespace tb::test
