#include "hotkeys/modKeyCode.h"

#include <array>

namespace tb {

namespace {

struct KeyName {
    std::int16_t code;
    const char* name;
};

// Codes named one by one. The left and right modifiers are written in lower case, the generic
// Shift, Ctrl and Alt with a capital.
constexpr std::array<KeyName, 52> kNames{{
    {0, ""},
    {1, "L muisknop"},
    {2, "R muisknop"},
    {4, "3e muisknop"},
    {8, "Backspace"},
    {9, "Tab"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Break"},
    {20, "Caps lock"},
    {27, "Esc"},
    {32, "Spatie"},
    {33, "Page up"},
    {34, "Page down"},
    {35, "End"},
    {36, "Home"},
    {37, "Pijl-links"},
    {38, "Pijl-omhoog"},
    {39, "Pijl-rechts"},
    {40, "Pijl-beneden"},
    {44, "Print screen"},
    {45, "Insert"},
    {46, "Delete"},
    {91, "L Win-toets"},
    {92, "R Win-toets"},
    {93, "Menu-toets"},
    {106, "Numpad *"},
    {107, "Numpad +"},
    {109, "Numpad -"},
    {110, "Numpad ."},
    {111, "Numpad /"},
    {144, "Num lock"},
    {145, "Scroll lock"},
    {160, "L shift"},
    {161, "R shift"},
    {162, "L ctrl"},
    {163, "R ctrl"},
    {164, "L alt"},
    {165, "R alt"},
    {186, ":"},
    {187, "="},
    {188, "<"},
    {189, "-"},
    {190, ">"},
    {191, "?"},
    {192, "~"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "\""},
}};

}  // namespace

std::string KeyCodeToName(std::int16_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
        return std::string(1, static_cast<char>(code));
    }
    if (code >= 96 && code <= 105) return "Numpad " + std::to_string(code - 96);
    if (code >= 112 && code <= 123) return "F" + std::to_string(code - 111);
    for (const KeyName& k : kNames) {
        if (k.code == code) return k.name;
    }
    return "Functie toets(" + std::to_string(code) + ")";
}

}  // namespace tb
