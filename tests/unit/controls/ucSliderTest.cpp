#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "art/Artwork.h"
#include "controls/ucSlider.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

using test::errorOf;
using test::TestHost;
using enum MouseAction;
constexpr int L = mouse::Left;

struct Design {
    std::int32_t orientation = 0, railStyle = 99, min = 0, max = 100, value = 0;
    Picture thumb = &art::progressThumb(), rail = &art::progressRail();  // 14 x 8, 184 x 11
    Rect bounds = Rect::fromXYWH(6, 43, 184, 11);
};

// The bar's three sliders, edge-style ones, and two with 20 pixels of travel for 0 to 5, so that
// a value step is 4 pixels and the half-way points lie on whole pixels.
const Picture kThumb = &art::progressThumb();
const Design kProgress{};
const Design kVolume{0, 99, 0, 255, 255, kThumb, &art::volumeRail(), {199, 43, 261, 53}};
const Design kScroll{1, 99, 0, 1, 1, &art::scrollThumb(), &art::scrollRail(), {519, 8, 533, 93}};
const Design kTallThumb{
    0, 99, 0, 10, 10, &art::scrollThumb(), &art::progressRail(), {6, 43, 7, 44}};
const Design kEdge{0, 0, 0, 10, 5, kThumb, nullptr, {0, 0, 100, 30}};
const Design kNoRailPicture{0, 99, 0, 10, 0, kThumb, nullptr, {0, 0, 100, 30}};
const Design kUprightEdge{1, 0, 0, 10, 5, &art::scrollThumb(), nullptr, {0, 0, 100, 30}};
const Design kAcross{0, 0, 0, 5, 0, kThumb, nullptr, {0, 0, 34, 8}};
const Design kUpright{1, 0, 0, 5, 5, kThumb, nullptr, {0, 0, 14, 28}};

class SliderTest : public ::testing::Test {
protected:
    // A slider restored from a stored design and sited, with its events logged.
    ucSlider& make(const Design& d) {
        ucSlider& s = sliders.emplace_back();
        PropertyBag bag;
        bag.WriteProperty("Orientation", d.orientation, 1);
        bag.WriteProperty("RailStyle", d.railStyle, 0);
        bag.WriteProperty("Min", d.min, 0);
        bag.WriteProperty("Max", d.max, 10);
        bag.WriteProperty("Value", d.value, 0);
        bag.WriteProperty("SliderImage", d.thumb, Picture{});
        bag.WriteProperty("RailImage", d.rail, Picture{});
        s.attach(&host);
        s.ReadProperties(bag);
        s.setBounds(d.bounds);
        s.onClick = [this] { host.log("Click"); };
        s.onArrivedFirst = [this] { host.log("ArrivedFirst"); };
        s.onArrivedLast = [this] { host.log("ArrivedLast"); };
        s.onChange = [this] { host.log("Change"); };
        // With the shift state when there is one.
        s.onMouseDown = [this](std::int16_t& k) { host.log("MouseDown" + shiftText(k)); };
        s.onMouseUp = [this](std::int16_t& k) { host.log("MouseUp" + shiftText(k)); };
        host.invalidations = 0;
        return s;
    }

    static std::string shiftText(std::int16_t k) { return k ? std::to_string(k) : ""; }
    // On a progress slider at 50: a press at `x`, or on the thumb and a move to `x`.
    static void press(ucSlider& s, std::int32_t x) { TestHost::mouse(s, Down, {x, 5}); }
    static void drag(ucSlider& s, std::int32_t x) {
        press(s, 90), TestHost::mouse(s, Move, {x, 5});
    }

    TestHost host;
    std::list<ucSlider> sliders;
};

