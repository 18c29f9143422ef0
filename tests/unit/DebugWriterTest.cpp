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
    std::string logText() { return desk.files().readFile("C:\\Apps\\log05122026160709.log").value_or("<none>"); }
    sim::SimDesktop desk;
};

TEST_F(DebugWriterTest, WritesNothingUntilEnabled) {
    {
        DebugWriter w(desk);
        w.writeLine("Tunebalk load");
    }
    EXPECT_TRUE(desk.files().filesIn("C:\\Apps").empty());
}

TEST_F(DebugWriterTest, WritesStartLinesVerbatimAndEndLineWithCrLf) {
    {
        DebugWriter w(desk);
        EXPECT_EQ(w.filePath(), "C:\\Apps\\log05122026160709.log");
        w.enableWriter();
        w.enableWriter();  // no second start line, same file
        w.writeLine("Tunebalk load");
        w.writeLine("twee\r\nregels");
        desk.advance(61 * 60 * 1000);
    }
    EXPECT_EQ(logText(),
              "Log start (05-12-2026, 16:07:09)\r\n"
              "Tunebalk load\r\n"
              "twee\r\nregels\r\n"
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

TEST_F(DebugWriterTest, ReplacesAnExistingFileOfTheSameName) {
    desk.files().putFile("C:\\Apps\\log05122026160709.log", "old content that is longer");
    DebugWriter w(desk);
    w.enableWriter();
    EXPECT_EQ(logText(), "Log start (05-12-2026, 16:07:09)\r\n");
}

}  // namespace
}  // namespace tb
