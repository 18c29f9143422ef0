#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestHost.h"
#include "common/VbError.h"
#include "controls/Click.h"

namespace tb {
namespace {

using art::Look;
using test::RecordingCanvas;
using test::TestHost;

class ClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.attach(&host);
        button.setBounds(Rect::fromXYWH(8, 72, 21, 22));
        button.setButtonStyle(4);
        button.onClick = [this] { log.push_back("Click"); };
        button.onMouseMove = [this] { log.push_back("MouseMove"); };
    }

    // Puts the pointer at a point relative to the button.
    void pointerTo(Point rel) {
        host.desk.setCursorPos(host.clientToScreen(Point{8 + rel.x, 72 + rel.y}));
    }
    void moveTo(Point rel, int buttons = 0) {
        pointerTo(rel);
        TestHost::move(button, rel, buttons);
    }
    // Off the form, onto the desktop.
    void leave() { host.desk.setCursorPos(Point{5, 500}); }
    // A window of another program that comes up over the button.
    Hwnd cover() {
        WindowSpec windowSpec;
        windowSpec.className = "Cover";
        windowSpec.bounds = Rect::fromXYWH(0, 0, 400, 200);
        windowSpec.exStyle = wsex::WS_EX_TOPMOST;
        windowSpec.visible = true;
        return host.desk.createWindow(windowSpec, &coverHandler);
    }

    std::string events() {
        std::string s;
        for (const auto& e : log) s += (s.empty() ? "" : " ") + e;
        log.clear();
        return s;
    }

    TestHost host;
    WindowHandler coverHandler;
    Click button;
    std::vector<std::string> log;
};

TEST_F(ClickTest, HoverEndsWithinOneTickOfThePointerLeaving) {
    struct Case {
        const char* name;
        Point rel;
        bool covered;
    } cases[] = {
        {"to the desktop", {300, 300}, false},
        {"onto the next button of the same bar", {25, 10}, false},
        {"a window covers the button", {10, 10}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        moveTo({10, 10});
        EXPECT_EQ(button.Look(), Look::Hover);
        EXPECT_TRUE(button.HoverTimerRunning());
        host.desk.advance(10);
        EXPECT_EQ(button.Look(), Look::Hover);  // still over: keeps polling

        pointerTo(c.rel);  // no move reaches the button any more
        if (c.covered) cover();
        host.desk.advance(10);
        EXPECT_EQ(button.Look(), Look::Normal);
        EXPECT_FALSE(button.HoverTimerRunning());
        EXPECT_EQ(host.desk.activeTimerCount(), 0);
    }
}

TEST_F(ClickTest, PressAndReleaseSequences) {
    struct Step {
        char kind;  // m move, p press, r release, t tick (10 ms), l leave
        Point at;
        int button;
        Look look;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"click shows pressed, then hover",
         {{'m', {5, 5}, 0, Look::Hover},
          {'p', {5, 5}, mouse::Left, Look::Pressed},
          {'r', {5, 5}, mouse::Left, Look::Pressed},
          {'t', {}, 0, Look::Hover},
          {'l', {}, 0, Look::Hover},
          {'t', {}, 0, Look::Normal}},
         "MouseMove Click"},
        {"drag off and release elsewhere",
         {{'m', {5, 5}, 0, Look::Hover},
          {'p', {5, 5}, mouse::Left, Look::Pressed},
          {'m', {40, 5}, mouse::Left, Look::Pressed},
          {'m', {90, 30}, mouse::Left, Look::Pressed},
          {'l', {}, 0, Look::Pressed},
          {'r', {90, 30}, mouse::Left, Look::Pressed},
          {'t', {}, 0, Look::Normal}},
         "MouseMove MouseMove MouseMove"},
        {"right button presses but does not click",
         {{'m', {5, 5}, 0, Look::Hover},
          {'p', {5, 5}, mouse::Right, Look::Pressed},
          {'r', {5, 5}, mouse::Right, Look::Pressed},
          {'t', {}, 0, Look::Hover}},
         "MouseMove"},
        {"every move is reported, also without a change of face",
         {{'m', {1, 1}, 0, Look::Hover},
          {'m', {2, 1}, 0, Look::Hover},
          {'m', {3, 1}, 0, Look::Hover}},
         "MouseMove MouseMove MouseMove"},
        {"a move after the release brings the hover face at once",
         {{'p', {5, 5}, mouse::Left, Look::Pressed},
          {'r', {5, 5}, mouse::Left, Look::Pressed},
          {'m', {6, 5}, 0, Look::Hover}},
         "Click MouseMove"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Step& st : c.steps) {
            switch (st.kind) {
                case 'm':
                    moveTo(st.at, st.button);
                    break;
                case 'p':
                    pointerTo(st.at);
                    TestHost::press(button, st.at, st.button);
                    EXPECT_FALSE(button.HoverTimerRunning());
                    EXPECT_EQ(host.captured, &button);
                    break;
                case 'r':
                    TestHost::release(button, st.at, st.button);
                    EXPECT_TRUE(button.HoverTimerRunning());
                    EXPECT_EQ(host.captured, nullptr);
                    break;
                case 't':
                    host.desk.advance(10);
                    break;
                case 'l':
                    leave();
                    break;
            }
            EXPECT_EQ(button.Look(), st.look) << st.kind;
        }
        EXPECT_EQ(events(), c.expected);
        leave();
        host.desk.advance(10);
    }
}

