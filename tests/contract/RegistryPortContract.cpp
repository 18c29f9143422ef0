// The registry port itself, against the simulated and the real registry: the answers that
// clsRegistryAccess relies on.
#include <gtest/gtest.h>

#include "contract/RegistryContractHost.h"

namespace tb::test {
namespace {

using namespace tb::reg;

class RegistryPortContract : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(r.createKey(HkeyCurrentUser, sub, key), ErrorSuccess); }
    void TearDown() override {
        r.closeKey(key);
        EXPECT_EQ(host->openKeyHandles(), 0u);
    }
    void set(const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(r.setValueEx(key, name, type,
                               {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}),
                  ErrorSuccess);
    }

    std::unique_ptr<RegistryContractHost> host = makeRegistryContractHost();
    Registry& r = host->registry();
    std::string sub = host->scratchPath().substr(5);
    HKey key = 0;
};

TEST_F(RegistryPortContract, QueriesReportTheSizeTheDataNeeds) {
    set("b", RegBinary, "\x01\x02");
    std::uint8_t buf[8] = {};
    std::uint32_t size = 1, type = 0;
    EXPECT_EQ(r.queryValueEx(key, "b", &type, buf, &size), ErrorMoreData);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(type, RegBinary);
    size = 0;
    EXPECT_EQ(r.queryValueEx(key, "b", nullptr, {}, &size), ErrorSuccess);
    EXPECT_EQ(size, 2u);
    size = 5;
    EXPECT_EQ(r.queryValueEx(key, "missing", nullptr, buf, &size), ErrorFileNotFound);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(r.queryValueEx(key, "b", nullptr, buf, nullptr), ErrorInvalidParameter);
}

TEST_F(RegistryPortContract, StringsGetATerminatorThatUnterminatedOnesOnlyFindInTheBuffer) {
    std::uint8_t buf[8];
    std::uint32_t size = sizeof buf;
    set("s", RegSz, "abc");
    EXPECT_EQ(r.queryValueEx(key, "s", nullptr, buf, &size), ErrorSuccess);
    EXPECT_EQ(size, 4u);
    set("e", RegSz, "");
    size = sizeof buf;
    EXPECT_EQ(r.queryValueEx(key, "e", nullptr, buf, &size), ErrorSuccess);
    EXPECT_EQ(size, 0u);

    host->storeUnterminatedString(sub, "raw", "abc");
    std::fill(std::begin(buf), std::end(buf), 'x');
    size = sizeof buf;
    EXPECT_EQ(r.queryValueEx(key, "raw", nullptr, buf, &size), ErrorSuccess);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(buf[3], 0);
    std::fill(std::begin(buf), std::end(buf), 'x');
    size = 3;
    EXPECT_EQ(r.queryValueEx(key, "raw", nullptr, buf, &size), ErrorSuccess);
    EXPECT_EQ(buf[3], 'x');
}

TEST_F(RegistryPortContract, EnumerationsAskForRoomForTheNameAndItsNul) {
    HKey child = 0;
    ASSERT_EQ(r.createKey(key, "abc", child), ErrorSuccess);
    r.closeKey(child);
    set("val", RegBinary, "\x01\x02\x03\x04\x05");
    char name[8];
    std::uint8_t data[8];
    std::uint32_t nameSize = 3;
    EXPECT_EQ(r.enumKeyEx(key, 0, name, nameSize), ErrorMoreData);
    nameSize = 4;
    EXPECT_EQ(r.enumKeyEx(key, 0, name, nameSize), ErrorSuccess);
    EXPECT_EQ(nameSize, 3u);
    EXPECT_EQ(std::string(name), "abc");
    nameSize = 8;
    EXPECT_EQ(r.enumKeyEx(key, 1, name, nameSize), ErrorNoMoreItems);

    std::uint32_t type = 0, dataSize = 2;
    nameSize = 8;
    EXPECT_EQ(r.enumValue(key, 0, name, nameSize, &type, data, &dataSize), ErrorMoreData);
    EXPECT_EQ(dataSize, 5u);
    dataSize = 8;
    EXPECT_EQ(r.enumValue(key, 0, name, nameSize, &type, data, &dataSize), ErrorSuccess);
    EXPECT_EQ(std::string(name, nameSize), "val");
    EXPECT_EQ(type, RegBinary);
    EXPECT_EQ(r.enumValue(key, 1, name, nameSize, &type, data, &dataSize), ErrorNoMoreItems);
}

