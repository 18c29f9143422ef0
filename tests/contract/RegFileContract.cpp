// REGEDIT4 export and import of clsRegistryAccess against a registry: simulated or real.
#include <gtest/gtest.h>

#include <chrono>

#include "contract/RegistryContractHost.h"
#include "settings/clsRegistryAccess.h"

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
    std::string put(const std::string& content) {
        const std::string path = host->filePath("in" + std::to_string(++serial) + ".reg");
        host->desktop().createFile(path, false)->write(content);
        return path;
    }
    std::int32_t import(const std::string& content) { return reg.ImportFromReg(put(content)); }
    std::string exported(const std::string& path) {
        const std::string file = host->filePath("out" + std::to_string(++serial) + ".reg");
        EXPECT_EQ(reg.ExportToReg(path, file, true), 1);
        return host->desktop().readFile(file).value_or("");
    }

    std::unique_ptr<RegistryContractHost> host = makeRegistryContractHost();
    clsRegistryAccess reg{host->registry(), host->desktop()};
    std::string base = host->scratchPath();
    int serial = 0;
};

TEST_F(RegFileContract, ExportWalksTheTreeInPreOrderAndImportRebuildsIt) {
    reg.WriteString(key("T"), "@", "root default");
    reg.WriteString(key("T"), "long", std::string(300, 'L'));
    reg.WriteDWORD(key("T\\B"), "neg", -5);
    reg.WriteBinary(key("T\\B"), "empty", "");
    reg.WriteBinary(key("T\\A\\Deep"), "bytes", "00 7F 80 FF");
    reg.CreateKey(key("T\\C"));
    const std::string before = exported(key("T"));
    std::size_t at = 0;  // each section after the one before it: pre-order
    for (const char* sub : {"T", "T\\A", "T\\A\\Deep", "T\\B", "T\\C"}) {
        at = before.find("\r\n[" + longKey(sub) + "]\r\n", at);
        ASSERT_NE(at, std::string::npos) << sub;
    }
    EXPECT_NE(before.find("\"neg\"=dword:FFFFFFFB\r\n"), std::string::npos);
    EXPECT_NE(before.find("\"empty\"=hex:\r\n"), std::string::npos);

    for (const char* sub : {"T\\A\\Deep", "T\\A", "T\\B", "T\\C", "T"}) reg.KillKey(key(sub));
    ASSERT_FALSE(reg.KeyExists(key("T")));
    ASSERT_EQ(import(before), 1);
    EXPECT_EQ(exported(key("T")), before);
    EXPECT_EQ(reg.ReadBinary(key("T\\A\\Deep"), "bytes"), "00 7F 80 FF");
}

TEST_F(RegFileContract, ImportTakesTheHeaderInAnyCaseAndNothingElse) {
    const std::pair<std::string, int> cases[] = {
        {"REGEDIT4", 1},  {"ReGeDiT4", 1},  {"Windows Registry Editor Version 5.00", 0},
        {" REGEDIT4", 0}, {"REGEDIT4 ", 0}, {"", 0}};
    for (const auto& [header, result] : cases) {
        reg.KillKey(key("H"));
        EXPECT_EQ(import(header + "\r\n[" + key("H") + "]\r\n\"v\"=\"1\"\r\n"), result) << header;
        EXPECT_EQ(reg.KeyExists(key("H")), result == 1) << header;
    }
    EXPECT_EQ(reg.ImportFromReg(host->filePath("absent.reg")), 0);
}

