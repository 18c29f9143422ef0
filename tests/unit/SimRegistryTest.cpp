// What the simulated registry does as Windows does where Wine differs or cannot be asked:
// enumeration order, name folding, depth, the count of open handles.
#include <gtest/gtest.h>

#include "platform/sim/SimRegistry.h"

namespace tb::sim {
namespace {

using namespace tb::reg;

std::vector<std::string> subkeys(SimRegistry& sim, HKey key) {
    std::vector<std::string> out;
    char name[300];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = sizeof name;
        if (sim.enumKeyEx(key, i, name, size) != ErrorSuccess) break;
        out.emplace_back(name, size);
    }
    return out;
}

TEST(SimRegistry, SubkeysComeInUpperCaseOrderAndValuesInTheOrderFirstSet) {
    SimRegistry sim;
    HKey key = 0, child = 0;
    ASSERT_EQ(sim.createKey(HkeyCurrentUser, "Order", key), ErrorSuccess);
    for (const char* name : {"b", "_x", "A", "\xE9", "\xC8", "Z", "0"}) {
        ASSERT_EQ(sim.createKey(key, name, child), ErrorSuccess);
        sim.closeKey(child);
    }
    // Windows compares upper case, so "_" sorts after the letters (Wine's lower case would not).
    EXPECT_EQ(subkeys(sim, key),
              (std::vector<std::string>{"0", "A", "b", "Z", "_x", "\xC8", "\xE9"}));
    const std::uint8_t one[] = {1};
    for (const char* name : {"b", "a", "C", "a"}) sim.setValueEx(key, name, RegBinary, one);
    sim.deleteValue(key, "b");
    sim.setValueEx(key, "B", RegBinary, one);
    std::vector<std::string> values;
    char name[32];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = sizeof name;
        if (sim.enumValue(key, i, name, size, nullptr, {}, nullptr) != ErrorSuccess) break;
        values.emplace_back(name, size);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"a", "C", "B"}));
    sim.closeKey(key);
}

TEST(SimRegistry, NamesFoldCaseAcrossTheAnsiCodePage) {
    SimRegistry sim;
    HKey key = 0;
    ASSERT_EQ(sim.createKey(HkeyCurrentUser, "Caf\xE9\\\x9A\\\xFF", key), ErrorSuccess);
    sim.closeKey(key);
    EXPECT_EQ(sim.openKey(HkeyCurrentUser, "CAF\xC9\\\x8A\\\x9F", key), ErrorSuccess);
    sim.closeKey(key);
    EXPECT_EQ(SimRegistry::compareNames("abc", "ABC"), 0);
    EXPECT_LT(SimRegistry::compareNames("ab", "abc"), 0);
}

TEST(SimRegistry, RefusesNamesWindowsRefuses) {
    SimRegistry sim;
    HKey key = 0;
    const std::uint8_t one[] = {1};
    EXPECT_EQ(sim.createKey(HkeyCurrentUser, std::string(256, 'k'), key), ErrorInvalidParameter);
    EXPECT_EQ(sim.createKey(HkeyCurrentUser, "\\lead", key), ErrorBadPathname);
    std::string deep;
    for (int i = 0; i < SimRegistry::MaxDepth + 1; ++i) deep += "d\\";
    EXPECT_EQ(sim.createKey(HkeyCurrentUser, deep, key), ErrorInvalidParameter);
    ASSERT_EQ(sim.createKey(HkeyCurrentUser, "Names", key), ErrorSuccess);
    EXPECT_EQ(sim.setValueEx(key, std::string(16383, 'v'), RegBinary, one), ErrorSuccess);
    EXPECT_EQ(sim.setValueEx(key, std::string(16384, 'v'), RegBinary, one), ErrorInvalidParameter);
    sim.closeKey(key);
    EXPECT_EQ(sim.createKey(HkeyPerformanceData, "x", key), ErrorInvalidHandle);
    EXPECT_EQ(sim.openHandleCount(), 0u);
}

TEST(SimRegistry, CountsHandlesUntilTheyAreClosed) {
    SimRegistry sim;
    HKey a = 0, b = 0, same = 0;
    sim.createKey(HkeyCurrentUser, "H", a);
    sim.openKeyEx(HkeyCurrentUser, "H", KeyRead, b);
    EXPECT_EQ(sim.openHandleCount(), 2u);
    EXPECT_EQ(sim.openKey(a, "", same), ErrorSuccess);  // the same handle, not a new one
    EXPECT_EQ(same, a);
    EXPECT_EQ(sim.openHandleCount(), 2u);
    EXPECT_EQ(sim.closeKey(a), ErrorSuccess);
    EXPECT_EQ(sim.closeKey(a), ErrorInvalidHandle);
    EXPECT_EQ(sim.closeKey(HkeyCurrentUser), ErrorSuccess);
    sim.closeKey(b);
    EXPECT_EQ(sim.openHandleCount(), 0u);
}

}  // namespace
}  // namespace tb::sim
