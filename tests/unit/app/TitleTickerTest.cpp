#include <gtest/gtest.h>

#include <vector>

#include "app/TitleTicker.h"

namespace tb {
namespace {

std::vector<float> run(TitleTicker& t, float width, int ticks) {
    std::vector<float> lefts;
    for (int i = 0; i < ticks; ++i) lefts.push_back(t.Tick(width));
    return lefts;
}

TEST(TitleTicker, MovesATooWideTitleToAndFroAndLetsAFittingOneStand) {
    const std::tuple<const char*, float, std::vector<float>> cases[] = {
        {"exactly the area", 3855, {120, 120}},
        // Left until left + width <= 3855 (at -20, after 13 steps), right to 120, and back.
        {"one twip wider", 3856, {220, 200, 180, 160, 140, 120, 100, 80,  60,  40, 20,
                                  0,   -20, 0,   20,  40,  60,  80,  100, 120, 100}},
        {"reaching the limit exactly", 3875, {220, 200, 180, 160, 140, 120, 100, 80,  60,  40, 20,
                                              0,   -20, 0,   20,  40,  60,  80,  100, 120, 100}},
    };
    for (const auto& [title, width, lefts] : cases) {
        TitleTicker t(1080);
        t.Restart();
        EXPECT_EQ(run(t, width, static_cast<int>(lefts.size())), lefts) << title;
    }
}

TEST(TitleTicker, TheDesignTextStandsAtRestAndANewTitleStartsAfresh) {
    TitleTicker t(1080);  // the design caption, narrower than the area and never widened
    EXPECT_EQ(t.Tick(1200), 120);
    t.Restart();
    EXPECT_EQ(t.Left(), 240);
    run(t, 3856, 14);  // turned, moving right
    EXPECT_TRUE(t.TitelTerug());
    t.Restart();
    EXPECT_FALSE(t.TitelTerug());
    EXPECT_EQ(t.Tick(3856), 220);
}

}  // namespace
}  // namespace tb
