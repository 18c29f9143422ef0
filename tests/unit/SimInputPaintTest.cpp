#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

struct Form : WindowHandler {
    std::vector<MouseEvent> mice;
    int captureLost = 0;
    int paints = 0;
    std::function<void(Canvas&)> painter;
    void onMouse(const MouseEvent& e) override { mice.push_back(e); }
    void onCaptureLost() override { ++captureLost; }
    void onPaint(Canvas& c) override {
        ++paints;
        if (painter) painter(c);
    }
};

struct WheelHook : MessageHook {
    std::vector<WParam> wheels;
    std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam w, LParam) override {
        if (msg == wm::WM_MOUSEWHEEL) wheels.push_back(w);
        return std::nullopt;
    }
};

WindowSpec visible(std::string cls, Rect r, bool popup = true) {
    WindowSpec s;
    s.className = std::move(cls);
    s.bounds = r;
    s.visible = true;
    s.popup = popup;
    return s;
}

TEST(SimInput, MouseGoesToTheWindowUnderThePointOrTheCaptureHolder) {
    SimDesktop desk;
    Form back, bar;
    const Hwnd b = desk.createWindow(visible("Back", {0, 0, 400, 300}), &back);
    WindowSpec barSpec = visible("Bar", {100, 0, 371, 96});
    barSpec.exStyle = wsex::WS_EX_TOPMOST;
    const Hwnd t = desk.createWindow(barSpec, &bar);
    const Hwnd hidden = desk.createWindow(barSpec, nullptr);
    desk.showWindow(hidden, sw::SW_HIDE);  // hidden windows take no input

    desk.setKeyDown(vk::VK_SHIFT, true);
    EXPECT_EQ(desk.mouse({110, 5}, MouseAction::Down, mouse::Left), t);
    EXPECT_EQ(desk.foregroundWindow(), t) << "a press activates";
    EXPECT_EQ(desk.asyncKeyState(vk::VK_LBUTTON) & 0x8000, 0x8000);
    desk.setCapture(t);
    EXPECT_EQ(desk.mouse({50, 200}, MouseAction::Move), t) << "captured: outside still ours";
    desk.mouse({50, 200}, MouseAction::Up, mouse::Left);
    ASSERT_EQ(bar.mice.size(), 3u);
    EXPECT_EQ(bar.mice[0].pos, (Point{10, 5}));
    EXPECT_EQ(bar.mice[0].buttons, mouse::Left);
    EXPECT_TRUE(bar.mice[0].shift);
    EXPECT_EQ(bar.mice[1].pos, (Point{-50, 200}));
    EXPECT_EQ(bar.mice[2].action, MouseAction::Up);
    EXPECT_EQ(bar.mice[2].buttons, 0);
    EXPECT_EQ(desk.cursorPos(), (Point{50, 200}));

    desk.setCapture(b);
    EXPECT_EQ(bar.captureLost, 1);
    desk.releaseCapture();
    EXPECT_EQ(back.captureLost, 1);
    EXPECT_EQ(desk.mouse({50, 200}, MouseAction::DoubleClick, mouse::Right), b);
    EXPECT_EQ(back.mice.back().action, MouseAction::DoubleClick);
    EXPECT_EQ(back.mice.back().button, mouse::Right);
    EXPECT_EQ(desk.mouse({500, 500}, MouseAction::Move), 0u);
}

TEST(SimInput, CaptionedWindowsHaveTheirClientAreaInsideTheFrame) {
    SimDesktop desk;
    Form f;
    const Hwnd hw = desk.createWindow(visible("Dlg", {10, 10, 210, 110}, false), &f);
    const Rect client = desk.clientRect(hw);
    EXPECT_EQ(client.left, 10 + SimDesktop::kFrameWidth);
    EXPECT_EQ(client.top, 10 + SimDesktop::kFrameWidth + SimDesktop::kCaptionHeight);
    desk.mouse({client.left + 1, client.top + 2}, MouseAction::Move);
    EXPECT_EQ(f.mice.at(0).pos, (Point{1, 2}));
    desk.doEvents();
    EXPECT_EQ(desk.frame(hw).width, client.width());
}

