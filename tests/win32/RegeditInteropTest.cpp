// A file written by ExportToReg means the same to the system's own registry editor as to
// ImportFromReg: both imports must build the same tree. And where the dialect departs from the
// editor's (no escapes, no continuation lines, empty default), the import behaves as defined.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"
#include "settings/clsRegistryAccess.h"
#include "support/Regedit.h"
#include "support/RegistryDump.h"

// Last: the port headers name constants that <windows.h> defines as macros.
#include <windows.h>

namespace tb::test {
namespace {

class RegeditInterop : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, sub.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Oxalmo\\TunebalkInterop");
        for (const std::string& f : files) DeleteFileA(f.c_str());
    }
    std::string path(const std::string& relative) const { return "HKCU\\" + sub + "\\" + relative; }
    // Writes the text with every mention of the key "From" turned into `to`, for one import.
    std::string copy(std::string text, const std::string& to) {
        const std::string from = sub + "\\From", into = sub + "\\" + to;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), into);
            at += into.size();
        }
        files.push_back(tempPath("interop-" + to) + ".reg");
        std::ofstream(files.back(), std::ios::binary) << text;
        return files.back();
    }
    // Imports the text with ImportFromReg into "Ours" and with regedit into "Regedit".
    void importBoth(const std::string& text) {
        ASSERT_EQ(reg.ImportFromReg(copy(text, "Ours")), 1);
        ASSERT_TRUE(regeditImport(copy(text, "Regedit")));
    }
    std::string dump(const std::string& relative) {
        return dumpTree(registry, reg::HkeyCurrentUser, sub + "\\" + relative);
    }

    win32::Win32Registry registry;
    win32::Win32Desktop desktop;
    clsRegistryAccess reg{registry, desktop};
    std::string sub = "Software\\Oxalmo\\TunebalkInterop\\" + std::to_string(GetCurrentProcessId());
    std::vector<std::string> files;
};

TEST_F(RegeditInterop, RegeditAndImportFromRegBuildTheSameTree) {
    std::string bytes300;
    for (int i = 0; i < 300; ++i) bytes300 += (i ? " " : "") + std::string(i % 2 ? "FF" : "00");
    reg.WriteString(path("From"), "@", "top default");
    reg.WriteString(path("From"), "text", "Tunebalk: \xE9\xE8 caf\xE9 / 100%");
    reg.WriteString(path("From"), "empty", "");
    reg.WriteString(path("From"), "spaces", "  two each side  ");
    reg.WriteDWORD(path("From"), "zero", 0);
    reg.WriteDWORD(path("From"), "min", INT_MIN);
    reg.WriteBinary(path("From\\Bin"), "none", "");
    reg.WriteBinary(path("From\\Bin"), "few", "00 01 7F 80 FE FF");
    reg.WriteBinary(path("From\\Bin"), "many", bytes300);
    reg.WriteDWORD(path("From\\Bin\\Deeper\\Deepest"), "n", 26);
    reg.CreateKey(path("From\\Empty"));
    const std::string exported = copy("", "Export");
    DeleteFileA(exported.c_str());
    ASSERT_EQ(reg.ExportToReg(path("From"), exported, true), 1);
    importBoth(desktop.readFile(exported).value_or(""));
    const std::string source = dump("From");
    EXPECT_NE(source.find("\"many\" type 3: 00 FF"), std::string::npos);
    EXPECT_EQ(dump("Regedit"), source);
    EXPECT_EQ(dump("Ours"), source);
}

TEST_F(RegeditInterop, TheDialectDepartsFromRegeditWhereItSaysSo) {
    importBoth("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + sub +
               "\\From]\r\n\"p\"=\"a\\\\b\"\r\n\"c\"=hex:01,\\\r\n  02\r\n@=\"\"\r\n");
    // No escapes: a doubled backslash stays doubled.
    EXPECT_EQ(reg.ReadBinary(path("Ours"), "p"), "61 5C 5C 62 00");
    EXPECT_EQ(reg.ReadBinary(path("Regedit"), "p"), "61 5C 62 00");
    // No continuation lines: the backslash is a pair of no digits, the next line is lost.
    EXPECT_EQ(reg.ReadBinary(path("Ours"), "c"), "01 00");
    EXPECT_EQ(reg.ReadBinary(path("Regedit"), "c"), "01 02");
    // "@" with empty quotes: regedit stores an empty default, this import removes it.
    EXPECT_FALSE(reg.ValueExists(path("Ours"), ""));
    EXPECT_TRUE(reg.ValueExists(path("Regedit"), ""));
}

}  // namespace
}  // namespace tb::test
