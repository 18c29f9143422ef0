#include <gtest/gtest.h>

#include "app/Versie.h"
#include "common/Numeric.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

TEST(Numeric, RoundsHalvesToTheEvenNeighbourAndSixteenBitsOverflowWithErrorSix) {
    const std::pair<double, std::int32_t> reals[] = {
        {0.5, 0},   {1.5, 2},   {2.5, 2},    {-0.5, 0},   {-1.5, -2},
        {-2.5, -2}, {59.5, 60}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
    for (auto [in, out] : reals) EXPECT_EQ(roundHalfEven32(in), out) << in;
    const std::tuple<std::int64_t, std::int64_t, std::int64_t> quotients[] = {
        {2500, 1000, 2},   {3500, 1000, 4}, {-2500, 1000, -2},
        {-3500, 1000, -4}, {-1, 1000, 0},   {2147483647, 1000, 2147484}};
    for (auto [n, d, q] : quotients) EXPECT_EQ(divRoundHalfEven(n, d), q) << n;
    EXPECT_EQ(toInt16Checked(32767) + toInt16Checked(-32768), -1);
    for (std::int64_t bad : {32768LL, -32769LL, 1LL << 40})
        EXPECT_EQ(test::errorOf([&] { toInt16Checked(bad); }), errnum::Overflow) << bad;
    EXPECT_EQ(test::errorOf([] { roundHalfEven16(32767.5); }), errnum::Overflow);  // 32768
    EXPECT_EQ(roundHalfEven16(32766.5), 32766);
}

TEST(VersieTekst, ShowsTheRevisionOnlyAboveZero) {
    EXPECT_EQ(VersieTekst(4, 2, 0), "Versie: 4.2");
    EXPECT_EQ(VersieTekst(10, 12, 305), "Versie: 10.12.305");
    EXPECT_EQ(VersieTekst(), "Versie: 4.2.2") << "the program's own version";
}

}  // namespace
}  // namespace tb
