// A virtual hour of the whole bar at work: nothing it holds grows.
#include "support/Soak.h"

namespace tb {
namespace {

TEST(Soak, AVirtualHourLeavesWindowsTimersHooksHandlesAndMemoryWhereTheyWere) {
    test::Soak soak(1);
    std::vector<test::SoakSample> samples;
    soak.run(60, 10, [&](const test::SoakSample& s) { samples.push_back(s); });
    // The first ten minutes fill what is filled once (the message log, fonts, the view).
    for (const test::SoakSample& s : samples) {
        EXPECT_TRUE(s.sameCounts(samples.front())) << s.line() << "\n" << samples.front().line();
        EXPECT_LE(s.heapBytes, samples.front().heapBytes + 64 * 1024) << s.line();
        EXPECT_TRUE(s.frameCurrent) << s.line();
    }
    EXPECT_GE(soak.winamp.model().current(), 19) << "a track every three minutes";
    EXPECT_TRUE(soak.desk.escapedErrors().empty());
}

}  // namespace
}  // namespace tb