TEST_F(SliderTest, ResizeFixesSizeAndRailAndTheValueMapsAlongTheAxis) {
    // A design at a value: its bounds, its rail and the thumb's corner.
    const std::tuple<const char*, Design, std::int32_t, Rect, Rect, float, float> cases[] = {
        {"progress", kProgress, 50, {6, 43, 190, 54}, {5, 2, 179, 6}, 85, 1},
        {"volume", kVolume, 255, {199, 43, 261, 53}, {5, 2, 57, 6}, 48, 1},
        {"scroll", kScroll, 0, {519, 8, 533, 89}, {2, 5, 6, 76}, 3, 67},
        {"thumb taller than rail", kTallThumb, 10, {6, 43, 190, 57}, {2, 5, 182, 9}, 176, 0},
        {"edge style", kEdge, 3, {0, 0, 100, 8}, {5, 2, 95, 6}, 25.8f, 0},
        {"99 without a rail picture", kNoRailPicture, 0, {0, 0, 100, 8}, {5, 2, 95, 6}, 0, 0},
        {"vertical edge style", kUprightEdge, 5, {0, 0, 8, 30}, {2, 5, 6, 25}, 0, 8},
    };
    for (const auto& [name, design, value, bounds, rail, left, top] : cases) {
        ucSlider& s = make(design);
        s.setValue(value);
        EXPECT_EQ(std::pair(s.bounds(), s.RailRect()), std::pair(bounds, rail)) << name;
        EXPECT_FLOAT_EQ(s.ThumbLeft(), left) << name;
        EXPECT_FLOAT_EQ(s.ThumbTop(), top) << name;
    }
}

TEST_F(SliderTest, DraggingRoundsHalfStepsToEvenAndSnapsTheThumb) {
    // The pointer's way from the thumb's corner, where it grabbed it; the value and the thumb's
    // place along the axis.
    const std::tuple<Design, Point, std::int32_t, float> cases[] = {
        {kAcross, {2, 0}, 0, 0},    {kAcross, {3, 0}, 1, 4},   {kAcross, {6, 0}, 2, 8},
        {kAcross, {10, 0}, 2, 8},   {kAcross, {14, 0}, 4, 16}, {kAcross, {-7, 0}, 0, 0},
        {kAcross, {35, 0}, 5, 20},  {kUpright, {0, 6}, 4, 4},  {kUpright, {0, 10}, 2, 12},
        {kUpright, {0, 40}, 0, 20},
    };
    for (const auto& [design, by, value, at] : cases) {
        ucSlider& s = make(design);
        const Point grab{static_cast<int>(s.ThumbLeft()), static_cast<int>(s.ThumbTop())};
        TestHost::mouse(s, Down, grab);
        TestHost::mouse(s, Move, {grab.x + by.x, grab.y + by.y});
        EXPECT_EQ(s.Value(), value) << by.x << "," << by.y;
        EXPECT_FLOAT_EQ(s.Orientation() == 0 ? s.ThumbLeft() : s.ThumbTop(), at) << by.x;
    }
}

