#include <gtest/gtest.h>

#include "diag/modTransparant.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

TEST(modTransparantTest, AppliesOpacitiesInRangeOnlyAndReportsAFailedStep) {
    sim::SimDesktop desk;
    const Hwnd hwnd = desk.createWindow({"Balk", "", Rect::fromXYWH(0, 0, 10, 10)}, nullptr);
    const struct {
        std::int16_t opacity;
        std::int32_t result;
        std::uint8_t alpha;  // afterwards
    } cases[] = {{255, alpha::Toegepast, 255},
                 {0, alpha::Toegepast, 0},
                 {153, alpha::Toegepast, 153},
                 {-1, alpha::BuitenBereik, 153},
                 {256, alpha::BuitenBereik, 153}};
    for (const auto& c : cases) {
        EXPECT_EQ(SetWindowAlpha(desk, hwnd, c.opacity), c.result) << c.opacity;
        EXPECT_EQ(desk.window(hwnd)->layeredAlpha, c.alpha) << c.opacity;
    }
    EXPECT_TRUE(desk.exStyle(hwnd) & wsex::WS_EX_LAYERED);
    desk.destroyWindow(hwnd);
    EXPECT_EQ(SetWindowAlpha(desk, hwnd, 100), alpha::Mislukt);
}

}  // namespace
}  // namespace tb
