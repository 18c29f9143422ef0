#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/ProgramError.h"
#include "dock/Form_TaskBar.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

// Counts what the dock asks of the desktop.
struct CountingDesktop : sim::SimDesktop {
    Point cursorPos() override { return ++queries, SimDesktop::cursorPos(); }
    std::optional<Rect> windowRect(Hwnd h) override { return ++queries, SimDesktop::windowRect(h); }
    Hwnd foregroundWindow() override { return ++queries, SimDesktop::foregroundWindow(); }
    Size screenSize() override { return ++queries, SimDesktop::screenSize(); }
    bool moveWindow(Hwnd h, const Rect& r) override {
        return ++moves, SimDesktop::moveWindow(h, r);
    }
    int queries = 0;
    int moves = 0;
};

// A plain window for the dock to manage, standing in for a form.
struct PlainForm : ControlHost {
    PlainForm(CountingDesktop& d, Size size) : desk(d) {
        window = d.createWindow(
            {"DockTestForm", "", Rect::fromXYWH(0, 300, size.cx, size.cy), 0, true}, &handler);
    }
    Desktop& desktop() override { return desk; }
    Hwnd hostWindow() override { return window; }
    void invalidateControl(Control&) override {}
    void captureMouse(Control&) override {}
    void releaseMouse(Control&) override {}
    Point clientToScreen(Point p) override { return p; }
    CountingDesktop& desk;
    WindowHandler handler;
    Hwnd window = 0;
};

struct TestDock : Form_TaskBar {
    using Form_TaskBar::Form_TaskBar;
    using Form_TaskBar::Slide;
};

// A dock on a form of the bar's design size (8130 x 1440 twips), started; another window has
// the foreground.
struct Scene {
    explicit Scene(int twips = 15, Size screen = {1024, 768}) {
        desk.setTwipsPerPixel(twips, twips);
        desk.setScreenSize(screen);
        form.emplace(desk, Size{8130 / twips, 1440 / twips});
        other = desk.createWindow({"Other", "", {0, 400, 300, 600}, 0, true}, nullptr);
        desk.setForeground(other);
        const std::pair<std::function<void()>*, const char*> events[] = {
            {&dock.onAppGotFocus, "AppGotFocus"},     {&dock.onAppLostFocus, "AppLostFocus"},
            {&dock.onEndOpenUp, "EndOpenUp"},         {&dock.onEndCloseUp, "EndCloseUp"},
            {&dock.onStartOpenUp, "StartOpenUp"},     {&dock.onStartCloseUp, "StartCloseUp"},
            {&dock.onChangeCloseUp, "ChangeCloseUp"}, {&dock.onChangeOpenUp, "ChangeOpenUp"},
            {&dock.onMouseOver, "MouseOver"},         {&dock.onMouseLeft, "MouseLeft"}};
        for (auto [event, name] : events)
            *event = [this, name = std::string(name)] { log += (log.empty() ? "" : " ") + name; };
        dock.attach(&*form);
        desk.advance(10);  // the delayed start
        started = desk.tickCountMs();
    }
    // To the instant of the next pointer and foreground check.
    void toNextCheck() {
        const auto since = desk.tickCountMs() - started;
        desk.advance(Form_TaskBar::kCheckIntervalMs - since % Form_TaskBar::kCheckIntervalMs);
    }
    Rect bar() const { return desk.window(form->window)->bounds; }
    std::string take() { return std::exchange(log, {}); }

    CountingDesktop desk;
    TestDock dock{desk};
    std::optional<PlainForm> form;
    Hwnd other = 0;
    std::string log;
    std::uint64_t started = 0;
};

class Form_TaskBarTest : public ::testing::Test, protected Scene {};

TEST(Form_TaskBar, ParksItsWindowHiddenAndCentredOnEveryScreenAndDensity) {
    const struct {
        int twips, screen, left, top;
    } cases[] = {
        {15, 1024, 241, -94},  {15, 2560, 1009, -94},  {15, 3840, 1649, -94},
        {15, 7680, 3569, -94}, {15, 16384, 7921, -94}, {12, 1280, 302, -118},
        {10, 1920, 554, -142}, {10, 7680, 3434, -142},
    };
    for (const auto& c : cases) {
        Scene t(c.twips, {c.screen, 1080});
        EXPECT_EQ(t.bar().left, c.left) << c.screen << " px at " << c.twips;
        EXPECT_EQ(t.bar().top, c.top) << c.twips;
        EXPECT_EQ(t.dock.ScreenWidth(), c.screen * c.twips);
        EXPECT_TRUE(t.desk.window(t.form->window)->exStyle & wsex::WS_EX_TOPMOST);
        EXPECT_EQ(t.desk.foregroundWindow(), t.other) << "placing must not activate";
        EXPECT_FALSE(t.dock.IsTaskbarOut());
    }
}