TEST_F(RegistryPortContract, KeysDeleteOnlyWithoutSubkeysAndTheirHandlesAnswerKeyDeleted) {
    HKey parent = 0, leaf = 0, other = 0;
    ASSERT_EQ(r.createKey(key, "P\\Leaf", leaf), ErrorSuccess);
    EXPECT_EQ(r.deleteKey(key, "P"), ErrorAccessDenied);
    EXPECT_EQ(r.deleteKey(key, "Missing"), ErrorFileNotFound);
    ASSERT_EQ(r.openKeyEx(key, "P", KeyAllAccess, parent), ErrorSuccess);
    EXPECT_EQ(r.deleteKey(parent, "Leaf"), ErrorSuccess);
    std::uint8_t buf[4];
    std::uint32_t size = sizeof buf;
    const std::uint8_t one[] = {1};
    EXPECT_EQ(r.queryValueEx(leaf, "v", nullptr, buf, &size), ErrorKeyDeleted);
    EXPECT_EQ(r.setValueEx(leaf, "v", RegBinary, one), ErrorKeyDeleted);
    EXPECT_EQ(r.createKey(leaf, "x", other), ErrorKeyDeleted);
    EXPECT_EQ(r.closeKey(leaf), ErrorSuccess);
    EXPECT_EQ(r.deleteKey(parent, ""), ErrorSuccess);  // a key can delete itself
    EXPECT_EQ(r.closeKey(parent), ErrorSuccess);
    EXPECT_EQ(r.deleteKey(HkeyCurrentUser, ""), ErrorAccessDenied);
}

TEST_F(RegistryPortContract, HandlesKeepTheRightsTheyWereOpenedWith) {
    HKey readOnly = 0, writeOnly = 0;
    ASSERT_EQ(r.openKeyEx(HkeyCurrentUser, sub, KeyRead, readOnly), ErrorSuccess);
    ASSERT_EQ(r.openKeyEx(HkeyCurrentUser, sub, KeyWrite, writeOnly), ErrorSuccess);
    const std::uint8_t one[] = {1};
    std::uint8_t buf[4];
    std::uint32_t size = sizeof buf;
    char name[8];
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(r.setValueEx(readOnly, "v", RegBinary, one), ErrorAccessDenied);
    EXPECT_EQ(r.deleteValue(readOnly, "v"), ErrorAccessDenied);
    EXPECT_EQ(r.setValueEx(writeOnly, "v", RegBinary, one), ErrorSuccess);
    EXPECT_EQ(r.queryValueEx(writeOnly, "v", nullptr, buf, &size), ErrorAccessDenied);
    EXPECT_EQ(r.enumKeyEx(writeOnly, 0, name, nameSize), ErrorAccessDenied);
    EXPECT_EQ(r.queryValueEx(readOnly, "v", nullptr, buf, &size), ErrorSuccess);
    r.closeKey(readOnly);
    r.closeKey(writeOnly);
}

TEST_F(RegistryPortContract, PathsAndHandlesAreTakenAsWindowsTakesThem) {
    HKey out = 0;
    EXPECT_EQ(r.createKey(key, "\\lead", out), ErrorBadPathname);
    ASSERT_EQ(r.createKey(key, "a\\\\b\\", out), ErrorSuccess);
    r.closeKey(out);
    EXPECT_EQ(r.openKeyEx(key, "A\\B", KeyRead, out), ErrorSuccess);
    r.closeKey(out);
    EXPECT_EQ(r.openKeyEx(key, "a\\missing", KeyRead, out), ErrorFileNotFound);
    EXPECT_EQ(r.openKey(key, "", out), ErrorSuccess);
    EXPECT_EQ(out, key);
    EXPECT_EQ(r.closeKey(0x1234), ErrorInvalidHandle);
    EXPECT_EQ(r.closeKey(HkeyCurrentUser), ErrorSuccess);
    EXPECT_NE(r.createKey(key, std::string(300, 'k'), out), ErrorSuccess);
}

}  // namespace
}  // namespace tb::test
