#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

struct Recorder : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::vector<MouseEvent> mice;
    int paints = 0;
    std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam) override {
        messages.push_back(msg);
        return 7;
    }
    void onMouse(const MouseEvent& e) override { mice.push_back(e); }
    void onPaint(Canvas& c) override {
        ++paints;
        c.fillRect({0, 0, 4, 4}, rgb(1, 2, 3));
    }
};

TEST(SimDesktop, RunsTimersPostsAndPaintsOnTheVirtualClock) {
    SimDesktop desk;
    Recorder rec;
    const Hwnd hw =
        desk.createWindow({"Cls", "Cap", Rect::fromXYWH(10, 10, 20, 20), 0, true}, &rec);
    int ticks = 0;
    desk.startTimer(100, [&] { ++ticks; });
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_USER, 1, 2));
    const auto start = desk.tickCountMs();
    desk.advance(1000);
    EXPECT_EQ(desk.tickCountMs(), start + 1000);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(rec.messages, std::vector<std::uint32_t>{wm::WM_USER});
    EXPECT_EQ(desk.paintCount(hw), 1);
    EXPECT_EQ(desk.frame(hw).at(3, 3), rgb(1, 2, 3));
    EXPECT_EQ(desk.frame(hw).at(4, 4), 0u);
}

}  // namespace
}  // namespace tb::sim
