// clsRegistryAccess against a registry: the simulated one natively, the real one under Wine.
#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "contract/RegistryContractHost.h"
#include "settings/clsRegistryAccess.h"

namespace tb::test {
namespace {

using Values = std::map<std::string, RegValue>;

class RegistryAccessContract : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(host->openKeyHandles(), 0u); }

    std::string key(const std::string& relative = "") const {
        return relative.empty() ? base : base + "\\" + relative;
    }
    // The scratch key's path below HKCU.
    std::string hkcuSubKey(const std::string& relative) const { return key(relative).substr(5); }
    Values values(const std::string& path, std::int32_t type = -1) {
        std::vector<std::string> names;
        std::vector<RegValue> data;
        const std::int32_t count = reg.EnumValues(path, names, data, type);
        EXPECT_EQ(count, static_cast<std::int32_t>(names.size()));
        Values out;
        for (std::size_t i = 0; i < names.size(); ++i) out[names[i]] = data[i];
        return out;
    }

    std::unique_ptr<RegistryContractHost> host = makeRegistryContractHost();
    clsRegistryAccess reg{host->registry(), host->desktop()};
    std::string base = host->scratchPath();
};

TEST_F(RegistryAccessContract, EverySpellingOfARootAddressesTheSameKey) {
    ASSERT_NE(reg.WriteDWORD(key("Spell"), "n", 42), 0);
    const std::string rest = key("Spell").substr(4);
    for (const char* root : {"HKCU", "hkcu", "HKEY_CURRENT_USER", "hkey_current_user", "HkCu"}) {
        EXPECT_EQ(reg.ReadDWORD(root + rest, "n"), 42) << root;
    }
    for (const char* root : {"HKCU", "HKEY_CURRENT_USER", "HKLM", "HKEY_LOCAL_MACHINE", "HKCR",
                             "HKEY_CLASSES_ROOT", "HKUS", "HKEY_USERS", "hkus"}) {
        EXPECT_TRUE(reg.KeyExists(root)) << root;
        EXPECT_TRUE(reg.KeyExists(std::string(root) + "\\")) << root;
    }
}

TEST_F(RegistryAccessContract, AnUnknownRootFailsEveryOperationAndWritesNothing) {
    for (const std::string& path :
         std::vector<std::string>{"FOO\\Bar", "HKU\\Software", "HKCUX\\" + key("Unknown").substr(5),
                                  std::string(), "\\HKCU"}) {
        SCOPED_TRACE(path);
        std::vector<std::string> names{"stale"};
        std::vector<RegValue> data;
        EXPECT_EQ(reg.WriteDWORD(path, "n", 1), 0);
        EXPECT_EQ(reg.WriteString(path, "s", "x"), 0);
        EXPECT_EQ(reg.WriteBinary(path, "b", "01"), 0);
        EXPECT_EQ(reg.CreateKey(path), 0);
        EXPECT_EQ(reg.ReadDWORD(path, "n", 7), 7);
        EXPECT_EQ(reg.ReadString(path, "s", "dflt"), "dflt");
        EXPECT_EQ(reg.ReadBinary(path, "b", "dflt"), "dflt");
        EXPECT_FALSE(reg.KeyExists(path));
        EXPECT_FALSE(reg.HaveSubkey(path));
        EXPECT_FALSE(reg.ValueExists(path, "n"));
        EXPECT_EQ(reg.EnumKeys(path, names), -1);
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(reg.EnumValues(path, names, data), -1);
        EXPECT_EQ(reg.KillKey(path), 0);
        EXPECT_EQ(reg.KillValue(path, "n"), 0);
    }
    EXPECT_FALSE(reg.KeyExists(key("Unknown")));
}

