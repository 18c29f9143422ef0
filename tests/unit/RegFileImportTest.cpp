// Import of files that are not what they claim, and export failures, against the simulation:
// the import ends with the documented result, closes every key and writes only where the file
// points.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/sim/SimRegistry.h"
#include "settings/clsRegistryAccess.h"
#include "support/FileDesktop.h"

namespace tb {
namespace {

using namespace tb::reg;

class RegFileImport : public ::testing::Test {
protected:
    void SetUp() override {
        for (HKey root : {HkeyClassesRoot, HkeyCurrentUser, HkeyLocalMachine, HkeyUsers}) {
            sim.setRawValue(root, "Seed", "v", RegSz, std::string("x\0", 2));
        }
        before = snapshot();
    }
    void TearDown() override { EXPECT_EQ(sim.openHandleCount(), 0u); }

    std::string snapshot() const {
        std::string all;
        for (HKey root : {HkeyClassesRoot, HkeyCurrentUser, HkeyLocalMachine, HkeyUsers,
                          HkeyCurrentConfig, HkeyDynData}) {
            all += sim.dump(root) + "--\n";
        }
        return all;
    }
    std::int32_t import(std::string content) {
        desktop.files["f.reg"] = std::move(content);
        return reg.ImportFromReg("f.reg");
    }

    sim::SimRegistry sim;
    test::FileDesktop desktop;
    clsRegistryAccess reg{sim, desktop};
    std::string before;
};

TEST_F(RegFileImport, MalformedFilesChangeNothing) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
    const struct {
        std::string content;
        int result;
    } cases[] = {
        {"", 0},
        {garbage, 0},
        {"REGEDIT4\n[HKCU\\Software\\Lf]\n\"v\"=\"1\"\n", 0},  // bare LF: one line
        {"REGEDIT4\r[HKCU\\Software\\Cr]\r\"v\"=\"1\"\r", 0},
        {"REGEDIT4\r\n" + garbage, 1},
        {"REGEDIT4\r\n[HKCU\\Software\\Open\r\n\"v\"=\"1\"\r\n", 1},  // no closing bracket
        {"REGEDIT4\r\n[HKCU\\Software]]\r\n[\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4\r\n[]\r\n\"v\"=\"1\"\r\n[HKU\\x]\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4\r\n[FOO\\Software\\X]\r\n\"v\"=\"1\"\r\n[-FOO\\Seed]\r\n", 1},
        {"REGEDIT4\r\n[HKCUX\\Software\\X]\r\n\"v\"=dword:1\r\n", 1},
        {"REGEDIT4\r\n[-HKCU\\Software\\Missing]\r\n[-HKCU]\r\n[-HKLM\\Seed\\No]\r\n", 1},
        {"REGEDIT4\r\n[HKCU\\" + std::string(100000, 'k') + "]\r\n\"v\"=\"1\"\r\n", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(import(c.content), c.result) << c.content.substr(0, 40);
        EXPECT_EQ(snapshot(), before) << c.content.substr(0, 40);
    }
    // A name the registry refuses: the key is made first, as for every write, the value not.
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\Software\\Long]\r\n\"" + std::string(100000, 'n') +
                     "\"=\"1\"\r\n"),
              1);
    std::vector<std::string> names;
    std::vector<RegValue> values;
    EXPECT_EQ(reg.EnumValues("HKCU\\Software\\Long", names, values), 0);
}

TEST_F(RegFileImport, BadNumbersAndHexDigitsHaveOneDefinedReading) {
    ASSERT_EQ(import("REGEDIT4\r\n[HKCU\\Software\\N]\r\n"
                     "\"odd\"=hex:1,2,3\r\n"
                     "\"bad\"=hex:zz,1g,0\r\n"
                     "\"none\"=dword:xyz\r\n"
                     "\"lead\"=dword:000000001\r\n"
                     "\"part\"=dword:1Fz\r\n"
                     "\"max\"=dword:FFFFFFFF\r\n"),
              1);
    EXPECT_EQ(reg.ReadBinary("HKCU\\Software\\N", "odd"), "12 03");
    EXPECT_EQ(reg.ReadBinary("HKCU\\Software\\N", "bad"), "00 01 00");
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\N", "none", 7), 0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\N", "lead"), 1);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\N", "part"), 0x1F);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\N", "max"), -1);

    // A number past 32 bits ends the import as failed; what came before it stays.
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\Software\\O]\r\n\"a\"=dword:1\r\n"
                     "\"b\"=dword:100000000\r\n\"c\"=dword:2\r\n"),
              0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\O", "a"), 1);
    EXPECT_FALSE(reg.ValueExists("HKCU\\Software\\O", "b"));
    EXPECT_FALSE(reg.ValueExists("HKCU\\Software\\O", "c"));
}

