#include <gtest/gtest.h>

#include "hotkeys/modKeyCode.h"

namespace tb {
namespace {

TEST(modKeyCodeTest, NamesTheRangesAndSingleCodesAndFallsBackForEveryOther) {
    // The edges of each range, codes in its gaps, and codes outside 0..255.
    const std::pair<std::int16_t, const char*> cases[] = {
        {0, ""},
        {1, "L muisknop"},
        {3, "Functie toets(3)"},
        {47, "Functie toets(47)"},
        {48, "0"},
        {57, "9"},
        {58, "Functie toets(58)"},
        {65, "A"},
        {90, "Z"},
        {96, "Numpad 0"},
        {105, "Numpad 9"},
        {108, "Functie toets(108)"},
        {112, "F1"},
        {123, "F12"},
        {124, "Functie toets(124)"},
        {160, "L shift"},
        {220, "\\"},
        {222, "\""},
        {255, "Functie toets(255)"},
        {1000, "Functie toets(1000)"},
        {-1, "Functie toets(-1)"},
    };
    for (const auto& [code, name] : cases) EXPECT_EQ(KeyCodeToName(code), name) << code;

    // 58 codes by rule and 52 one by one: 110 named, the rest of 0..255 falls back.
    int named = 0;
    for (int code = 0; code <= 255; ++code) {
        const std::string name = KeyCodeToName(static_cast<std::int16_t>(code));
        named += name.rfind("Functie toets(", 0) != 0;
    }
    EXPECT_EQ(named, 110);
}

}  // namespace
}  // namespace tb