TEST_F(RegistryAccessContract, StringsReadBackAsStoredFromTheFirstNonSpace) {
    const std::string hi = "\xE9\xFF\x80 caf\xE9";
    const struct {
        std::string stored;
        std::string read;
    } cases[] = {
        {"abc", "abc"},
        {"  abc  ", "abc  "},
        {"", ""},
        {"C:\\Program files\\Winamp", "C:\\Program files\\Winamp"},
        {hi, hi},
        {std::string("ab\0cd", 5), "ab"},
        {std::string(253, 'x'), std::string(253, 'x')},
        {std::string(254, 'x'), std::string(254, 'x')},
        {std::string(255, 'x'), "dflt"},  // with its NUL more than the 255-byte buffer
    };
    for (const auto& c : cases) {
        ASSERT_NE(reg.WriteString(key(), "s", c.stored), 0);
        EXPECT_EQ(reg.ReadString(key(), "s", "dflt"), c.read) << c.stored.size();
    }
    EXPECT_EQ(reg.ReadString(key(), "missing", "dflt"), "dflt");
    EXPECT_EQ(reg.ReadString(key(), "missing"), "");
    EXPECT_EQ(reg.ReadString(key("Missing"), "s", "dflt"), "dflt");
}

TEST_F(RegistryAccessContract, StringsStoredWithoutTerminatorEndAtTheirData) {
    ASSERT_NE(reg.CreateKey(key()), 0);
    const struct {
        std::string stored;
        std::string read;
    } cases[] = {
        {"abc", "abc"},
        {"ab  ", "ab  "},
        {std::string(254, 'y'), std::string(254, 'y')},
        {std::string(255, 'y'), std::string(255, 'y')},
        {std::string(256, 'y'), "dflt"},
    };
    for (const auto& c : cases) {
        host->storeUnterminatedString(hkcuSubKey(""), "raw", c.stored);
        EXPECT_EQ(reg.ReadString(key(), "raw", "dflt"), c.read) << c.stored.size();
    }
}

TEST_F(RegistryAccessContract, NumbersRoundTripAndMissingOnesGiveTheDefault) {
    for (std::int32_t n : {0, 1, -1, 26, INT_MIN, INT_MAX}) {
        ASSERT_NE(reg.WriteDWORD(key(), "n", n), 0);
        EXPECT_EQ(reg.ReadDWORD(key(), "n", 5), n);
    }
    EXPECT_EQ(reg.ReadDWORD(key(), "missing", 5), 5);
    EXPECT_EQ(reg.ReadDWORD(key(), "missing"), 0);
    EXPECT_EQ(reg.ReadDWORD(key("Missing"), "n", -3), -3);
    // The stored type is not checked: short data reads as its bytes, long data as the default.
    reg.WriteString(key(), "ab", "ab");
    reg.WriteBinary(key(), "b2", "01 02");
    reg.WriteBinary(key(), "b5", "01 02 03 04 05");
    EXPECT_EQ(reg.ReadDWORD(key(), "ab", 5), 0x6261);
    EXPECT_EQ(reg.ReadDWORD(key(), "b2", 5), 0x0201);
    EXPECT_EQ(reg.ReadDWORD(key(), "b5", 5), 5);
}

TEST_F(RegistryAccessContract, AtNamesTheDefaultValueOnlyForStrings) {
    ASSERT_NE(reg.WriteString(key(), "@", "dflt-text"), 0);
    ASSERT_NE(reg.WriteDWORD(key(), "@", 9), 0);
    EXPECT_EQ(reg.ReadString(key(), "", "none"), "dflt-text");
    EXPECT_EQ(reg.ReadDWORD(key(), "@"), 9);
    EXPECT_EQ(values(key()).size(), 2u);
}

TEST_F(RegistryAccessContract, WritesCreateMissingKeysOnlyWhenAllowed) {
    EXPECT_TRUE(reg.CreateKeyIfDoesntExists());
    ASSERT_NE(reg.WriteString(key("A\\B\\C"), "s", "deep"), 0);
    EXPECT_EQ(reg.ReadString(key("A\\B\\C"), "s"), "deep");

    reg.CreateKeyIfDoesntExists(false);
    EXPECT_EQ(reg.WriteDWORD(key("X\\Y"), "n", 1), 0);
    EXPECT_EQ(reg.WriteString(key("X"), "s", "x"), 0);
    EXPECT_EQ(reg.WriteBinary(key("X"), "b", "01"), 0);
    EXPECT_FALSE(reg.KeyExists(key("X")));
    EXPECT_NE(reg.WriteDWORD(key("A"), "n", 1), 0);
}

