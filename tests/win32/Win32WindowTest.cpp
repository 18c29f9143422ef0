// A shown window on the real desktop: what its paint puts on the screen.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

TEST(Win32Window, PaintsThroughItsHandlerWithoutErasing) {
    struct Handler : WindowHandler {
        int paints = 0;
        Rect drawn;
        void onPaint(Canvas& c) override {
            ++paints;
            drawn = c.clipBox();
            c.fillRect({0, 0, c.size().cx, c.size().cy}, kBlue);
            c.fillRect({10, 10, 20, 20}, kRed);
        }
    } handler;
    win32::Win32Desktop desktop;
    const Hwnd h = desktop.createWindow({"TbTestPaint", "", Rect::fromXYWH(400, 300, 200, 100),
                                         wsex::WsExTopmost | wsex::WsExToolWindow, true},
                                        &handler);
    desktop.setForegroundWindow(h);
    ASSERT_TRUE(pumpUntil(desktop, [&] { return handler.paints > 0; }));
    // Erasing would paint the class brush first and flicker; the window answers it itself.
    HWND hwnd = reinterpret_cast<HWND>(h);
    HDC dc = GetDC(hwnd);
    EXPECT_NE(SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    EXPECT_EQ(GetPixel(dc, 12, 12), kRed);
    EXPECT_EQ(GetPixel(dc, 30, 30), kBlue);
    ReleaseDC(hwnd, dc);

    const int before = handler.paints;
    desktop.invalidate(h);
    EXPECT_TRUE(pumpUntil(desktop, [&] { return handler.paints > before; }));
    // A part the program invalidates is drawn alone; what only the system asks for (a part
    // coming into view) is shown from the back buffer without drawing.
    desktop.invalidateRect(h, {5, 5, 15, 15});
    EXPECT_TRUE(pumpUntil(desktop, [&] { return handler.paints > before + 1; }));
    EXPECT_EQ(handler.drawn, (Rect{5, 5, 15, 15}));
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(handler.paints, before + 2);
    dc = GetDC(hwnd);
    EXPECT_EQ(GetPixel(dc, 12, 12), kRed);
    ReleaseDC(hwnd, dc);
    desktop.destroyWindow(h);
}

}  // namespace
}  // namespace tb::test
