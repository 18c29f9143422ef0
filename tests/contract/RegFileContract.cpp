// REGEDIT4 export and import of clsRegistryAccess against a registry: simulated or real.
#include <gtest/gtest.h>

#include "contract/RegistryContractHost.h"
#include "settings/clsRegistryAccess.h"
#include "support/FileDesktop.h"

namespace tb::test {
namespace {

class RegFileContract : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(host->openKeyHandles(), 0u); }

    std::string key(const std::string& relative = "") const {
        return relative.empty() ? base : base + "\\" + relative;
    }
    // The key's path as an export writes it.
    std::string longKey(const std::string& relative = "") const {
        return "HKEY_CURRENT_USER" + key(relative).substr(4);
    }
    std::string& file(const std::string& name) { return files().files[name]; }
    FileDesktop& files() { return static_cast<FileDesktop&>(host->desktop()); }
    std::int32_t import(const std::string& content) {
        files().files["in.reg"] = content;
        return reg.ImportFromReg("in.reg");
    }
    std::string exported(const std::string& path) {
        files().files.erase("out.reg");
        EXPECT_EQ(reg.ExportToReg(path, "out.reg", true), 1);
        return files().files["out.reg"];
    }

    std::unique_ptr<RegistryContractHost> host = makeRegistryContractHost();
    clsRegistryAccess reg{host->registry(), host->desktop()};
    std::string base = host->scratchPath();
};

TEST_F(RegFileContract, ExportWritesOneSectionWithEveryTypeOfValue) {
    reg.WriteString(key("X"), "a", "b");
    reg.WriteBinary(key("X"), "bin", "01 02");
    reg.WriteDWORD(key("X"), "n", 26);
    ASSERT_EQ(reg.ExportToReg(key("X"), "x.reg"), 1);
    EXPECT_EQ(file("x.reg"), "REGEDIT4\r\n\r\n[" + longKey("X") +
                                 "]\r\n@=\"\"\r\n\"a\"=\"b\"\r\n\"bin\"=hex:01,02\r\n"
                                 "\"n\"=dword:0000001A\r\n\r\n");
}

TEST_F(RegFileContract, ExportNeverReplacesAFileAndFailsForAMissingKey) {
    reg.WriteString(key(), "a", "b");
    file("x.reg") = "keep me";
    EXPECT_EQ(reg.ExportToReg(key(), "x.reg"), 0);
    EXPECT_EQ(file("x.reg"), "keep me");
    EXPECT_EQ(reg.ExportToReg(key("Missing"), "missing.reg"), 0);
    EXPECT_EQ(reg.ExportToReg("FOO\\Bar", "foo.reg"), 0);
}

TEST_F(RegFileContract, ExportWalksTheTreeDepthFirstAndImportRebuildsIt) {
    reg.WriteString(key("T"), "@", "root default");
    reg.WriteString(key("T"), "long", std::string(300, 'L'));
    reg.WriteString(key("T"), "spaced", "  lead and trail  ");
    reg.WriteDWORD(key("T\\B"), "zero", 0);
    reg.WriteDWORD(key("T\\B"), "neg", -5);
    reg.WriteBinary(key("T\\B"), "empty", "");
    reg.WriteBinary(key("T\\A\\Deep"), "bytes", "00 7F 80 FF");
    reg.CreateKey(key("T\\A\\Empty"));
    reg.CreateKey(key("T\\C"));
    const std::string before = exported(key("T"));

    std::vector<std::string> sections;
    for (std::size_t at = before.find("\r\n["); at != std::string::npos;
         at = before.find("\r\n[", at + 1)) {
        sections.push_back(before.substr(at + 3, before.find(']', at) - at - 3));
    }
    EXPECT_EQ(sections,
              (std::vector<std::string>{longKey("T"), longKey("T\\A"), longKey("T\\A\\Deep"),
                                        longKey("T\\A\\Empty"), longKey("T\\B"), longKey("T\\C")}));
    EXPECT_NE(before.find("\"neg\"=dword:FFFFFFFB\r\n"), std::string::npos);
    EXPECT_NE(before.find("\"empty\"=hex:\r\n"), std::string::npos);

    for (const char* sub : {"T\\A\\Deep", "T\\A\\Empty", "T\\A", "T\\B", "T\\C", "T"}) {
        ASSERT_NE(reg.KillKey(key(sub)), 0) << sub;
    }
    ASSERT_EQ(import(before), 1);
    EXPECT_EQ(exported(key("T")), before);
    EXPECT_EQ(reg.ReadString(key("T\\B"), "", "none"), "none");
    EXPECT_EQ(reg.ReadBinary(key("T\\A\\Deep"), "bytes"), "00 7F 80 FF");
}