TEST_F(RegistryAccessContract, BinaryDataReadsBackAsUpperCaseHex) {
    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += (i ? " " : "") + std::string(i % 2 ? "AB" : "0F");
    const struct {
        std::string written;
        std::string read;
    } cases[] = {{"", ""},
                 {"00", "00"},
                 {"0A 1B FF", "0A 1B FF"},
                 {"0a1bff", "0A 1B FF"},
                 {long300, long300}};
    for (const auto& c : cases) {
        ASSERT_NE(reg.WriteBinary(key(), "b", c.written), 0);
        EXPECT_EQ(reg.ReadBinary(key(), "b", "dflt"), c.read);
    }
    EXPECT_EQ(reg.ReadBinary(key(), "missing", "dflt"), "dflt");
    reg.WriteString(key(), "s", "ab");
    EXPECT_EQ(reg.ReadBinary(key(), "s"), "61 62 00");
}

TEST_F(RegistryAccessContract, ValuesExistWhateverTheirSize) {
    reg.WriteBinary(key(), "empty", "");
    reg.WriteBinary(key(), "one", "01");
    reg.WriteDWORD(key(), "four", 4);
    reg.WriteString(key(), "long", std::string(1000, 'z'));
    for (const char* name : {"empty", "one", "four", "long"}) {
        EXPECT_TRUE(reg.ValueExists(key(), name)) << name;
    }
    EXPECT_FALSE(reg.ValueExists(key(), "missing"));
    EXPECT_FALSE(reg.ValueExists(key("Missing"), "one"));
}

TEST_F(RegistryAccessContract, KillsReportWhetherSomethingWasDeleted) {
    reg.WriteDWORD(key("Leaf"), "n", 1);
    reg.WriteDWORD(key("Parent\\Child"), "n", 1);
    EXPECT_NE(reg.KillValue(key("Leaf"), "n"), 0);
    EXPECT_FALSE(reg.ValueExists(key("Leaf"), "n"));
    EXPECT_EQ(reg.KillValue(key("Leaf"), "n"), 0);
    EXPECT_NE(reg.KillKey(key("Leaf")), 0);
    EXPECT_FALSE(reg.KeyExists(key("Leaf")));
    EXPECT_EQ(reg.KillKey(key("Leaf")), 0);
    // A key with subkeys stays, and the result says so.
    EXPECT_EQ(reg.KillKey(key("Parent")), 0);
    EXPECT_TRUE(reg.KeyExists(key("Parent\\Child")));
}

TEST_F(RegistryAccessContract, EnumKeysListsDirectSubkeysInSortedOrder) {
    std::vector<std::string> names{"stale"};
    reg.CreateKey(key());
    EXPECT_EQ(reg.EnumKeys(key(), names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(reg.HaveSubkey(key()));
    const std::string longName(255, 'n');
    for (const char* name : {"b", "A", "c2", "C1", "b\\deeper"}) reg.CreateKey(key(name));
    // Made relative to the key: Wine's ANSI calls refuse whole paths over 260 characters.
    HKey parent = 0, child = 0;
    ASSERT_EQ(
        host->registry().openKeyEx(reg::HkeyCurrentUser, hkcuSubKey(""), reg::KeyAllAccess, parent),
        0);
    ASSERT_EQ(host->registry().createKey(parent, longName, child), 0);
    host->registry().closeKey(child);
    host->registry().closeKey(parent);
    EXPECT_EQ(reg.EnumKeys(key(), names), 5);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "C1", "c2", longName}));
    EXPECT_TRUE(reg.HaveSubkey(key()));
    EXPECT_FALSE(reg.HaveSubkey(key("A")));
    EXPECT_FALSE(reg.HaveSubkey(key("Missing")));
    EXPECT_EQ(reg.EnumKeys(key("Missing"), names), -1);
}

