// The text side of clsRegistryAccess that needs no registry: key paths and hex text.
#include <gtest/gtest.h>

#include "settings/clsRegistryAccess.h"

namespace tb {
namespace {

TEST(ParseKeyPath, RecognisesEveryRootInBothSpellingsAndAnyCaseAsTheFirstComponentOnly) {
    const std::tuple<std::string, HKey, std::string> cases[] = {
        {"HKEY_CLASSES_ROOT\\S", 0x80000000, "S"},
        {"hkcr\\S", 0x80000000, "S"},
        {"HKEY_CURRENT_USER\\S", 0x80000001, "S"},
        {"HkCu\\S", 0x80000001, "S"},
        {"hkey_local_machine", 0x80000002, ""},
        {"HKLM\\", 0x80000002, ""},
        {"HKEY_USERS\\S", 0x80000003, "S"},
        {"hkus\\S", 0x80000003, "S"},
        {"HKEY_PERFORMANCE_DATA", 0x80000004, ""},
        {"HKPD\\S", 0x80000004, "S"},
        {"HKEY_CURRENT_CONFIG\\S", 0x80000005, "S"},
        {"HKCC\\S", 0x80000005, "S"},
        {"HKEY_DYN_DATA\\S", 0x80000006, "S"},
        {"hkdd\\S", 0x80000006, "S"},
        {"HKCU\\Software\\HKLM", 0x80000001, "Software\\HKLM"},
        {"HKCU\\\\x", 0x80000001, "\\x"},
        {"HKCUX\\Software", 0, "Software"},  // not a root, though it starts like one
        {"HKU\\Software", 0, "Software"},    // the users root's short form has four letters
        {"\\HKCU\\x", 0, "HKCU\\x"},
        {"", 0, ""},
        {std::string("HKCU\\a\0b", 8), 0, std::string("a\0b", 3)},  // would address HKCU\a
    };
    for (const auto& [path, root, expected] : cases) {
        std::string subKey = "stale";
        EXPECT_EQ(clsRegistryAccess::ParseKeyPath(path, subKey), root) << path;
        EXPECT_EQ(subKey, expected) << path;
    }
    EXPECT_EQ(clsRegistryAccess::LongRootPath("hkcu\\Software\\HKCU"),
              "HKEY_CURRENT_USER\\Software\\HKCU");
    EXPECT_EQ(clsRegistryAccess::LongRootPath("FOO\\HKCU"), "FOO\\HKCU");
}

TEST(HexText, ConvertsBothWaysAndValidates) {
    // The text; StrToBin's bytes and the caller's text after it (spaces removed); isBinValid.
    const std::tuple<std::string, std::string, std::string, bool> cases[] = {
        {"00 AB", std::string("\0\xAB", 2), "00AB", true},
        {" 0a 1b FF ", "\x0A\x1B\xFF", "0a1bFF", true},
        {"", "", "", false},
        {"   ", "", "", false},
        // An odd last digit is a byte of its own, however many digits come before it.
        {"1", "\x01", "1", true},
        {"ABC", "\xAB\x0C", "ABC", true},
        {"12345", "\x12\x34\x05", "12345", true},
        // A pair reads its leading hex digits; none gives 0.
        {"1G G1 ZZ", std::string("\x01\0\0", 3), "1GG1ZZ", false},
        {"0x1F", std::string("\0\x1F", 2), "0x1F", false},
        {"1,2", "\x01\x02", "1,2", false},
    };
    for (const auto& [hex, bytes, compacted, valid] : cases) {
        EXPECT_EQ(clsRegistryAccess::isBinValid(hex), valid) << hex;
        std::string text = hex;
        EXPECT_EQ(clsRegistryAccess::StrToBin(text), bytes) << hex;
        EXPECT_EQ(text, compacted) << hex;
    }
    EXPECT_EQ(clsRegistryAccess::BinToStr(""), "");
    EXPECT_EQ(clsRegistryAccess::BinToStr(std::string("\0\x01\x7F\x80\xFF", 5)), " 00 01 7F 80 FF");
}

}  // namespace
}  // namespace tb
