#include <gtest/gtest.h>

#include "common/Numeric.h"
#include "common/ProgramError.h"

namespace tb {
namespace {

TEST(Numeric, RoundsHalvesToTheEvenNeighbour) {
    struct Case {
        double in;
        std::int32_t out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0}, {-1.5, -2},
                 {-2.5, -2}, {59.5, 60}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven32(c.in), c.out) << c.in;
}

TEST(Numeric, IntegerDivisionRoundsHalfToEvenExactly) {
    EXPECT_EQ(divRoundHalfEven(2500, 1000), 2);
    EXPECT_EQ(divRoundHalfEven(3500, 1000), 4);
    EXPECT_EQ(divRoundHalfEven(59500, 1000), 60);
    EXPECT_EQ(divRoundHalfEven(-2500, 1000), -2);
    EXPECT_EQ(divRoundHalfEven(-3500, 1000), -4);
    EXPECT_EQ(divRoundHalfEven(-1, 1000), 0);
    EXPECT_EQ(divRoundHalfEven(2147483647, 1000), 2147484);
}

TEST(Numeric, SixteenBitConversionsOverflowWithErrorSix) {
    EXPECT_EQ(toInt16Checked(32767), 32767);
    EXPECT_EQ(toInt16Checked(-32768), -32768);
    for (std::int64_t bad : {32768LL, -32769LL, 1LL << 40}) {
        try {
            toInt16Checked(bad);
            ADD_FAILURE() << bad;
        } catch (const ProgramError& e) {
            EXPECT_EQ(e.number(), errnum::Overflow);
        }
    }
    EXPECT_THROW(roundHalfEven16(32767.5), ProgramError);  // rounds to 32768
    EXPECT_EQ(roundHalfEven16(32766.5), 32766);
}

}  // namespace
}  // namespace tb
