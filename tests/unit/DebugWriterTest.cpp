#include <gtest/gtest.h>

#include "diag/DebugWriter.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

class DebugWriterTest : public ::testing::Test {
protected:
    DebugWriterTest() {
        desk.setExeFolder("C:\\Apps");
        desk.setLocalTime({2026, 12, 5, 16, 7, 9});
    }
    static constexpr const char* kPath = "C:\\Apps\\log05122026160709.log";
    sim::SimDesktop desk;
};

TEST_F(DebugWriterTest, WritesNothingUntilEnabledThenEachLineVerbatimBetweenStartAndEnd) {
    desk.files().putFile(kPath, "old content that is longer");  // replaced
    {
        DebugWriter w(desk);
        EXPECT_EQ(w.filePath(), kPath);
        w.writeLine("before");
        w.enableWriter();
        w.enableWriter();  // no second start line, same file
        w.writeLine("Tunebalk load");
        w.writeLine("twee\r\nregels");
        desk.advance(61 * 60 * 1000);
    }
    EXPECT_EQ(desk.files().readFile(kPath),
              "Log start (05-12-2026, 16:07:09)\r\nTunebalk load\r\ntwee\r\nregels\r\n"
              "Log eind (05-12-2026, 17:08:09)\r\n");
}

TEST_F(DebugWriterTest, AFolderWithoutWriteAccessFailsSilently) {
    desk.files().setReadOnly("C:\\Apps", true);
    DebugWriter w(desk);
    w.enableWriter();
    w.writeLine("Tunebalk load");
    EXPECT_TRUE(w.enabled());
    EXPECT_TRUE(desk.files().filesIn("C:\\Apps").empty());
}

}  // namespace
}  // namespace tb
