// The hotkey scanner against the simulated keyboard.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "hotkeys/Sneltoetsen.h"
#include "platform/sim/SimDesktop.h"

namespace tb {
namespace {

constexpr int P = 'P', F5 = 0x74, CTRL = 17, SHIFT = 16;

// A slot as the settings store loads it: the flags say which modifier is NOT needed.
Sneltoets slot(int key, bool needsCtrl = false, bool needsShift = false) {
    return Sneltoets{!needsCtrl, !needsShift, static_cast<std::int16_t>(key)};
}

TEST(ScanSneltoetsen, TheLowestSlotWhoseCombinationIsHeldFires) {
    using Table = std::array<Sneltoets, 5>;
    const Table ctrlP = {slot(0), slot(P, true), slot('Q', false, true)};
    const Table sameKey = {slot('K'), slot(0), slot(0), slot(0), slot('K')};
    const Table f5 = {slot(0), slot(0), slot(F5)};
    const Table unused = {slot(0), slot(0), slot(0), slot(0), slot(0)};
    // The slots and the keys held: the slot that fires.
    const std::tuple<const char*, const Table&, std::vector<int>, std::optional<int>> rows[] = {
        {"P alone", ctrlP, {P}, std::nullopt},
        {"Ctrl+P", ctrlP, {CTRL, P}, 1},
        {"Ctrl+Shift+P", ctrlP, {CTRL, SHIFT, P}, 1},
        {"Q without its Shift", ctrlP, {CTRL, 'Q'}, std::nullopt},
        {"the same key in two slots", sameKey, {'K'}, 0},
        {"F5", f5, {F5}, 2},
        {"Ctrl+F5", f5, {CTRL, F5}, 2},
        {"Shift+F5", f5, {SHIFT, F5}, 2},
        {"all codes 0", unused, {0, CTRL, SHIFT, 'A'}, std::nullopt},
    };
    for (const auto& [name, table, held, fires] : rows) {
        sim::SimDesktop desk;
        for (int key : held) desk.setKeyDown(key, true);
        EXPECT_EQ(ScanSneltoetsen(desk, table), fires) << name;
    }
}

}  // namespace
}  // namespace tb