TEST_F(RegFileContract, ImportAppliesEachKindOfLine) {
    reg.WriteString(key("Del\\Gone"), "v", "x");
    reg.WriteString(key("Val"), "x", "doomed");
    reg.WriteString(key("Val"), "@", "old default");
    const std::string text = "REGEDIT4\r\n\"before\"=\"ignored\"\r\n[-" + key("Del\\Gone") +
                             "]\r\n\"after-delete\"=\"ignored\"\r\n[" + key("Val") +
                             "]\r\n\"x\"=-\r\n@=\"\"\r\n; a comment=\"no\"\r\nno equals sign\r\n"
                             "\"@\"=dword:0000000a\r\n\"hb\"=HEX:0a,0B\r\n\"dw\"=DwOrD:FFFFFFFF\r\n"
                             "\"q\"=\"say \"hi\"\"\r\n\"path\"=\"C:\\\\dir\"\r\n[" +
                             key("Val\\Empty") + "]\r\n";
    ASSERT_EQ(import(text), 1);
    EXPECT_FALSE(reg.KeyExists(key("Del\\Gone")));
    EXPECT_FALSE(reg.ValueExists(key("Del"), "after-delete"));
    EXPECT_FALSE(reg.ValueExists(key("Val"), "x"));
    EXPECT_FALSE(reg.ValueExists(key("Val"), ""));  // the empty default deletes it
    EXPECT_EQ(reg.ReadDWORD(key("Val"), "@"), 10);  // "@" is the default only for strings
    EXPECT_EQ(reg.ReadBinary(key("Val"), "hb"), "0A 0B");
    EXPECT_EQ(reg.ReadDWORD(key("Val"), "dw"), -1);
    EXPECT_EQ(reg.ReadString(key("Val"), "q"), "say hi");
    EXPECT_EQ(reg.ReadString(key("Val"), "path"), "C:\\\\dir");  // no escapes in this dialect
    EXPECT_FALSE(reg.KeyExists(key("Val\\Empty")));              // a section alone creates nothing
}