TEST_F(RegFileContract, ImportAcceptsOnlyTheRegedit4Header) {
    const std::string body = "\r\n[" + key("H") + "]\r\n\"v\"=\"1\"\r\n";
    const struct {
        std::string header;
        int result;
    } cases[] = {{"REGEDIT4", 1},  {"regedit4", 1},
                 {"ReGeDiT4", 1},  {"Windows Registry Editor Version 5.00", 0},
                 {" REGEDIT4", 0}, {"REGEDIT4 ", 0},
                 {"REGEDIT", 0},   {"", 0}};
    for (const auto& c : cases) {
        reg.KillKey(key("H"));
        EXPECT_EQ(import(c.header + body), c.result) << c.header;
        EXPECT_EQ(reg.KeyExists(key("H")), c.result == 1) << c.header;
    }
    files().files.erase("in.reg");
    EXPECT_EQ(reg.ImportFromReg("in.reg"), 0);
}

TEST_F(RegFileContract, ImportAppliesEachKindOfLine) {
    reg.WriteString(key("Del\\Gone"), "v", "x");
    reg.WriteString(key("Val"), "x", "doomed");
    reg.WriteString(key("Val"), "@", "old default");
    const std::string text =
        "REGEDIT4\r\n"
        "\"before\"=\"ignored\"\r\n"
        "[-" +
        key("Del\\Gone") +
        "]\r\n"
        "\"after-delete\"=\"ignored\"\r\n"
        "[" +
        key("Val") +
        "]\r\n"
        "\"x\"=-\r\n"
        "@=\"\"\r\n"
        "; a comment=\"no\"\r\n"
        "no equals sign\r\n"
        "\"@\"=dword:0000000a\r\n"
        "\"hb\"=HEX:0a,0B\r\n"
        "\"dw\"=DWORD:FFFFFFFF\r\n"
        "\"cut\"=\"a=b\"\r\n"
        "\"q\"=\"say \"hi\"\"\r\n"
        "\"path\"=\"C:\\\\dir\"\r\n"
        "  \"spaced\"=\"v\"  \r\n"
        "[" +
        key("Val\\Empty") + "]\r\n";
    ASSERT_EQ(import(text), 1);
    EXPECT_FALSE(reg.KeyExists(key("Del\\Gone")));
    EXPECT_TRUE(reg.KeyExists(key("Del")));
    EXPECT_FALSE(reg.ValueExists(key("Del"), "after-delete"));
    EXPECT_FALSE(reg.ValueExists(key("Val"), "x"));
    EXPECT_FALSE(reg.ValueExists(key("Val"), ""));  // the empty default deletes it
    EXPECT_EQ(reg.ReadDWORD(key("Val"), "@"), 10);  // "@" is the default only for strings
    EXPECT_EQ(reg.ReadBinary(key("Val"), "hb"), "0A 0B");
    EXPECT_EQ(reg.ReadDWORD(key("Val"), "dw"), -1);
    EXPECT_EQ(reg.ReadString(key("Val"), "cut"), "a");
    EXPECT_EQ(reg.ReadString(key("Val"), "q"), "say hi");
    EXPECT_EQ(reg.ReadString(key("Val"), "path"), "C:\\\\dir");  // no escapes in this dialect
    EXPECT_EQ(reg.ReadString(key("Val"), "spaced"), "v");
    EXPECT_FALSE(reg.KeyExists(key("Val\\Empty")));  // a section alone creates nothing
}

TEST_F(RegFileContract, ContinuationLinesAreNotJoined) {
    ASSERT_EQ(import("REGEDIT4\r\n[" + key("Cont") + "]\r\n\"b\"=hex:01,02,\\\r\n  03,04\r\n"), 1);
    // The backslash is a digit pair of its own that reads as no digits; the next line has no "=".
    EXPECT_EQ(reg.ReadBinary(key("Cont"), "b"), "01 02 00");
    std::vector<std::string> names;
    std::vector<RegValue> data;
    EXPECT_EQ(reg.EnumValues(key("Cont"), names, data), 1);
}

}  // namespace
}  // namespace tb::test
