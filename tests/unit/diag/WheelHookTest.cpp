#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diag/WheelHook.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

struct Keys : WindowHandler {
    std::vector<int> keys;
    int wheels = 0;
    void onKeyDown(int key) override { keys.push_back(key); }
    std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam) override {
        wheels += msg == wm::WmMouseWheel;
        return std::nullopt;
    }
};

class Wheel : public ::testing::Test {
protected:
    sim::SimDesktop desk;
    Keys bar, playlist;
    Hwnd barWindow = desk.createWindow({"Bar", "", Rect::fromXYWH(0, 0, 100, 50), 0, true}, &bar);
    Hwnd listWindow = desk.createWindow({"List", "", Rect::fromXYWH(0, 100, 9, 9)}, &playlist);
    std::string lines;
    WheelHook hook{desk, [this](std::string_view l) { lines.append(l).append("|"); }};
};

TEST_F(Wheel, HookAndUnhookLogOnceEachAndASecondCallOnlyItsFirstLine) {
    hook.Unhook(barWindow);
    hook.Hook(barWindow);
    hook.Hook(barWindow);
    hook.Unhook(barWindow);
    EXPECT_EQ(lines, "WheelUnhook|WheelHook|WheelHook OK|WheelHook|WheelUnhook|WheelUnhook OK|");
    EXPECT_FALSE(hook.Hooked());
}

TEST_F(Wheel, EveryWheelMessageIsOneEntryUpOrDownByItsSignAndGoesOn) {
    hook.Hook(barWindow);
    desk.wheel({10, 10}, 120);  // before the view is known: only passed on
    hook.hWndPlaylist = listWindow;
    for (int delta : {120, 960, -120, -1}) desk.wheel({10, 10}, delta);
    EXPECT_EQ(playlist.keys, (std::vector<int>{1000, 1000, 1001, 1001}));
    EXPECT_EQ(bar.wheels, 5);
    hook.Unhook(barWindow);
    desk.wheel({10, 10}, 120);
    EXPECT_EQ(playlist.keys.size(), 4u);
}

}  // namespace
}  // namespace tb
