#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "app/Form.h"
#include "common/ProgramError.h"
#include "dock/Form_TaskBar.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

struct TestDock : Form_TaskBar {
    using Form_TaskBar::Form_TaskBar;
    using Form_TaskBar::Slide;
};

// A started dock on a plain form of the bar's size (8130 x 1440 twips); another window has
// the foreground. Events are logged by name.
struct Scene {
    explicit Scene(int twips = 15, int screenWidth = 1024) {
        desk.setDpi(1440 / twips);
        desk.setScreenSize({screenWidth, 768});
        form.createWindow(
            {"Plain", "", Rect::fromXYWH(0, 300, 8130 / twips, 1440 / twips), 0, true});
        desk.setForeground(other = desk.createWindow({"Other", "", {0, 400, 9, 409}}, nullptr));
        using F = Form_TaskBar;
        for (auto [event, eventName] : {std::pair{&F::onAppGotFocus, "AppGotFocus"},
                                        {&F::onAppLostFocus, "AppLostFocus"},
                                        {&F::onEndOpenUp, "EndOpenUp"},
                                        {&F::onEndCloseUp, "EndCloseUp"},
                                        {&F::onStartOpenUp, "StartOpenUp"},
                                        {&F::onStartCloseUp, "StartCloseUp"},
                                        {&F::onChangeCloseUp, "ChangeCloseUp"},
                                        {&F::onChangeOpenUp, "ChangeOpenUp"},
                                        {&F::onMouseOver, "MouseOver"},
                                        {&F::onMouseLeft, "MouseLeft"}})
            dock.*event = [this, name = eventName] {
                log += (log.empty() ? "" : " ") + std::string(name);
            };
        form.addControl(dock);
        desk.advance(10);  // the delayed start
        started = desk.tickCountMs();
    }
    Rect bar() const { return desk.window(form.hWnd())->bounds; }
    std::string take() { return std::exchange(log, {}); }
    // To the next pointer and foreground check.
    void toNextCheck() { desk.advance(200 - (desk.tickCountMs() - started) % 200); }

    test::TestDesktop desk;
    TestDock dock{desk};
    Form form{desk};
    Hwnd other = 0;
    std::string log;
    std::uint64_t started = 0;
};

TEST(Form_TaskBar, ParksItsWindowHiddenAndCentredOnEveryScreenAndDensity) {
    // Twips per pixel and the screen's width: the window's left and top.
    const std::tuple<int, int, int, int> cases[] = {
        {15, 1024, 241, -94},  {15, 2560, 1009, -94},  {15, 3840, 1649, -94},
        {15, 7680, 3569, -94}, {15, 16384, 7921, -94}, {12, 1280, 302, -118},
        {10, 1920, 554, -142}, {10, 7680, 3434, -142},
    };
    for (const auto& [twips, screen, left, top] : cases) {
        Scene t(twips, screen);
        EXPECT_EQ(t.bar().left, left) << screen << " px at " << twips;
        EXPECT_EQ(t.bar().top, top) << twips;
        EXPECT_EQ(t.dock.ScreenWidth(), screen * twips);
        EXPECT_TRUE(t.desk.window(t.form.hWnd())->exStyle & wsex::WsExTopmost);
    }
}

TEST(Form_TaskBar, EachRequestRaisesWhatItsStateCallsForAndSlidesOnFromWhereTheWindowIs) {
    // Set-up: o show, c hide, t one tick, T to rest. Then one request, and the tops in pixels
    // after each tick (10 ms, the least a 1 ms timer waits) until the window rests.
    const struct {
        const char* setup;
        bool show;
        const char* events;
        const char* tops;
    } cases[] = {
        {"", true, "StartOpenUp EndOpenUp", "-70 -46 -22 0"},  // hidden
        {"", false, "EndCloseUp", "-94"},
        {"ott", true, "StartOpenUp EndOpenUp", "-22 0"},  // moving down, last hidden
        {"ott", false, "ChangeCloseUp EndCloseUp", "-70 -94"},
        {"ottc", true, "StartOpenUp EndOpenUp", "-22 0"},  // moving up, last hidden
        {"ottc", false, "EndCloseUp", "-70 -94"},
        {"oT", true, "EndOpenUp", "0"},  // shown
        {"oT", false, "StartCloseUp EndCloseUp", "-24 -48 -72 -94"},
        {"oTctto", true, "EndOpenUp", "-24 0"},  // moving down, last shown
        {"oTctto", false, "StartCloseUp EndCloseUp", "-72 -94"},
        {"oTctt", true, "ChangeOpenUp EndOpenUp", "-24 0"},  // moving up, last shown
        {"oTctt", false, "StartCloseUp EndCloseUp", "-72 -94"},
    };
    for (const auto& c : cases) {
        Scene t;
        t.desk.paintNow(t.form.hWnd());
        const int paints = t.desk.paintCount(t.form.hWnd());
        for (const char* s = c.setup; *s; ++s) {
            if (*s == 'o' || *s == 'c') t.dock.Slide(*s == 'o');
            t.desk.advance(*s == 't' ? 10 : *s == 'T' ? 100 : 0);
        }
        t.take();
        t.dock.Slide(c.show);
        std::string tops;
        for (int top = t.bar().top; t.dock.IsTaskbarMoving();) {
            EXPECT_TRUE(t.dock.IsTaskbarOut());
            const int moves = t.desk.moves;
            t.desk.advance(10);
            EXPECT_EQ(t.desk.moves - moves, t.bar().top != top ? 1 : 0);
            top = t.bar().top;
            tops += (tops.empty() ? "" : " ") + std::to_string(top);
        }
        const std::string at = std::string(c.setup) + (c.show ? " show" : " hide");
        EXPECT_EQ(t.take(), c.events) << at;
        EXPECT_EQ(tops, c.tops) << at;
        EXPECT_EQ(t.dock.IsTaskbarOut(), t.bar().top == 0) << at;
        EXPECT_EQ(t.desk.paintCount(t.form.hWnd()), paints) << "a move repaints nothing";
    }
}

