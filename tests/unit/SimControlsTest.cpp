// What only the simulated trackbar lets a test do cheaply: drag its thumb with the mouse.
#include <gtest/gtest.h>

#include "controls/NativeControls.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

struct Recorder : Trackbar {
    using Trackbar::Trackbar;
    std::vector<int> requests;
    void onScroll(int request) override {
        requests.push_back(request);
        Trackbar::onScroll(request);
    }
};

TEST(SimTrackbar, DraggingTheThumbTracksEveryPositionAndAPressBesideItPages) {
    sim::SimDesktop desk;
    WindowSpec spec{"TbDialog", "Instellingen", Rect::fromXYWH(100, 100, 340, 270)};
    spec.dialog = spec.visible = true;
    const Hwnd dialog = desk.createWindow(spec, nullptr);
    Recorder slider(desk);
    ASSERT_TRUE(slider.create(dialog, Rect::fromXYWH(20, 40, 300, 30), 1));
    slider.setRange(0, 70);
    slider.setValue(10);
    int changes = 0;
    slider.onChange = [&] { ++changes; };
    const auto at = [&](int value) { return *desk.trackbarPoint(slider.hWnd(), value); };

    using namespace tbr;
    desk.mouse(at(10), MouseAction::Down);
    EXPECT_EQ(desk.focus(), slider.hWnd());
    struct Row {
        Point to;
        int value;
    } drag[] = {{at(20), 20}, {at(35), 35}, {{at(70).x + 200, at(0).y + 80}, 70}, {at(35), 35}};
    for (const Row& step : drag) {
        desk.mouse(step.to, MouseAction::Move);
        EXPECT_EQ(slider.Value(), step.value);
    }
    desk.mouse(at(35), MouseAction::Up);
    EXPECT_EQ(slider.requests, (std::vector<int>{TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBTRACK,
                                                 TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK}));
    EXPECT_EQ(changes, 4);

    slider.requests.clear();
    desk.mouse(at(60), MouseAction::Down);
    desk.mouse(at(60), MouseAction::Up);
    EXPECT_EQ(slider.Value(), 35 + 14) << "a page is a fifth of the range";
    EXPECT_EQ(slider.requests, (std::vector<int>{TB_PAGEDOWN, TB_ENDTRACK}));
    desk.mouse(at(20), MouseAction::Move);
    EXPECT_EQ(slider.Value(), 49) << "no drag without a press on the thumb";
}

}  // namespace
}  // namespace tb