TEST_F(SliderTest, PressMoveAndReleaseRaiseTheirEventsInOrder) {
    // With `button`: a press at (downX, 5), a move to (moveX, 5), a release at (upX, upY); -1
    // leaves the move or the release out, -2 has another window take the mouse instead. The
    // press is the second of a double click where `twice` says so.
    const struct {
        std::int32_t value, enabled, button, downX, moveX, upX, upY, finalValue;
        const char* events;
        bool twice = false;
    } cases[] = {
        {50, 1, L, 90, -1, -1, -1, 50, "MouseDown"},         // on the thumb
        {0, 1, L, 100, -1, -1, -1, 55, "Change MouseDown"},  // on the rail
        {0, 1, L, 183, -1, -1, -1, 100, "Change ArrivedLast MouseDown"},
        {0, 1, L, 100, -1, 100, 5, 55, "Change MouseDown Click MouseUp", true},
        {50, 1, L, 90, 120, 120, 5, 68, "MouseDown Change Click MouseUp"},
        {50, 1, L, 90, -1, 90, 30, 50, "MouseDown MouseUp"},  // released below
        {50, 0, L, 10, 150, 150, 5, 50, "Click"},
        {50, 1, mouse::Right, 10, -1, 10, 5, 50, ""},
        {0, 1, L, 3, -1, -2, -1, 0, "MouseDown MouseUp"},
    };
    for (const auto& c : cases) {
        ucSlider& s = make({.value = c.value});
        s.setEnabled(c.enabled != 0);
        TestHost::mouse(s, c.twice ? DoubleClick : Down, {c.downX, 5}, c.button);
        EXPECT_EQ(host.captured, &s);
        if (c.moveX >= 0) TestHost::mouse(s, Move, {c.moveX, 5}, c.button);
        if (c.upX >= 0) TestHost::mouse(s, Up, {c.upX, c.upY}, c.button);
        if (c.upX == -2) host.loseCapture();
        if (c.upX != -1) TestHost::mouse(s, Move, {150, 5});  // after the drag: nothing
        EXPECT_EQ(host.takeEvents(), c.events) << c.downX << " " << c.upX;
        EXPECT_EQ(s.Value(), c.finalValue) << c.downX << " " << c.upX;
        EXPECT_EQ(s.Dragging(), c.upX == -1) << c.downX << " " << c.upX;
        EXPECT_EQ(host.captured == &s, c.upX == -1) << c.downX << " " << c.upX;
    }
}

TEST_F(SliderTest, PropertyWritesFollowTheirRules) {
    ucSlider& s = make(kProgress);
    s.setValue(40);
    host.takeEvents();
    host.invalidations = 0;
    EXPECT_EQ(errorOf([&] { s.setMin(100); }), 380);
    EXPECT_EQ(errorOf([&] { s.setMin(INT32_MIN); }), 6);  // a range beyond 32 bits
    s.setMax(0);                                          // not above Min
    s.setValue(101);
    s.setValue(-1);
    s.setOrientation(2);  // neither across nor upright
    s.setMax(200);
    s.setValue(40);  // the same number: not even the thumb moves to where 40 now belongs
    EXPECT_TRUE(s.Min() == 0 && s.Max() == 200 && s.Value() == 40 && s.ThumbLeft() == 68.0f);
    EXPECT_EQ(s.Orientation(), 0);
    EXPECT_EQ(host.invalidations, 0);
    EXPECT_EQ(host.takeEvents(), "");
    s.setMin(-2147483000);
    EXPECT_EQ(host.takeEvents(), "Change ArrivedFirst");
    EXPECT_EQ(errorOf([&] { s.setMax(INT32_MAX); }), 6);
    EXPECT_EQ(s.Max(), 200);
    // A stored design without a usable range loads the default one.
    for (Design d :
         {Design{.min = 50, .max = 20, .value = 7}, Design{.min = INT32_MIN, .value = 7}}) {
        ucSlider& restored = make(d);
        EXPECT_TRUE(restored.Min() == 0 && restored.Max() == 10 && restored.Value() == 7);
    }
    EXPECT_EQ(make({.orientation = 2}).Orientation(), 1);  // and one of unknown orientation
}