TEST(Form_TaskBar, ASlideTakesNumStepsTicksOfOneMoveWithoutARepaint) {
    // Tops in pixels after each 10 ms tick (the shortest a 1 ms timer gets), at each density:
    // 360 twips a step from HangDown x p - 1440.
    const struct {
        int twips;
        std::vector<int> in, out;
    } cases[] = {
        {15, {-70, -46, -22, 0}, {-24, -48, -72, -94}},
        {12, {-88, -58, -28, 0}, {-30, -60, -90, -118}},
        {10, {-106, -70, -34, 0}, {-36, -72, -108, -142}},
    };
    for (const auto& c : cases) {
        Scene t(c.twips);
        t.desk.paintNow(t.form->window);
        const int paints = t.desk.paintCount(t.form->window);
        for (bool show : {true, false}) {
            t.desk.setCursorPos(show ? Point{t.bar().left + 5, 0} : Point{5, 700});
            t.toNextCheck();
            const int moves = t.desk.moves;
            for (int top : show ? c.in : c.out) {
                EXPECT_TRUE(t.dock.IsTaskbarOut() && t.dock.IsTaskbarMoving()) << top;
                t.desk.advance(10);
                EXPECT_EQ(t.bar().top, top) << c.twips;
            }
            EXPECT_EQ(t.desk.moves - moves, 4);
            EXPECT_EQ(t.dock.IsTaskbarOut(), show);
            EXPECT_FALSE(t.dock.IsTaskbarMoving());
        }
        EXPECT_EQ(t.take(), "MouseOver StartOpenUp EndOpenUp MouseLeft StartCloseUp EndCloseUp");
        EXPECT_EQ(t.desk.paintCount(t.form->window), paints) << "moving is no reason to repaint";
        EXPECT_EQ(t.desk.foregroundWindow(), t.other) << "hovering must not activate";
        EXPECT_TRUE(t.desk.messageLog().empty()) << "the dock waits on no window";
    }
}

TEST(Form_TaskBar, EachRequestRaisesWhatTheStateCallsForAndSlidesOnFromWhereItIs) {
    // Set-up steps: o show, c hide, t one tick, T to rest. Then one request and ticks until
    // the window rests; tops in pixels after each tick.
    const struct {
        const char* setup;
        bool show;
        const char* events;
        const char* tops;
    } cases[] = {
        {"", true, "StartOpenUp EndOpenUp", "-70 -46 -22 0"},  // hidden
        {"", false, "EndCloseUp", "-94"},
        {"ott", true, "StartOpenUp EndOpenUp", "-22 0"},  // moving down from hidden
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
        for (const char* s = c.setup; *s; ++s) {
            if (*s == 'o' || *s == 'c') t.dock.Slide(*s == 'o');
            t.desk.advance(*s == 't' ? 10 : *s == 'T' ? 100 : 0);
        }
        t.take();
        t.dock.Slide(c.show);
        std::string tops;
        while (t.dock.IsTaskbarMoving()) {
            t.desk.advance(10);
            tops += (tops.empty() ? "" : " ") + std::to_string(t.bar().top);
        }
        EXPECT_EQ(t.take(), c.events) << c.setup << " " << c.show;
        EXPECT_EQ(tops, c.tops) << c.setup << " " << c.show;
        EXPECT_EQ(t.dock.IsTaskbarOut(), t.bar().top == 0) << c.setup << " " << c.show;
    }
}