TEST(Form_TaskBar, ThePointerShowsItUnlessItIsTheForegroundWindowWhichShowsItAlone) {
    Scene t;
    const Rect shown = t.bar().offset(0, 94);
    // Each step: the pointer and the foreground, then one check and time to rest.
    const std::tuple<Point, bool, const char*> steps[] = {
        {{shown.left + 5, 0}, false, "MouseOver StartOpenUp EndOpenUp"},
        {{shown.right, shown.bottom}, false, ""},  // the right and bottom edges are inside
        {{shown.right + 1, 50}, false, "MouseLeft StartCloseUp EndCloseUp"},
        {{shown.left, 2}, false, "MouseOver StartOpenUp EndOpenUp"},
        {{shown.left, 2}, true, "AppGotFocus EndOpenUp"},  // clicked on
        {{5, 700}, true, "MouseLeft"},
        {{5, 700}, false, "AppLostFocus StartCloseUp EndCloseUp"},
        {{5, 700}, true, "AppGotFocus StartOpenUp EndOpenUp"},
        {{shown.left + 5, 50}, true, "MouseOver"},
        {{shown.left + 5, 50}, false, "AppLostFocus StartCloseUp EndCloseUp"},
        {{shown.left + 5, 50}, false, "MouseLeft EndCloseUp"},  // below the strip now
        {{shown.left - 1, 0}, false, ""},
    };
    for (const auto& [cursor, foreground, events] : steps) {
        t.desk.setCursorPos(cursor);
        t.desk.setForeground(foreground ? t.form.hWnd() : t.other);
        t.toNextCheck();
        t.desk.advance(100);
        EXPECT_EQ(t.take(), events) << cursor.x << "," << cursor.y;
        EXPECT_EQ(t.desk.foregroundWindow() == t.form.hWnd(), foreground);
    }
    // A check at rest costs three queries (the screen's size is kept) and moves nothing; the
    // dock never sends a message.
    const int queries = t.desk.cursorQueries + t.desk.otherQueries, moves = t.desk.moves;
    t.toNextCheck();
    EXPECT_EQ(t.desk.cursorQueries + t.desk.otherQueries - queries, 3);
    EXPECT_EQ(t.desk.moves, moves);
    EXPECT_TRUE(t.desk.messageLog().empty());
}

TEST(Form_TaskBar, CenterParksTheWindowHiddenAndANewScreenWidthRecentresItInPlace) {
    Scene t;
    t.dock.Slide(true);
    t.desk.setScreenSize({2560, 1440});
    t.toNextCheck();
    EXPECT_EQ(t.bar(), Rect::fromXYWH(1009, 0, 542, 96));
    t.desk.moveWindow(t.form.hWnd(), Rect::fromXYWH(0, 0, 271, 96));
    t.dock.Center();
    EXPECT_EQ(t.bar(), Rect::fromXYWH(1144, -94, 271, 96));  // 1144.5 to even
    EXPECT_TRUE(t.dock.IsTaskbarOut()) << "centring keeps the slide state";
}

TEST(Form_TaskBar, StepsAreHeightOverNumStepsToEvenAtLeastAPixelAndNeverFewerThanOne) {
    Scene t;
    for (auto [steps, step] : {std::pair{64, 22}, {320, 15}}) {  // 22.5 and 4.5 twips
        t.dock.setNumSteps(steps);
        for (bool show : {true, false}) {
            t.dock.Slide(show);
            EXPECT_EQ(t.dock.SlideStep(), show ? step : -step) << steps;
            t.desk.advance(1000);
            EXPECT_EQ(t.bar().top, show ? 0 : -94) << steps;
        }
    }
    for (int steps : {0, -4, 32768}) EXPECT_THROW(t.dock.setNumSteps(steps), ProgramError);
    PropertyBag bag;
    bag.WriteProperty("NumSteps", std::int32_t{0}, std::int32_t{4});
    t.dock.ReadProperties(bag);
    EXPECT_EQ(t.dock.NumSteps(), 4) << "a stored 0 is refused too";
}

TEST(Form_TaskBar, WithoutAWindowToManageItStaysInert) {
    test::TestDesktop desk;
    Form_TaskBar unplaced(desk), windowless(desk);
    Form form(desk);  // its window never made
    form.addControl(windowless);
    desk.advance(1000);
    unplaced.Center();
    windowless.Center();
    EXPECT_EQ(desk.activeTimerCount() + desk.moves, 0);
}

}  // namespace
}  // namespace tb
