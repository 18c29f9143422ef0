#include <gtest/gtest.h>

#include <string>

#include "art/Artwork.h"
#include "controls/Click.h"
#include "platform/sim/SimCanvas.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

using art::Look;
using test::TestHost;

class ClickTest : public ::testing::Test {
protected:
    ClickTest() {
        button.attach(&host);
        button.setBounds(Rect::fromXYWH(8, 72, 300, 300));
        button.setButtonStyle(4);
        button.onClick = [this] { host.log("Click"); };
        // With the face the button showed when the move arrived.
        button.onMouseMove = [this] { host.log(std::string("Move") + "NHP"[int(button.Look())]); };
    }
    // One step of a sequence, on the button at (5, 5) unless said otherwise: m a move over it,
    // o a move off it while held, p/P a left/right press, d the left press that makes a double
    // click, r/R a release, x a left release elsewhere, c the capture lost, t one poll interval.
    // In l, n and w the pointer goes without any move reaching the button: to the desktop, to
    // the next button of the bar, or a window of another program comes up over it.
    void act(char s) {
        using enum MouseAction;
        const int b = s == 'P' || s == 'R' ? mouse::Right : mouse::Left;
        if (s == 'm') host.desk.setCursorPos({113, 77});
        if (s == 'm') TestHost::mouse(button, Move, {5, 5});
        if (s == 'o') TestHost::mouse(button, Move, {40, 5});
        if (s == 'p' || s == 'P') TestHost::mouse(button, Down, {5, 5}, b);
        if (s == 'd') TestHost::mouse(button, DoubleClick, {5, 5});
        if (s == 'r' || s == 'R') TestHost::mouse(button, Up, {5, 5}, b);
        if (s == 'x') TestHost::mouse(button, Up, {90, 30});
        if (s == 'c') host.loseCapture();
        if (s == 't') host.desk.advance(Click::kHoverPollMs);
        if (s == 'l') host.desk.setCursorPos({5, 500});
        if (s == 'n') host.desk.setCursorPos({133, 82});
        if (s == 'w') host.desk.createWindow({"Cover", "", {0, 0, 400, 200}, 0, true}, nullptr);
    }
    // The look whose face of `style` the button paints where it stands: N, H, P, or ? for none.
    char painted(int style = 4) {
        sim::SimCanvas canvas({40, 100});
        button.paint(canvas);
        for (Look l : {Look::Normal, Look::Hover, Look::Pressed})
            if (test::mismatches(canvas.image(), art::buttonFace(style, l), {8, 72}) == 0)
                return "NHP"[int(l)];
        return '?';
    }

    TestHost host;
    Click button;
};

TEST_F(ClickTest, IsAsLargeAsItsFaceAndStylesOutsideZeroToNineShowTheBlankKey) {
    EXPECT_EQ(button.bounds(), Rect::fromXYWH(8, 72, 21, 22));
    for (int style : {-1, 10, 32767}) {
        button.setButtonStyle(style);
        EXPECT_EQ(painted(10), 'N') << style;
    }
}

TEST_F(ClickTest, FacesFollowThePointerAndTheButtonsAndHoverEndsWithinOneTick) {
    // The steps: the face after each (Normal, Hover, Pressed) and the events raised.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"mprt", "HPPH", "MoveN Click"},     {"mprdrt", "HPPPPH", "MoveN Click Click"},
        {"mpolxt", "HPPPPN", "MoveN MoveP"}, {"mPRt", "HPPH", "MoveN"},
        {"prm", "PPH", "Click MoveP"},       {"pclrt", "PPPPN", ""},
        {"mtlt", "HHHN", "MoveN"},           {"mtnt", "HHHN", "MoveN"},
        {"mtwt", "HHHN", "MoveN"},  // last: the covering window stays
    };
    for (const auto& [steps, faces, events] : cases) {
        for (const char* s = steps; *s; ++s) {
            // A poll costs one cursor query and one window lookup; nothing else asks.
            const int polls = *s == 't' && button.HoverTimerRunning() ? 1 : 0;
            const int queries = host.desk.cursorQueries, lookups = host.desk.windowLookups;
            act(*s);
            EXPECT_EQ(painted(), faces[s - steps]) << steps << " " << *s;
            EXPECT_EQ(host.desk.cursorQueries - queries, polls);
            EXPECT_EQ(host.desk.windowLookups - lookups, polls);
            const bool press = *s == 'p' || *s == 'P' || *s == 'd';
            const bool release = *s == 'r' || *s == 'R';
            EXPECT_TRUE(!press || (host.captured && !button.HoverTimerRunning())) << steps;
            EXPECT_TRUE(!release || (!host.captured && button.HoverTimerRunning())) << steps;
        }
        EXPECT_EQ(host.takeEvents(), events) << steps;
        // A normal face needs no poll.
        EXPECT_EQ(host.desk.activeTimerCount(), button.Look() == Look::Normal ? 0 : 1) << steps;
        for (char s : {'l', 't'}) act(s);
    }
}

TEST_F(ClickTest, ADesignKeepsTheStyleThatIsNotTheDefault) {
    for (const int style : {0, 7}) {
        Click original, restored;
        original.setButtonStyle(style);
        PropertyBag design;
        original.WriteProperties(design);
        EXPECT_EQ(design.entries().size(), style == 0 ? 0u : 1u) << style;
        restored.ReadProperties(design);
        EXPECT_EQ(restored.ButtonStyle(), style);
    }
}

}  // namespace
}  // namespace tb
