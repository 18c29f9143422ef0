#include <gtest/gtest.h>

#include "hotkeys/modKeyCode.h"

namespace tb {
namespace {

TEST(modKeyCodeTest, NamesTheRangesAndSingleCodesAndFallsBackForEveryOther) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {0, ""},
        {1, "L muisknop"},
        {3, "Functie toets(3)"},
        {4, "3e muisknop"},
        {5, "Functie toets(5)"},
        {12, "Functie toets(12)"},
        {16, "Shift"},
        {27, "Esc"},
        {47, "Functie toets(47)"},
        {48, "0"},
        {57, "9"},
        {58, "Functie toets(58)"},
        {64, "Functie toets(64)"},
        {65, "A"},
        {90, "Z"},
        {93, "Menu-toets"},
        {95, "Functie toets(95)"},
        {96, "Numpad 0"},
        {105, "Numpad 9"},
        {107, "Numpad +"},
        {108, "Functie toets(108)"},
        {111, "Numpad /"},
        {112, "F1"},
        {123, "F12"},
        {124, "Functie toets(124)"},
        {160, "L shift"},
        {165, "R alt"},
        {220, "\\"},
        {222, "\""},
        {223, "Functie toets(223)"},
        {255, "Functie toets(255)"},
        {1000, "Functie toets(1000)"},
        {-1, "Functie toets(-1)"},
        {-32768, "Functie toets(-32768)"},
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