TEST_F(RegFileContract, BadInputEndsWithADefinedResultAndWritesOnlyWhereItPoints) {
    const std::string k = key().substr(5);  // below HKCU
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
    const struct {
        std::string content;
        int result;
    } cases[] = {
        {"", 0},
        {garbage, 0},
        {"REGEDIT4\n[HKCU\\" + k + "\\Lf]\n\"v\"=\"1\"\n", 0},  // bare LF: one line
        {"REGEDIT4\r[HKCU\\" + k + "\\Cr]\r\"v\"=\"1\"\r", 0},
        {"REGEDIT4\r\n" + garbage, 1},
        {"REGEDIT4\r\n[HKCU\\" + k + "\\Open\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4\r\n[HKCU\\" + k + "]]\r\n[\r\n[]\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4\r\n[FOO\\" + k + "]\r\n\"v\"=\"1\"\r\n[HKU\\" + k + "]\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4\r\n[HKCUX\\" + k + "]\r\n\"v\"=dword:1\r\n", 1},
        {"REGEDIT4\r\n[-HKCU\\" + k + "\\Missing]\r\n[-HKCU]\r\n", 1},
        {"REGEDIT4\r\n[HKCU\\" + k + "\\" + std::string(100000, 'k') + "]\r\n\"v\"=\"1\"\r\n", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(import(c.content), c.result) << c.content.substr(0, 40);
        EXPECT_FALSE(reg.HaveSubkey(key()) || reg.ValueExists(key(), "v"))
            << c.content.substr(0, 40);
    }
    // A number past 32 bits ends the import as failed; what came before it stays.
    EXPECT_EQ(
        import("REGEDIT4\r\n[" + key("N") + "]\r\n\"a\"=dword:1\r\n\"b\"=dword:100000000\r\n"), 0);
    EXPECT_TRUE(reg.ValueExists(key("N"), "a") && !reg.ValueExists(key("N"), "b"));
    // Bad digits have one reading: an odd last digit is a byte, a pair reads its hex prefix.
    ASSERT_EQ(import("REGEDIT4\r\n[" + key("D") +
                     "]\r\n\"odd\"=hex:1,2,3\r\n\"bad\"=hex:zz,1g\r\n\"part\"=dword:1Fz\r\n"),
              1);
    EXPECT_EQ(reg.ReadBinary(key("D"), "odd"), "12 03");
    EXPECT_EQ(reg.ReadBinary(key("D"), "bad"), "00 01");
    EXPECT_EQ(reg.ReadDWORD(key("D"), "part"), 0x1F);
}

TEST_F(RegFileContract, ExportWritesEachTypeKeepsStringsWholeAndNeverReplacesAFile) {
    // Leading spaces are data: a reader that trimmed them would change the value on a round trip.
    // Only the root is renamed, to its long name in capitals: a key named like a root stays.
    reg.WriteString(key("S"), "@", "  default");
    reg.WriteString(key("S"), "s", "  both ends  ");
    reg.WriteBinary(key("S"), "bin", "01 02");
    reg.WriteDWORD(key("S\\HKLM"), "n", 26);
    const std::string kept = put("keep me");
    EXPECT_EQ(reg.ExportToReg(key("S"), kept), 0);
    EXPECT_EQ(host->desktop().readFile(kept), "keep me");
    EXPECT_EQ(reg.ExportToReg(key("Missing"), host->filePath("missing.reg")), 0);
    const std::string text = exported("hkey_current_user" + key("S").substr(4));
    EXPECT_EQ(text,
              "REGEDIT4\r\n\r\n[" + longKey("S") +
                  "]\r\n@=\"  default\"\r\n\"s\"=\"  both ends  \"\r\n\"bin\"=hex:01,02\r\n\r\n[" +
                  longKey("S\\HKLM") + "]\r\n@=\"\"\r\n\"n\"=dword:0000001A\r\n\r\n");
    reg.KillKey(key("S\\HKLM"));
    reg.KillKey(key("S"));
    ASSERT_EQ(import(text), 1);
    EXPECT_EQ(exported(key("S")), text);
}

TEST_F(RegFileContract, ExportRefusesTextThatItsImportWouldReadAsOtherKeysAndLeavesNoFile) {
    const std::string injected = "a\r\n[HKEY_LOCAL_MACHINE\\Evil]\r\n\"w\"=\"1\"";
    // Every value written as text: a named string, and the default value of any type.
    const struct {
        const char* name;
        std::uint32_t type;
    } cases[] = {{"v", reg::RegSz},
                 {"", reg::RegSz},
                 {"", reg::RegBinary},
                 {"", reg::RegExpandSz},
                 {"", reg::RegMultiSz}};
    const std::string file = host->filePath("inj.reg");
    for (const auto& c : cases) {
        reg.KillKey(key("Inj"));
        reg.CreateKey(key("Inj"));
        HKey k = 0;
        ASSERT_EQ(host->registry().openKeyEx(reg::HkeyCurrentUser, key("Inj").substr(5),
                                             reg::KeyWrite, k),
                  reg::ErrorSuccess);
        const std::string data = c.type == reg::RegMultiSz ? injected + '\0' : injected;
        host->registry().setValueEx(
            k, c.name, c.type, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
        host->registry().closeKey(k);
        EXPECT_EQ(reg.ExportToReg(key("Inj"), file), 0) << c.type;
        EXPECT_FALSE(host->desktop().fileExists(file)) << c.type;
    }
    // With the key repaired, the same file name takes the next export.
    reg.KillKey(key("Inj"));
    reg.WriteString(key("Inj"), "@", "a");
    EXPECT_EQ(reg.ExportToReg(key("Inj"), file), 1);
}

TEST_F(RegFileContract, AFiftyMegabyteFileIsReadInOnePass) {
    std::string content = "REGEDIT4\r\n[" + key("Big") + "]\r\n";
    const std::string filler = "; " + std::string(1000, 'f') + "\r\n";
    while (content.size() < 50u << 20) content += filler;
    content += "\"end\"=dword:00000001\r\n";
    const std::string file = put(content);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reg.ImportFromReg(file), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(reg.ReadDWORD(key("Big"), "end"), 1);
}

}  // namespace
}  // namespace tb::test