TEST_F(ClickTest, AnIdleBarPollsNothingAndAPollCostsOneQueryOfEach) {
    host.desk.advance(1000);
    EXPECT_EQ(host.desk.timerTicks, 0);
    EXPECT_EQ(host.desk.cursorQueries, 0);

    moveTo({5, 5});
    moveTo({6, 5});  // a second move does not start a second timer
    EXPECT_EQ(host.desk.timerStarts, 1);
    host.desk.advance(50);
    EXPECT_EQ(host.desk.timerTicks, 5);
    EXPECT_EQ(host.desk.cursorQueries, 5);
    EXPECT_EQ(host.desk.windowLookups, 5);

    leave();
    host.desk.advance(1000);
    EXPECT_EQ(host.desk.timerTicks, 6);
}

TEST_F(ClickTest, RepaintsOnlyWhenTheFaceChanges) {
    host.invalidations = 0;
    moveTo({5, 5});
    moveTo({6, 5});
    host.desk.advance(100);
    EXPECT_EQ(host.invalidations, 1);
    leave();
    host.desk.advance(10);
    EXPECT_EQ(host.invalidations, 2);
}

TEST_F(ClickTest, AlwaysAsLargeAsItsFace) {
    button.setBounds(Rect::fromXYWH(120, 72, 315, 330));
    EXPECT_EQ(button.bounds(), Rect::fromXYWH(120, 72, 21, 22));
    Click fresh;
    fresh.setBounds(Rect{});
    EXPECT_EQ(fresh.bounds(), Rect::fromXYWH(0, 0, 21, 22));
}

TEST_F(ClickTest, PaintsTheFaceOfItsStyleAndLook) {
    struct Case {
        std::int32_t style;
        int face;  // the style whose faces are shown
    } cases[] = {{0, 0}, {4, 4}, {9, 9}, {10, 10}, {-1, 10}, {32767, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        button.setButtonStyle(c.style);
        for (Look look : {Look::Normal, Look::Hover}) {
            if (look == Look::Hover) moveTo({5, 5});
            RecordingCanvas canvas;
            button.paint(canvas);
            ASSERT_EQ(canvas.ops.size(), 1u);
            EXPECT_EQ(canvas.ops[0].image, &art::buttonFace(c.face, look));
            EXPECT_EQ(canvas.ops[0].rect, Rect::fromXYWH(8, 72, 21, 22));
        }
        leave();
        host.desk.advance(10);
    }
    // The blank face is a real picture of the same size, distinct from every style's.
    EXPECT_EQ(art::buttonFace(12, Look::Pressed).width, 21);
    EXPECT_NE(&art::buttonFace(12, Look::Pressed), &art::buttonFace(9, Look::Pressed));
}

TEST_F(ClickTest, StyleIsSixteenBitAndShowsTheNormalFaceAtOnce) {
    moveTo({5, 5});
    button.setButtonStyle(2);
    EXPECT_EQ(button.Look(), Look::Normal);
    host.desk.advance(10);  // still over: the poll brings the new style's hover face
    EXPECT_EQ(button.Look(), Look::Hover);
    EXPECT_THROW(
        {
            try {
                button.setButtonStyle(70000);
            } catch (const VbError& e) {
                EXPECT_EQ(e.number(), 6);
                throw;
            }
        },
        VbError);
    EXPECT_EQ(button.ButtonStyle(), 2);
}

TEST_F(ClickTest, StoresItsStyleOnlyWhenNotZero) {
    PropertyBag bag;
    Click prev;
    prev.WriteProperties(bag);
    EXPECT_TRUE(bag.entries().empty());
    button.setButtonStyle(7);
    button.WriteProperties(bag);
    EXPECT_EQ(bag.readInt("ButtonStyle", 0), 7);
    Click restored;
    restored.ReadProperties(bag);
    EXPECT_EQ(restored.ButtonStyle(), 7);
    EXPECT_EQ(restored.Look(), Look::Normal);
}

TEST_F(ClickTest, LosingTheCaptureWhilePressedReturnsToNormal) {
    moveTo({5, 5});
    TestHost::press(button, {5, 5});
    button.captureLost();
    leave();
    host.desk.advance(10);
    EXPECT_EQ(button.Look(), Look::Normal);
    TestHost::release(button, {5, 5});  // a late release is no click
    EXPECT_EQ(events(), "MouseMove");
}

}  // namespace
}  // namespace tb