TEST_F(RegistryAccessContract, EnumValuesListsEachTypeWithItsData) {
    const std::string longName(300, 'v');
    std::string longHex;
    for (int i = 0; i < 1000; ++i) longHex += " 5A";
    longHex.erase(0, 1);
    reg.WriteString(key(), "s", "text");
    reg.WriteString(key(), " padded ", "kept");
    reg.WriteDWORD(key(), "n", -2);
    reg.WriteBinary(key(), "b", "01 02");
    reg.WriteBinary(key(), "e", "");
    reg.WriteBinary(key(), longName, longHex);
    HKey raw = 0;
    ASSERT_EQ(host->registry().openKeyEx(reg::HkeyCurrentUser, hkcuSubKey(""), reg::KeyWrite, raw),
              0);
    const std::uint8_t expand[] = {'%', 'x', '%', 0};
    host->registry().setValueEx(raw, "x", reg::RegExpandSz, expand);
    host->registry().closeKey(raw);

    EXPECT_EQ(values(key()), (Values{{"s", std::string("text")},
                                     {" padded ", std::string("kept")},
                                     {"n", -2},
                                     {"b", std::string("01 02")},
                                     {"e", std::string()},
                                     {longName, longHex},
                                     {"x", RegValue{}}}));
    EXPECT_EQ(values(key(), reg::RegDword), (Values{{"n", -2}}));
    EXPECT_EQ(values(key(), reg::RegSz).size(), 2u);
    EXPECT_EQ(values(key(), reg::RegBinary).size(), 3u);
    std::vector<std::string> names;
    std::vector<RegValue> data;
    EXPECT_EQ(reg.EnumValues(key("Missing"), names, data), -1);
}

TEST_F(RegistryAccessContract, EveryOperationClosesWhatItOpens) {
    reg.WriteString(key("Full\\Sub"), "s", "x");
    reg.WriteDWORD(key("Full"), "n", 1);
    reg.WriteBinary(key("Full"), "b", "01 02 03");
    std::vector<std::string> names;
    std::vector<RegValue> data;
    for (const std::string& path : {key("Full"), key("Missing"), std::string("FOO\\x")}) {
        const std::function<void()> ops[] = {
            [&] { reg.CreateKey(path + "\\New"); },
            [&] { reg.KeyExists(path); },
            [&] { reg.EnumKeys(path, names); },
            [&] { reg.HaveSubkey(path); },
            [&] { reg.ReadString(path, "s"); },
            [&] { reg.ReadDWORD(path, "n"); },
            [&] { reg.ReadBinary(path, "b"); },
            [&] { reg.ValueExists(path, "b"); },
            [&] { reg.EnumValues(path, names, data); },
            [&] { reg.WriteString(path, "s2", "y"); },
            [&] { reg.WriteDWORD(path, "n2", 2); },
            [&] { reg.WriteBinary(path, "b2", "0102"); },
            [&] { reg.KillValue(path, "s2"); },
            [&] { reg.KillKey(path + "\\New"); },
            [&] { reg.KillKey(path); },  // has subkeys: fails after opening
        };
        for (std::size_t i = 0; i < std::size(ops); ++i) {
            ops[i]();
            EXPECT_EQ(host->openKeyHandles(), 0u) << path << " operation " << i;
        }
    }
}

TEST_F(RegistryAccessContract, CallsFollowTheDocumentedOrderAndRights) {
    using Calls = std::vector<std::string>;
    host->takeCalls();
    reg.WriteDWORD(key("Order"), "n", 1);
    EXPECT_EQ(host->takeCalls(), (Calls{"RegOpenKeyExA 0xF003F", "RegCreateKeyA", "RegCloseKey",
                                        "RegOpenKeyExA 0x20006", "RegSetValueExA", "RegCloseKey"}));
    reg.WriteString(key("Order"), "s", "x");
    EXPECT_EQ(host->takeCalls(), (Calls{"RegOpenKeyExA 0xF003F", "RegCloseKey",
                                        "RegOpenKeyExA 0x20006", "RegSetValueExA", "RegCloseKey"}));
    reg.ReadString(key("Order"), "s");
    EXPECT_EQ(host->takeCalls(),
              (Calls{"RegOpenKeyExA 0x20019", "RegQueryValueExA", "RegCloseKey"}));
    reg.KillValue(key("Order"), "s");
    EXPECT_EQ(host->takeCalls(),
              (Calls{"RegOpenKeyExA 0x20006", "RegDeleteValueA", "RegCloseKey"}));
    reg.HaveSubkey(key("Order"));
    EXPECT_EQ(host->takeCalls(), (Calls{"RegOpenKeyA", "RegEnumKeyExA", "RegCloseKey"}));
    reg.KillKey(key("Order"));
    EXPECT_EQ(host->takeCalls(), (Calls{"RegOpenKeyExA 0xF003F", "RegDeleteKeyA", "RegCloseKey"}));
}

}  // namespace
}  // namespace tb::test
