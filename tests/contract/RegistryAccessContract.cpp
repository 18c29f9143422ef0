// clsRegistryAccess against a registry: the simulated one natively, the real one under Wine.
// Every test ends with no key handle left open, failure paths included.
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

// Writes create missing keys only while CreateKeyIfDoesntExists is on (the default).
TEST_F(RegistryAccessContract, MissingKeysAndUnknownRootsFailEveryOperationAndWriteNothing) {
    EXPECT_TRUE(reg.CreateKeyIfDoesntExists());
    reg.CreateKeyIfDoesntExists(false);
    for (const std::string& path : {key("Missing"), std::string("FOO\\Bar"),
                                    "HKCUX\\" + key("Unknown").substr(5), std::string()}) {
        SCOPED_TRACE(path);
        std::vector<std::string> names{"stale"};
        std::vector<RegValue> data;
        EXPECT_EQ(reg.WriteDWORD(path, "n", 1) + reg.WriteString(path, "s", "x") +
                      reg.WriteBinary(path, "b", "01"),
                  0);
        EXPECT_EQ(reg.ReadDWORD(path, "n", 7), 7);
        EXPECT_EQ(reg.ReadString(path, "s", "dflt"), "dflt");
        EXPECT_EQ(reg.ReadBinary(path, "b", "dflt"), "dflt");
        EXPECT_FALSE(reg.KeyExists(path) || reg.HaveSubkey(path) || reg.ValueExists(path, "n"));
        EXPECT_EQ(reg.EnumKeys(path, names), -1);
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(reg.EnumValues(path, names, data), -1);
        EXPECT_EQ(reg.KillKey(path) + reg.KillValue(path, "n"), 0);
    }
    EXPECT_FALSE(reg.KeyExists(key("Unknown")) || reg.KeyExists(key("Missing")));
    reg.CreateKeyIfDoesntExists(true);
    ASSERT_NE(reg.WriteString(key("A\\B\\C"), "s", "deep"), 0);
    EXPECT_EQ(reg.ReadString(key("A\\B\\C"), "s"), "deep");
}

TEST_F(RegistryAccessContract, StringsReadBackFromTheFirstNonSpaceWithin255Bytes) {
    ASSERT_NE(reg.CreateKey(key()), 0);
    const struct {
        bool unterminated;  // stored without the NUL a normal write adds
        std::string stored;
        std::string read;
    } cases[] = {
        {false, "  abc  ", "abc  "},
        {false, "", ""},
        {false, "\xE9\xFF\x80 caf\xE9", "\xE9\xFF\x80 caf\xE9"},
        {false, std::string("ab\0cd", 5), "ab"},
        {false, std::string(254, 'x'), std::string(254, 'x')},
        {false, std::string(255, 'x'), "dflt"},  // with its NUL more than the 255-byte buffer
        {true, "ab  ", "ab  "},
        {true, std::string(254, 'y'), std::string(254, 'y')},
        {true, std::string(255, 'y'), std::string(255, 'y')},
        {true, std::string(256, 'y'), "dflt"},
    };
    for (const auto& c : cases) {
        if (c.unterminated) {
            host->storeUnterminatedString(key().substr(5), "s", c.stored);
        } else {
            ASSERT_NE(reg.WriteString(key(), "s", c.stored), 0);
        }
        EXPECT_EQ(reg.ReadString(key(), "s", "dflt"), c.read) << c.unterminated << c.stored.size();
    }
    EXPECT_EQ(reg.ReadString(key(), "missing"), "");
    // A value of another type reads as its bytes up to the first NUL.
    reg.WriteDWORD(key(), "n", 0x00636261);
    EXPECT_EQ(reg.ReadString(key(), "n", "dflt"), "abc");
}

TEST_F(RegistryAccessContract, NumbersAndBinaryRoundTrip) {
    for (std::int32_t n : {0, -1, INT_MIN, INT_MAX}) {
        ASSERT_NE(reg.WriteDWORD(key(), "n", n), 0);
        EXPECT_EQ(reg.ReadDWORD(key(), "n", 5), n);
    }
    EXPECT_EQ(reg.ReadDWORD(key(), "missing", 5), 5);
    // The stored type is not checked: data too long for a number reads as the default.
    reg.WriteBinary(key(), "b5", "01 02 03 04 05");
    EXPECT_EQ(reg.ReadDWORD(key(), "b5", 5), 5);

    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += (i ? " " : "") + std::string(i % 2 ? "AB" : "0F");
    const std::pair<std::string, std::string> hex[] = {
        {"", ""}, {"0A 1B FF", "0A 1B FF"}, {"0a1bff", "0A 1B FF"}, {long300, long300}};
    for (const auto& [written, read] : hex) {
        ASSERT_NE(reg.WriteBinary(key(), "b", written), 0);
        EXPECT_EQ(reg.ReadBinary(key(), "b", "dflt"), read);
        EXPECT_TRUE(reg.ValueExists(key(), "b"));
    }
    reg.WriteString(key(), "s", "ab");
    EXPECT_EQ(reg.ReadBinary(key(), "s"), "61 62 00");
}

TEST_F(RegistryAccessContract, EnumeratesAndDeletesKeysAndValues) {
    std::vector<std::string> names{"stale"};
    reg.CreateKey(key());
    EXPECT_EQ(reg.EnumKeys(key(), names), 0);
    EXPECT_FALSE(reg.HaveSubkey(key()));
    for (const char* name : {"b", "A", "c2", "C1", "b\\deeper"}) reg.CreateKey(key(name));
    EXPECT_EQ(reg.EnumKeys(key(), names), 4);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "C1", "c2"}));
    EXPECT_TRUE(reg.HaveSubkey(key()));
    // A key with subkeys stays, and the result says so.
    EXPECT_EQ(reg.KillKey(key("b")), 0);
    EXPECT_NE(reg.KillKey(key("b\\deeper")), 0);
    EXPECT_NE(reg.KillKey(key("b")), 0);
    EXPECT_FALSE(reg.KeyExists(key("b")));

    const std::string longName(300, 'v');
    reg.WriteString(key(), " padded ", "kept");
    reg.WriteDWORD(key(), "n", -2);
    reg.WriteBinary(key(), longName, "5A");
    EXPECT_EQ(
        values(key()),
        (Values{{" padded ", std::string("kept")}, {"n", -2}, {longName, std::string("5A")}}));
    EXPECT_EQ(values(key(), reg::RegDword), (Values{{"n", -2}}));
    EXPECT_NE(reg.KillValue(key(), "n"), 0);
    EXPECT_EQ(reg.KillValue(key(), "n"), 0);
    EXPECT_FALSE(reg.ValueExists(key(), "n"));
}

}  // namespace
}  // namespace tb::test