TEST(SimInput, WheelPassesTheHookWithItsDeltaInTheHighWord) {
    SimDesktop desk;
    WheelHook hook;
    const Hwnd hw = desk.createWindow(visible("Bar", {0, 0, 100, 100}), nullptr);
    ASSERT_TRUE(desk.setMessageHook(hw, &hook));
    desk.wheel({5, 5}, 120);
    desk.wheel({5, 5}, -240);
    ASSERT_EQ(hook.wheels.size(), 2u);
    EXPECT_GT(static_cast<std::int32_t>(hook.wheels[0]), 0);
    EXPECT_EQ(static_cast<std::int32_t>(hook.wheels[1]) / 65536, -240);
}

TEST(SimPaint, PaintsOnceForManyInvalidationsAndOnlyWhileVisible) {
    SimDesktop desk;
    Form f;
    WindowSpec s = visible("Bar", {0, 0, 8, 4});
    s.visible = false;
    const Hwnd hw = desk.createWindow(s, &f);
    desk.invalidate(hw);
    desk.advance(100);
    EXPECT_EQ(desk.paintCount(hw), 0);
    desk.showWindow(hw, sw::SW_SHOWNOACTIVATE);
    desk.invalidate(hw);
    desk.invalidate(hw);
    desk.doEvents();
    EXPECT_EQ(desk.paintCount(hw), 1);
    desk.advance(1000);
    EXPECT_EQ(desk.paintCount(hw), 1) << "an idle window is not repainted";
    desk.moveWindow(hw, {0, 0, 10, 4});
    desk.doEvents();
    EXPECT_EQ(desk.paintCount(hw), 2);
    EXPECT_EQ(desk.frame(hw).width, 10);
    desk.showWindow(hw, sw::SW_HIDE);
    desk.paintNow(hw);
    EXPECT_EQ(desk.paintCount(hw), 3);
}

TEST(SimPaint, CanvasRasterisesRectanglesImagesAndEdgesAndRecordsText) {
    SimDesktop desk;
    Form f;
    const Hwnd hw = desk.createWindow(visible("Bar", {0, 0, 12, 8}), &f);
    Image img{2, 2, {rgb(9, 9, 9), 0xFF00FF, rgb(7, 7, 7), rgb(8, 8, 8)}, true};
    FontSpec bold;
    bold.bold = true;
    Size measured;
    f.painter = [&](Canvas& c) {
        c.fillRect({-5, -5, 3, 3}, rgb(1, 1, 1));
        c.fillRect({1, 1, 3, 3}, rgb(2, 2, 2));
        c.drawImage(img, 1, 1);
        c.drawImage(img, 10, 6, Rect{1, 1, 2, 2});
        c.drawEdge({4, 0, 8, 4}, edge::EDGE_SUNKEN, edge::BF_RECT | edge::BF_MIDDLE);
        c.drawText("Tunebalk", 2, 3, {0, 0, 40, 40}, FontSpec{}, rgb(0xA6, 0xC8, 0xD3));
        measured = c.measureText("Tunebalk", bold);
    };
    desk.doEvents();
    const Image& fr = desk.frame(hw);
    EXPECT_EQ(fr.at(0, 0), rgb(1, 1, 1));
    EXPECT_EQ(fr.at(1, 1), rgb(9, 9, 9));
    EXPECT_EQ(fr.at(2, 1), rgb(2, 2, 2)) << "the transparent pixel shows what lies beneath";
    EXPECT_EQ(fr.at(10, 6), rgb(8, 8, 8));
    EXPECT_EQ(fr.at(11, 7), 0u);
    EXPECT_EQ(fr.at(4, 0), syscolor::k3DShadow);     // sunken outer, top-left
    EXPECT_EQ(fr.at(7, 3), syscolor::k3DHighlight);  // sunken outer, bottom-right
    EXPECT_EQ(fr.at(5, 1), syscolor::k3DDkShadow);   // sunken inner, top-left
    EXPECT_EQ(fr.at(6, 2), syscolor::k3DLight);      // sunken inner, bottom-right
    ASSERT_EQ(desk.texts(hw).size(), 1u);
    EXPECT_EQ(desk.texts(hw)[0].text, "Tunebalk");
    EXPECT_EQ(desk.texts(hw)[0].clip, (Rect{0, 0, 12, 8}));
    EXPECT_EQ(measured, (Size{8 * 7, 16}));
    EXPECT_EQ(desk.measureText("Tunebalk", bold), measured) << "outside painting too";
}

}  // namespace
}  // namespace tb::sim
