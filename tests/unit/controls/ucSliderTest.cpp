#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "ControlTestHost.h"
#include "common/VbError.h"
#include "controls/ucSlider.h"

namespace tb {
namespace {

using test::RecordingCanvas;
using test::TestHost;

Image picture(std::int32_t w, std::int32_t h) {
    Image img;
    img.width = w;
    img.height = h;
    img.pixels.assign(static_cast<std::size_t>(w * h), rgb(1, 2, 3));
    return img;
}

const Image kRail184 = picture(184, 11);
const Image kRail62 = picture(62, 10);
const Image kRail14x81 = picture(14, 81);
const Image kThumb14x8 = picture(14, 8);
const Image kThumb8x14 = picture(8, 14);

struct Design {
    std::int32_t orientation = 0;
    std::int32_t railStyle = 99;
    std::int32_t min = 0;
    std::int32_t max = 100;
    std::int32_t value = 0;
    const Image* thumb = &kThumb14x8;
    const Image* rail = &kRail184;
    Rect bounds = Rect::fromXYWH(6, 43, 184, 11);
};

const Design kProgress{};
const Design kVolume{0, 99, 0, 255, 255, &kThumb14x8, &kRail62, Rect::fromXYWH(199, 43, 62, 10)};
const Design kScroll{1, 99, 0, 1, 1, &kThumb8x14, &kRail14x81, Rect::fromXYWH(519, 8, 14, 85)};

class SliderTest : public ::testing::Test {
protected:
    // A slider restored from a stored design and sited, with every event logged.
    ucSlider& make(const Design& d) {
        ucSlider& slider = sliders.emplace_back();
        PropertyBag bag;
        bag.WriteProperty("Orientation", d.orientation, 1);
        bag.WriteProperty("RailStyle", d.railStyle, 0);
        bag.WriteProperty("Min", d.min, 0);
        bag.WriteProperty("Max", d.max, 10);
        bag.WriteProperty("Value", d.value, 0);
        bag.WriteProperty("SliderImage", d.thumb, Picture{});
        bag.WriteProperty("RailImage", d.rail, Picture{});
        slider.attach(&host);
        slider.ReadProperties(bag);
        slider.setBounds(d.bounds);
        slider.onClick = [this] { log.push_back("Click"); };
        slider.onArrivedFirst = [this] { log.push_back("ArrivedFirst"); };
        slider.onArrivedLast = [this] { log.push_back("ArrivedLast"); };
        slider.onChange = [this] { log.push_back("Change"); };
        slider.onMouseDown = [this](std::int16_t& s) {
            log.push_back("MouseDown" + std::to_string(s));
        };
        slider.onMouseUp = [this](std::int16_t& s) {
            log.push_back("MouseUp" + std::to_string(s));
        };
        host.invalidations = 0;
        return slider;
    }

    std::string events() {
        std::string s;
        for (const auto& e : log) s += (s.empty() ? "" : " ") + e;
        log.clear();
        return s;
    }