TEST_F(Form_TaskBarTest, ThePointerShowsItUnlessItHasTheForegroundWhichShowsItAlone) {
    const Rect shown = bar().offset(0, 94);
    // Each step: the pointer and the foreground window, then one check and time to rest.
    const struct {
        Point cursor;
        bool foreground;
        const char* events;
        bool out;
    } steps[] = {
        {{shown.left + 5, 0}, false, "MouseOver StartOpenUp EndOpenUp", true},
        {{shown.right, shown.bottom}, false, "", true},  // right and bottom edges are inside
        {{shown.right + 1, 50}, false, "MouseLeft StartCloseUp EndCloseUp", false},
        {{shown.left, 2}, false, "MouseOver StartOpenUp EndOpenUp", true},  // the strip's edge
        {{shown.left, 2}, true, "AppGotFocus EndOpenUp", true},             // clicked on
        {{5, 700}, true, "MouseLeft", true},
        {{5, 700}, false, "AppLostFocus StartCloseUp EndCloseUp", false},
        {{5, 700}, true, "AppGotFocus StartOpenUp EndOpenUp", true},
        {{shown.left + 5, 50}, true, "MouseOver", true},
        {{shown.left + 5, 50}, false, "AppLostFocus StartCloseUp EndCloseUp", false},
        {{shown.left + 5, 50}, false, "MouseLeft EndCloseUp", false},  // now below it
        {{shown.left - 1, 0}, false, "", false},
    };
    for (const auto& s : steps) {
        desk.setCursorPos(s.cursor);
        desk.setForeground(s.foreground ? form->window : other);
        toNextCheck();
        desk.advance(100);  // to rest
        EXPECT_EQ(take(), s.events) << s.cursor.x << "," << s.cursor.y;
        EXPECT_EQ(dock.IsTaskbarOut(), s.out) << s.cursor.x << "," << s.cursor.y;
    }
    // At rest the checks cost two queries each, and nothing moves.
    const int queries = desk.queries, moves = desk.moves;
    toNextCheck();
    EXPECT_EQ(desk.queries - queries, 4);
    EXPECT_EQ(desk.moves, moves);
}

TEST_F(Form_TaskBarTest, CenterParksItHiddenAndANewScreenWidthRecentresItInPlace) {
    dock.Slide(true);
    desk.advance(50);
    desk.setScreenSize({2560, 1440});
    desk.advance(200);
    EXPECT_EQ(bar(), Rect::fromXYWH(1009, 0, 542, 96));
    desk.moveWindow(form->window, Rect::fromXYWH(0, 0, 271, 96));
    dock.Center();
    EXPECT_EQ(bar(), Rect::fromXYWH(1144, -94, 271, 96));
    EXPECT_TRUE(dock.IsTaskbarOut()) << "centring keeps the slide state";
}

TEST(Form_TaskBar, WithoutAWindowToManageItStaysInert) {
    CountingDesktop desk;
    Form_TaskBar unplaced(desk);
    struct NoWindow : PlainForm {
        using PlainForm::PlainForm;
        Hwnd hostWindow() override { return 0; }
    } form(desk, {100, 20});
    Form_TaskBar windowless(desk);
    windowless.attach(&form);
    desk.advance(1000);
    unplaced.Center();
    windowless.Center();
    EXPECT_EQ(desk.activeTimerCount(), 0);
    EXPECT_EQ(desk.moves, 0);
    EXPECT_TRUE(desk.messageBoxes().empty());
}

TEST(Form_TaskBar, PropertiesPersistAndRefuseStepCountsThatCouldNeverSlide) {
    sim::SimDesktop desk;
    Form_TaskBar dock(desk);
    PropertyBag bag;
    dock.WriteProperties(bag);
    EXPECT_TRUE(bag.entries().empty()) << "defaults are not stored";
    dock.setNumSteps(64);
    dock.setHangDown(-3);
    EXPECT_TRUE(dock.PropertyChanged());
    dock.WriteProperties(bag);
    EXPECT_FALSE(dock.PropertyChanged());
    Form_TaskBar copy(desk);
    copy.ReadProperties(bag);
    EXPECT_EQ(std::pair(copy.NumSteps(), copy.HangDown()), std::pair(64, -3));

    const std::pair<int, int> refused[] = {{0, 380}, {-4, 380}, {32768, 6}};
    for (auto [steps, error] : refused) {
        try {
            dock.setNumSteps(steps);
            ADD_FAILURE() << steps;
        } catch (const ProgramError& e) {
            EXPECT_EQ(e.number(), error) << steps;
        }
    }
    PropertyBag stored;
    stored.WriteProperty("NumSteps", std::int32_t{0}, std::int32_t{4});
    copy.ReadProperties(stored);
    EXPECT_EQ(copy.NumSteps(), 4);
}

TEST_F(Form_TaskBarTest, TheStepIsHeightOverNumStepsHalvesToEvenAndAtLeastAPixel) {
    const std::pair<int, int> cases[] = {{64, 22}, {80, 18}, {320, 15}, {4, 360}};
    for (auto [steps, step] : cases) {
        dock.setNumSteps(steps);
        dock.Slide(true);
        EXPECT_EQ(dock.SlideStep(), step) << steps;  // 1440 / 64 = 22.5
        desk.advance(200 * 10);
        EXPECT_EQ(bar().top, 0) << steps;
        dock.Slide(false);
        EXPECT_EQ(dock.SlideStep(), -step) << steps;
        desk.advance(200 * 10);
        EXPECT_EQ(bar().top, -94) << steps;
    }
}

}  // namespace
}  // namespace tb
