// The edge dock on a real window: parked, shown under the real pointer, hidden again.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "app/Form.h"
#include "dock/Form_TaskBar.h"
#include "platform/win32/Win32Desktop.h"

namespace tb::test {
namespace {

TEST(Win32Dock, ParksAtTheTopCentredAndSlidesUnderTheRealPointerWithoutActivating) {
    win32::Win32Desktop desktop;
    Form_TaskBar dock(desktop);
    Form form(desktop);
    form.addControl(dock);
    form.createWindow({"TbDockTest", "", Rect::fromXYWH(0, 300, 542, 96), WS_EX_TOOLWINDOW, true});
    Form other(desktop);
    other.createWindow({"TbDockOther", "", Rect::fromXYWH(0, 500, 200, 100), 0, true});
    desktop.setForegroundWindow(other.hWnd());
    SetCursorPos(5, 700);

    const auto top = [&] { return desktop.windowRect(form.hWnd()).value_or(Rect{}).top; };
    ASSERT_TRUE(pumpUntil(desktop, [&] { return dock.HostForm() != 0; }));

    const int left = (desktop.screenSize().cx - 542) / 2;
    EXPECT_EQ(desktop.windowRect(form.hWnd()), Rect::fromXYWH(left, -94, 542, 96));
    EXPECT_TRUE(GetWindowLongA(reinterpret_cast<HWND>(form.hWnd()), GWL_EXSTYLE) & WS_EX_TOPMOST);

    SetCursorPos(left + 10, 0);
    EXPECT_TRUE(pumpUntil(
        desktop, [&] { return top() == 0; }, 1000))
        << top();
    EXPECT_EQ(desktop.foregroundWindow(), other.hWnd()) << "hovering must not activate";

    SetCursorPos(5, 700);
    EXPECT_TRUE(pumpUntil(
        desktop, [&] { return top() == -94; }, 1000))
        << top();
    EXPECT_FALSE(dock.IsTaskbarOut());
}

}  // namespace
}  // namespace tb::test