    TestHost host;
    std::list<ucSlider> sliders;
    std::vector<std::string> log;
};

// ---- value and position ------------------------------------------------------------------------

TEST_F(SliderTest, ValueMapsToThumbPositionAlongEachAxis) {
    struct Case {
        const char* name;
        Design design;
        std::int32_t value;
        float left, top;
    } cases[] = {
        {"progress middle", kProgress, 50, 85.0f, 1.0f},
        {"progress end", kProgress, 100, 170.0f, 1.0f},
        {"progress fraction", kProgress, 33, 56.1f, 1.0f},
        {"volume full", kVolume, 255, 48.0f, 1.0f},
        {"volume zero", kVolume, 0, 0.0f, 1.0f},
        {"scroll max at top", kScroll, 1, 3.0f, 0.0f},
        {"scroll min at bottom", kScroll, 0, 3.0f, 67.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ucSlider& s = make(c.design);
        s.setValue(c.value);
        EXPECT_FLOAT_EQ(s.ThumbLeft(), c.left);
        EXPECT_FLOAT_EQ(s.ThumbTop(), c.top);
    }
}

TEST_F(SliderTest, DraggingRoundsHalfStepsToEvenAndSnapsTheThumb) {
    // 34 pixels wide with a 14-pixel thumb: 20 pixels of travel for the values 0 to 5, so
    // every 4 pixels is one step and the odd multiples of 2 lie exactly half-way.
    Design d = kProgress;
    d.railStyle = 0;
    d.max = 5;
    d.rail = nullptr;
    d.bounds = Rect::fromXYWH(0, 0, 34, 8);
    struct Case {
        int pointerX;  // the thumb was grabbed at its left edge
        std::int32_t value;
        float left;
    } cases[] = {
        {2, 0, 0.0f},   {3, 1, 4.0f},  {6, 2, 8.0f},   {10, 2, 8.0f},
        {14, 4, 16.0f}, {-7, 0, 0.0f}, {35, 5, 20.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointerX);
        ucSlider& s = make(d);
        TestHost::press(s, {0, 4});
        TestHost::move(s, {c.pointerX, 4}, mouse::Left);
        EXPECT_EQ(s.Value(), c.value);
        EXPECT_FLOAT_EQ(s.ThumbLeft(), c.left);
        TestHost::release(s, {c.pointerX, 4});
    }
}

TEST_F(SliderTest, VerticalScrollHalfWayGoesToTheEvenValue) {
    // Thumb 14 high in 81: 67 of travel. With Max 2 and Value 1 the thumb stands at 33.5;
    // grabbing it there and lowering Max to 1 leaves a thumb exactly half-way.
    ucSlider& s = make(kScroll);
    s.setMax(2);
    s.setValue(2);
    s.setValue(1);
    ASSERT_FLOAT_EQ(s.ThumbTop(), 33.5f);
    TestHost::press(s, {5, 40});  // on the thumb: grabbed 6.5 below its top
    s.setMax(1);
    events();

    TestHost::move(s, {5, 40}, mouse::Left);  // top 33.5: (67 - 33.5) / 67 = 0.5 -> 0
    EXPECT_EQ(s.Value(), 0);
    EXPECT_FLOAT_EQ(s.ThumbTop(), 67.0f);
    TestHost::move(s, {5, 39}, mouse::Left);  // top 32.5 -> 1, snapped to the top
    EXPECT_EQ(s.Value(), 1);
    EXPECT_FLOAT_EQ(s.ThumbTop(), 0.0f);
    EXPECT_EQ(events(), "Change ArrivedFirst Change ArrivedLast");
}

TEST_F(SliderTest, ZeroTravelGivesValueZeroAndThumbAtZero) {
    Design d = kProgress;
    d.railStyle = 0;
    d.rail = nullptr;
    d.min = 0;
    d.max = 10;
    d.value = 5;
    d.bounds = Rect::fromXYWH(0, 0, 14, 8);  // exactly the thumb: no travel
    ucSlider& s = make(d);
    TestHost::press(s, {3, 3});
    TestHost::move(s, {9, 3}, mouse::Left);
    EXPECT_EQ(s.Value(), 0);
    EXPECT_FLOAT_EQ(s.ThumbLeft(), 0.0f);
}

// ---- mouse ---------------------------------------------------------------------------------

TEST_F(SliderTest, PressReleaseSequencesRaiseTheirEventsInOrder) {
    struct Step {
        MouseAction action;
        Point at;
        int button;
    };
    struct Case {
        const char* name;
        std::int32_t value;
        bool enabled;
        std::vector<Step> steps;
        const char* expected;
        std::int32_t finalValue;
    } cases[] = {
        {"press on thumb", 50, true, {{MouseAction::Down, {90, 5}, mouse::Left}}, "MouseDown0", 50},
        {"press on rail jumps centre under pointer",
         0,
         true,
         {{MouseAction::Down, {100, 5}, mouse::Left}},
         "Change MouseDown0",
         55},
        {"press near the end clamps to Max",
         0,
         true,
         {{MouseAction::Down, {183, 5}, mouse::Left}},
         "Change ArrivedLast MouseDown0",
         100},
        {"press near the start clamps to Min",
         50,
         true,
         {{MouseAction::Down, {0, 5}, mouse::Left}},
         "Change ArrivedFirst MouseDown0",
         0},
        {"drag from thumb then release inside",
         50,
         true,
         {{MouseAction::Down, {90, 5}, mouse::Left},
          {MouseAction::Move, {120, 5}, 0},
          {MouseAction::Up, {120, 5}, mouse::Left}},
         "MouseDown0 Change Click MouseUp0",
         68},
        {"release outside",
         50,
         true,
         {{MouseAction::Down, {90, 5}, mouse::Left}, {MouseAction::Up, {90, 30}, mouse::Left}},
         "MouseDown0 MouseUp0",
         50},
        {"release past the right edge",
         50,
         true,
         {{MouseAction::Down, {90, 5}, mouse::Left}, {MouseAction::Up, {184, 5}, mouse::Left}},
         "MouseDown0 MouseUp0",
         50},
        {"disabled ignores presses but clicks",
         50,
         false,
         {{MouseAction::Down, {10, 5}, mouse::Left},
          {MouseAction::Move, {150, 5}, 0},
          {MouseAction::Up, {150, 5}, mouse::Left}},
         "Click",
         50},
        {"right button starts nothing",
         50,
         true,
         {{MouseAction::Down, {10, 5}, mouse::Right}, {MouseAction::Up, {10, 5}, mouse::Right}},
         "",
         50},
        {"moves without a press do nothing", 50, true, {{MouseAction::Move, {10, 5}, 0}}, "", 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Design d = kProgress;
        d.value = c.value;
        ucSlider& s = make(d);
        s.setEnabled(c.enabled);
        for (const Step& st : c.steps) {
            const int held =
                st.action == MouseAction::Up ? 0 : (st.button ? st.button : mouse::Left);
            TestHost::mouse(s, st.action, st.at, st.button, held);
        }
        EXPECT_EQ(events(), c.expected);
        EXPECT_EQ(s.Value(), c.finalValue);
        EXPECT_FALSE(s.Dragging() && c.steps.back().action == MouseAction::Up);
    }
}

TEST_F(SliderTest, ShiftStateTravelsWithPressAndRelease) {
    ucSlider& s = make(kProgress);
    TestHost::mouse(s, MouseAction::Down, {3, 5}, mouse::Left, mouse::Left, true);
    TestHost::mouse(s, MouseAction::Up, {3, 5}, mouse::Left, 0, false);
    EXPECT_EQ(events(), "MouseDown1 Click MouseUp0");
}

TEST_F(SliderTest, DragHoldsTheCaptureAndFollowsThePointerOutside) {
    ucSlider& s = make(kProgress);
    TestHost::press(s, {3, 5});
    EXPECT_EQ(host.captured, &s);
    TestHost::move(s, {500, -40}, mouse::Left);  // far right, above the bar
    EXPECT_EQ(s.Value(), 100);
    EXPECT_FLOAT_EQ(s.ThumbLeft(), 170.0f);
    TestHost::move(s, {-300, 90}, mouse::Left);
    EXPECT_EQ(s.Value(), 0);
    TestHost::release(s, {-300, 90});
    EXPECT_EQ(host.captured, nullptr);
    EXPECT_FALSE(s.Dragging());
}

TEST_F(SliderTest, LosingTheCaptureEndsTheDragLikeARelease) {
    ucSlider& s = make(kProgress);
    TestHost::press(s, {3, 5});
    events();
    s.captureLost();
    EXPECT_FALSE(s.Dragging());
    EXPECT_EQ(events(), "MouseUp0");
    TestHost::move(s, {100, 5}, mouse::Left);
    EXPECT_EQ(s.Value(), 0);
}

TEST_F(SliderTest, ADragWithinOneValueStepRepaintsNothing) {
    Design d = kProgress;
    d.max = 10;  // 17 pixels per value
    ucSlider& p = make(d);
    TestHost::press(p, {3, 5});
    host.invalidations = 0;
    for (int x = 4; x <= 10; ++x) TestHost::move(p, {x, 5}, mouse::Left);
    EXPECT_EQ(host.invalidations, 0);
    EXPECT_EQ(events(), "MouseDown0");
    TestHost::move(p, {20, 5}, mouse::Left);  // now one step further
    EXPECT_EQ(host.invalidations, 1);
    EXPECT_EQ(events(), "Change");
}

// ---- property rules ------------------------------------------------------------------------

TEST_F(SliderTest, MinMustStayBelowMax) {
    ucSlider& s = make(kProgress);
    s.setValue(40);
    events();
    for (std::int32_t bad : {100, 101}) {
        try {
            s.setMin(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 380);
        }
    }
    EXPECT_EQ(s.Min(), 0);
    EXPECT_EQ(s.Value(), 40);
    EXPECT_EQ(events(), "");

    s.setMin(20);
    EXPECT_EQ(s.Value(), 20);
    EXPECT_FLOAT_EQ(s.ThumbLeft(), 0.0f);
    EXPECT_EQ(events(), "Change ArrivedFirst");
    s.setValue(60);  // the range is now 20..100
    EXPECT_FLOAT_EQ(s.ThumbLeft(), 85.0f);
}

TEST_F(SliderTest, MaxAndValueIgnoreUnusableNumbersSilently) {
    ucSlider& s = make(kProgress);
    s.setValue(30);
    events();
    s.setMax(0);
    s.setMax(-5);
    EXPECT_EQ(s.Max(), 100);
    s.setValue(101);
    s.setValue(-1);
    EXPECT_EQ(s.Value(), 30);
    EXPECT_EQ(events(), "");
    EXPECT_EQ(host.invalidations, 1);  // only the accepted write repainted

    s.setMax(20);  // below Value: Value stays until the next accepted write
    EXPECT_EQ(s.Value(), 30);
    EXPECT_EQ(events(), "");
    s.setValue(20);
    EXPECT_EQ(events(), "Change ArrivedLast");
}

TEST_F(SliderTest, WritingTheSameValueDoesNothingAtAll) {
    ucSlider& s = make(kProgress);
    s.setValue(50);
    events();
    host.invalidations = 0;
    s.setMax(200);  // the thumb would now belong at 42.5
    s.setValue(50);
    EXPECT_FLOAT_EQ(s.ThumbLeft(), 85.0f);
    EXPECT_EQ(host.invalidations, 0);
    EXPECT_EQ(events(), "");
}

TEST_F(SliderTest, RangesBeyondThirtyTwoBitsAreRefusedWithoutChange) {
    ucSlider& s = make(kProgress);
    try {
        s.setMin(-2147483647 - 1);
        ADD_FAILURE();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(s.Min(), 0);
    s.setMin(-2147483000);
    try {
        s.setMax(2147483647);
        ADD_FAILURE();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(s.Max(), 100);
}

TEST_F(SliderTest, HandlersWritingValueAreSeenByTheArrivalTests) {
    ucSlider& s = make(kProgress);
    s.onChange = [&] {
        log.push_back("Change");
        if (s.Value() == 100) s.setValue(0);
    };
    s.setValue(100);
    // The inner write raised its own events; the outer arrival tests then saw Value 0.
    EXPECT_EQ(events(), "Change Change ArrivedFirst ArrivedFirst");
}

// ---- layout and painting -------------------------------------------------------------------

TEST_F(SliderTest, ResizeSetsOwnSizeThumbAndRail) {
    struct Case {
        const char* name;
        Design design;
        Rect bounds;
        float thumbLeft, thumbTop;
        Rect rail;
    } cases[] = {
        {"progress", kProgress, Rect::fromXYWH(6, 43, 184, 11), 0, 1, Rect{5, 2, 179, 6}},
        {"volume", kVolume, Rect::fromXYWH(199, 43, 62, 10), 48, 1, Rect{5, 2, 57, 6}},
        {"scroll", kScroll, Rect::fromXYWH(519, 8, 14, 81), 3, 0, Rect{2, 5, 6, 76}},
        {"thumb taller than rail",
         {0, 99, 0, 10, 0, &kThumb8x14, &kRail184},
         Rect::fromXYWH(6, 43, 184, 14),
         0,
         0,
         Rect{2, 5, 182, 9}},
        {"edge style keeps width",
         {0, 0, 0, 10, 0, &kThumb14x8, nullptr, Rect::fromXYWH(0, 0, 100, 30)},
         Rect::fromXYWH(0, 0, 100, 8),
         0,
         0,
         Rect{5, 2, 95, 6}},
        {"edge style zero width",
         {0, 0, 0, 10, 0, &kThumb14x8, nullptr, Rect{}},
         Rect::fromXYWH(0, 0, 14, 8),
         0,
         0,
         Rect{5, 2, 9, 6}},
        {"99 without a rail picture",
         {0, 99, 0, 10, 0, &kThumb14x8, nullptr, Rect::fromXYWH(0, 0, 100, 30)},
         Rect::fromXYWH(0, 0, 100, 8),
         0,
         0,
         Rect{5, 2, 95, 6}},
        {"vertical edge style",
         {1, 0, 0, 10, 10, &kThumb8x14, nullptr, Rect::fromXYWH(0, 0, 40, 60)},
         Rect::fromXYWH(0, 0, 8, 60),
         0,
         0,
         Rect{2, 5, 6, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ucSlider& s = make(c.design);
        EXPECT_EQ(s.bounds(), c.bounds);
        EXPECT_FLOAT_EQ(s.ThumbLeft(), c.thumbLeft);
        EXPECT_FLOAT_EQ(s.ThumbTop(), c.thumbTop);
        EXPECT_EQ(s.RailRect(), c.rail);
    }
}

TEST_F(SliderTest, EachRailStyleDrawsItsBevel) {
    struct Case {
        std::int32_t style;
        bool drawn;
        unsigned edgeType;
    } cases[] = {{0, true, 10}, {1, true, 5},  {2, true, 2},  {3, true, 4},
                 {4, false, 0}, {7, false, 0}, {99, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Design d{0, c.style, 0, 10, 0, &kThumb14x8, nullptr, Rect::fromXYWH(10, 20, 100, 8)};
        ucSlider& s = make(d);
        RecordingCanvas canvas;
        s.paint(canvas);
        ASSERT_FALSE(canvas.ops.empty());
        EXPECT_EQ(canvas.ops[0].what, "fill");
        EXPECT_EQ(canvas.ops[0].rect, Rect::fromXYWH(10, 20, 100, 8));
        EXPECT_EQ(canvas.ops[0].color, rgb(240, 240, 240));  // the button face
        auto edges = canvas.of("edge");
        ASSERT_EQ(edges.size(), c.drawn ? 1u : 0u);
        if (c.drawn) {
            EXPECT_EQ(edges[0].rect, (Rect{15, 22, 105, 26}));
            EXPECT_EQ(edges[0].edgeType, c.edgeType);
            EXPECT_EQ(edges[0].flags, 15u);
        }
        auto images = canvas.of("image");  // the thumb is drawn in every style
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].rect, Rect::fromXYWH(10, 20, 14, 8));
    }
}

TEST_F(SliderTest, PictureModePaintsRailAndThumbPictures) {
    ucSlider& p = make(kProgress);
    p.setValue(50);
    RecordingCanvas canvas;
    p.paint(canvas);
    auto images = canvas.of("image");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image, &kRail184);
    EXPECT_EQ(images[0].rect, Rect::fromXYWH(6, 43, 184, 11));
    EXPECT_EQ(images[1].rect, Rect::fromXYWH(6 + 85, 44, 14, 8));

    // The vertical rail is stretched to 14 x 86 and cut at the control's 81 rows.
    ucSlider& s = make(kScroll);
    RecordingCanvas vcanvas;
    s.paint(vcanvas);
    images = vcanvas.of("image");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image->height, 86);
    EXPECT_EQ(images[0].rect, Rect::fromXYWH(519, 8, 14, 81));
    EXPECT_EQ(images[1].rect, Rect::fromXYWH(522, 8, 8, 14));
}

TEST_F(SliderTest, WithoutAThumbPictureTheThumbIsARaisedBox) {
    Design d{0, 0, 0, 10, 0, nullptr, nullptr, Rect::fromXYWH(10, 20, 100, 8)};
    ucSlider& s = make(d);
    EXPECT_EQ(s.SliderRect(), (Rect{0, 0, 14, 8}));
    RecordingCanvas canvas;
    s.paint(canvas);
    ASSERT_EQ(canvas.ops.size(), 4u);
    EXPECT_EQ(canvas.ops[2].what, "fill");
    EXPECT_EQ(canvas.ops[2].rect, Rect::fromXYWH(10, 20, 14, 8));  // (0,0)..(13,7) inclusive
    EXPECT_EQ(canvas.ops[3].what, "edge");
    EXPECT_EQ(canvas.ops[3].edgeType, 5u);
    s.setValue(5);
    EXPECT_EQ(s.SliderRect(), (Rect{43, 0, 57, 8}));
}

TEST_F(SliderTest, NewSliderIsVerticalFromZeroToTen) {
    ucSlider s;
    EXPECT_TRUE(s.Enabled());
    EXPECT_EQ(s.Orientation(), 1);
    EXPECT_EQ(s.RailStyle(), 0);
    EXPECT_EQ(s.Min(), 0);
    EXPECT_EQ(s.Max(), 10);
    EXPECT_EQ(s.Value(), 0);
    EXPECT_EQ(s.BackColor(), 0x8000000Fu);
    EXPECT_EQ(s.ThumbSize(), (Size{14, 8}));
    s.attach(&host);
    s.setBounds(Rect::fromXYWH(0, 0, 20, 50));
    EXPECT_EQ(s.bounds(), Rect::fromXYWH(0, 0, 14, 50));
    EXPECT_FLOAT_EQ(s.ThumbTop(), 42.0f);  // Value 0 = Min sits at the bottom
}

// ---- persistence ---------------------------------------------------------------------------

TEST_F(SliderTest, PropertiesAreStoredOnlyWhenNotDefaultInTheirOrder) {
    ucSlider fresh;
    PropertyBag empty;
    fresh.WriteProperties(empty);
    EXPECT_TRUE(empty.entries().empty());

    ucSlider& s = make(kVolume);
    s.setEnabled(false);
    s.setBackColor(0x123456);
    PropertyBag bag;
    s.WriteProperties(bag);
    std::vector<std::string> names;
    for (const auto& [name, value] : bag.entries()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"BackColor", "Enabled", "SliderImage", "Orientation",
                                               "RailImage", "RailStyle", "Max", "Value"}));

    ucSlider copy;
    copy.attach(&host);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.BackColor(), 0x123456u);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Orientation(), 0);
    EXPECT_EQ(copy.Max(), 255);
    EXPECT_EQ(copy.Value(), 255);
    EXPECT_EQ(copy.LastValue(), 255);
    EXPECT_EQ(copy.RailImage(), &kRail62);
    EXPECT_EQ(copy.bounds().width(), 62);
}

TEST_F(SliderTest, DesignsWithUnusableBoundsOrOrientationLoadDefaults) {
    PropertyBag bag;
    bag.WriteProperty("Min", 50, 0);
    bag.WriteProperty("Max", 20, 10);
    bag.WriteProperty("Value", 30, 0);
    bag.WriteProperty("Orientation", 7, 1);
    ucSlider s;
    s.ReadProperties(bag);
    EXPECT_EQ(s.Min(), 0);
    EXPECT_EQ(s.Max(), 10);
    EXPECT_EQ(s.Value(), 10);
    EXPECT_EQ(s.Orientation(), 1);
    s.setOrientation(2);
    EXPECT_EQ(s.Orientation(), 1);
}

}  // namespace
}  // namespace tb