TEST_F(SliderTest, ArrivalEventsFollowChangeAndSeeTheValueItsHandlerLeft) {
    // A change handler that writes `v` once, as a host may.
    const auto writesOnce = [this](ucSlider& s, std::int32_t v) {
        s.onChange = [this, &s, v, done = false]() mutable {
            host.log("Change");
            if (!std::exchange(done, true)) s.setValue(v);
        };
    };
    // Each on a progress slider (0 to 100) at 50, its thumb's left edge at 85.
    const std::tuple<const char*, std::function<void(ucSlider&)>, const char*> cases[] = {
        {"Value to Max", [](ucSlider& s) { s.setValue(100); }, "Change ArrivedLast"},
        {"Value to Min", [](ucSlider& s) { s.setValue(0); }, "Change ArrivedFirst"},
        {"Value in between", [](ucSlider& s) { s.setValue(99); }, "Change"},
        {"Min below Value", [](ucSlider& s) { s.setMin(-5); }, "Change ArrivedFirst"},
        {"Min at Value", [](ucSlider& s) { s.setMin(50); }, ""},
        {"a drag to the end", [](ucSlider& s) { drag(s, 400); }, "MouseDown Change ArrivedLast"},
        {"a drag to the start", [](ucSlider& s) { drag(s, -9); }, "MouseDown Change ArrivedFirst"},
        {"a press at the rail's start", [](ucSlider& s) { press(s, 2); },
         "Change ArrivedFirst MouseDown"},
        {"a handler that writes Max", [&](ucSlider& s) { writesOnce(s, 100), s.setValue(60); },
         "Change Change ArrivedLast ArrivedLast"},
        {"a handler that leaves Max", [&](ucSlider& s) { writesOnce(s, 99), s.setValue(100); },
         "Change Change"},
    };
    for (const auto& [name, act, events] : cases) {
        act(make({.value = 50}));
        EXPECT_EQ(host.takeEvents(), events) << name;
    }
}

TEST_F(SliderTest, MouseDownAndUpPassTheShiftStateOfTheirOwnEvent) {
    ucSlider& s = make({.value = 50});
    // A left press on the thumb with Shift, Ctrl and Alt held, and its release without Shift.
    MouseEvent e{.action = Down, .button = L, .buttons = L, .pos = {90, 5}};
    e.shift = e.ctrl = e.alt = true;
    s.mouseEvent(e);
    e.action = Up, e.buttons = 0, e.shift = false;
    s.mouseEvent(e);
    EXPECT_EQ(host.takeEvents(), "MouseDown7 Click MouseUp6");  // Shift 1, Ctrl 2, Alt 4
}

TEST_F(SliderTest, ADesignWrittenAndReadBackGivesTheSameSlider) {
    // Sited as a form sites its controls: a fresh one first, a restored one after reading.
    const auto sited = [&](const PropertyBag* design) -> ucSlider& {
        ucSlider& s = sliders.emplace_back();
        s.attach(&host);
        if (design) s.ReadProperties(*design);
        s.setBounds(Rect::fromXYWH(4, 4, 100, 30));
        return s;
    };
    for (bool everything : {false, true}) {
        ucSlider& original = sited(nullptr);
        if (everything) {
            original.setBackColor(0x123456);
            original.setEnabled(false);
            original.setMouseIcon(&art::buttonFace(3, art::Look::Hover));  // any picture serves
            original.setMousePointer(99);
            original.setSliderImage(&art::scrollThumb());
            original.setOrientation(0);
            original.setRailImage(&art::progressRail());
            original.setRailStyle(ucSlider::kPictureMode);
            original.setMax(300);
            original.setMin(-20);
            original.setValue(255);
        }
        PropertyBag design;
        original.WriteProperties(design);
        std::vector<std::string> names;  // in the order a design keeps them; defaults not at all
        for (const auto& [name, value] : design.entries()) names.push_back(name);
        const std::vector<std::string> all{
            "BackColor", "Enabled",   "MouseIcon", "MousePointer", "SliderImage", "Orientation",
            "RailImage", "RailStyle", "Min",       "Max",          "Value"};
        EXPECT_EQ(names, everything ? all : std::vector<std::string>{});
        ucSlider& restored = sited(&design);
        PropertyBag again;
        restored.WriteProperties(again);
        EXPECT_EQ(again.entries(), design.entries()) << everything;
        EXPECT_EQ(restored.bounds(), original.bounds()) << everything;
        EXPECT_FLOAT_EQ(restored.ThumbLeft(), original.ThumbLeft()) << everything;
        EXPECT_FLOAT_EQ(restored.ThumbTop(), original.ThumbTop()) << everything;
    }
}

}  // namespace
}  // namespace tb