TEST_F(RegFileImport, ImportWritesOnlyUnderTheRootsItNames) {
    ASSERT_EQ(import("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\HKEY_LOCAL_MACHINE]\r\n"
                     "\"v\"=\"1\"\r\n[hkcu\\Software\\HKLM\\Seed]\r\n\"w\"=\"2\"\r\n"),
              1);
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\HKEY_LOCAL_MACHINE", "v"), "1");
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\HKLM\\Seed", "w"), "2");
    EXPECT_EQ(sim.dump(HkeyLocalMachine), "[]\n[\\Seed]\n  v=1:7800\n");
}

TEST_F(RegFileImport, AFiftyMegabyteFileIsReadInOnePass) {
    std::string content = "REGEDIT4\r\n[HKCU\\Software\\Big]\r\n";
    const std::string filler = "; " + std::string(1000, 'f') + "\r\n";
    while (content.size() < 50u << 20) content += filler;
    content += "\"end\"=dword:00000001\r\n";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(import(std::move(content)), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\Big", "end"), 1);
}

TEST_F(RegFileImport, ExportFailuresReportZero) {
    reg.WriteString("HKCU\\Software\\E\\Sub", "v", "1");
    desktop.failCreate = true;
    EXPECT_EQ(reg.ExportToReg("HKCU\\Software\\E", "a.reg", true), 0);
    EXPECT_FALSE(desktop.fileExists("a.reg"));
    desktop.failCreate = false;
    // The header and the first section get written; the second section's write fails.
    desktop.writesBeforeFailure = 2;
    EXPECT_EQ(reg.ExportToReg("HKCU\\Software\\E", "b.reg", true), 0);
    EXPECT_EQ(desktop.files["b.reg"],
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\E]\r\n@=\"\"\r\n\r\n");
}

TEST_F(RegFileImport, ExportRefusesWhatItsImportWouldReadAsOtherKeys) {
    const struct {
        std::string key, name, data;
    } cases[] = {
        {"Inj1", "v", "a\r\n[HKEY_LOCAL_MACHINE\\Evil]\r\n\"w\"=\"1\""},
        {"Inj2", "v\r\n[-HKEY_LOCAL_MACHINE\\Seed]\r\n\"x", "1"},
        {"Inj3", "\"[HKLM\\Evil", "]"},
        {"Inj\"4", "v", "1"},
    };
    for (const auto& c : cases) {
        const std::string path = "HKCU\\Software\\" + c.key;
        reg.WriteString(path, c.name, c.data);
        const std::string file = c.key + ".reg";
        EXPECT_EQ(reg.ExportToReg(path, file), 0) << c.key;
        EXPECT_EQ(desktop.files[file], "REGEDIT4\r\n\r\n") << c.key;
    }
    // A line break alone, or quotes and "=" in a value, stay within their own key.
    reg.WriteString("HKCU\\Software\\Fine", "a=\"b\"", "c\rd\ne=f");
    EXPECT_EQ(reg.ExportToReg("HKCU\\Software\\Fine", "fine.reg"), 1);
}

TEST_F(RegFileImport, ExportShowsEachKeyAfterLettingEventsRun) {
    reg.WriteString("HKCU\\Software\\P\\A", "v", "1");
    reg.WriteString("HKCU\\Software\\P\\B", "v", "1");
    std::vector<std::string> shown;
    EXPECT_EQ(reg.ExportToReg("hkcu\\Software\\P", "p.reg", true,
                              [&](const std::string& path) { shown.push_back(path); }),
              1);
    EXPECT_EQ(shown, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\P",
                                               "HKEY_CURRENT_USER\\Software\\P\\A",
                                               "HKEY_CURRENT_USER\\Software\\P\\B"}));
    EXPECT_EQ(desktop.doEventsCalls, 3);
    EXPECT_EQ(reg.ExportToReg("HKCU\\Software\\P", "q.reg"), 1);
    EXPECT_EQ(desktop.files["q.reg"].find("\\A]"), std::string::npos);
}

}  // namespace
}  // namespace tb
