// The text side of clsRegistryAccess that needs no registry: key paths and hex text.
#include <gtest/gtest.h>

#include "settings/clsRegistryAccess.h"

namespace tb {
namespace {

TEST(ParseKeyPath, RecognisesEveryRootInBothSpellingsAndAnyCase) {
    const struct {
        const char* longName;
        const char* shortName;
        HKey handle;
    } roots[] = {
        {"HKEY_CURRENT_USER", "HKCU", 0x80000001},     {"HKEY_LOCAL_MACHINE", "HKLM", 0x80000002},
        {"HKEY_CLASSES_ROOT", "HKCR", 0x80000000},     {"HKEY_USERS", "HKUS", 0x80000003},
        {"HKEY_PERFORMANCE_DATA", "HKPD", 0x80000004}, {"HKEY_DYN_DATA", "HKDD", 0x80000006},
        {"HKEY_CURRENT_CONFIG", "HKCC", 0x80000005}};
    for (const auto& root : roots) {
        for (std::string name : {std::string(root.longName), std::string(root.shortName)}) {
            std::string lowered = name;
            for (char& c : lowered) c = static_cast<char>(std::tolower(c));
            for (const std::string& spelling : {name, lowered}) {
                std::string subKey = "stale";
                EXPECT_EQ(clsRegistryAccess::ParseKeyPath(spelling + "\\Software\\X", subKey),
                          root.handle)
                    << spelling;
                EXPECT_EQ(subKey, "Software\\X");
                EXPECT_EQ(clsRegistryAccess::ParseKeyPath(spelling, subKey), root.handle);
                EXPECT_EQ(subKey, "");
            }
            EXPECT_EQ(clsRegistryAccess::LongRootPath(name + "\\a"),
                      root.longName + std::string("\\a"));
        }
    }
}

TEST(ParseKeyPath, OnlyTheFirstComponentNamesTheRoot) {
    const struct {
        std::string path;
        HKey root;
        std::string subKey;
    } cases[] = {
        {"HKCU\\Software\\HKEY_LOCAL_MACHINE\\hkcu", 0x80000001,
         "Software\\HKEY_LOCAL_MACHINE\\hkcu"},
        {"HKCU\\", 0x80000001, ""},
        {"HKCU\\\\x", 0x80000001, "\\x"},
        {"HKCUX\\Software", 0, "Software"},  // not a root, though it starts like one
        {"HKU\\Software", 0, "Software"},    // the users root's short form has four letters
        {"FOO\\Bar", 0, "Bar"},
        {"\\HKCU\\x", 0, "HKCU\\x"},
        {"", 0, ""},
        {std::string("HKCU\\a\0b", 8), 0, std::string("a\0b", 3)},  // would address HKCU\a
    };
    for (const auto& c : cases) {
        std::string subKey;
        EXPECT_EQ(clsRegistryAccess::ParseKeyPath(c.path, subKey), c.root) << c.path;
        EXPECT_EQ(subKey, c.subKey) << c.path;
    }
    EXPECT_EQ(clsRegistryAccess::LongRootPath("hkcu\\Software\\HKCU"),
              "HKEY_CURRENT_USER\\Software\\HKCU");
    EXPECT_EQ(clsRegistryAccess::LongRootPath("FOO\\HKCU"), "FOO\\HKCU");
}

TEST(HexText, ConvertsBothWays) {
    EXPECT_EQ(clsRegistryAccess::BinToStr(std::string("\0\xAB", 2)), " 00 AB");
    EXPECT_EQ(clsRegistryAccess::BinToStr(""), "");
    EXPECT_EQ(clsRegistryAccess::BinToStr("\x01\x7F\x80\xFF"), " 01 7F 80 FF");
    const struct {
        std::string hex;
        std::string bytes;
        std::string compacted;
    } cases[] = {
        {"00 AB", std::string("\0\xAB", 2), "00AB"},
        {" 0a 1b FF ", "\x0A\x1B\xFF", "0a1bFF"},
        {"", "", ""},
        {"   ", "", ""},
        // An odd last digit is a byte of its own, however many digits come before it.
        {"1", "\x01", "1"},
        {"ABC", "\xAB\x0C", "ABC"},
        {"12345", std::string("\x12\x34\x05"), "12345"},
        // A pair reads its leading hex digits; none gives 0.
        {"1G G1 ZZ", std::string("\x01\0\0", 3), "1GG1ZZ"},
    };
    for (const auto& c : cases) {
        std::string text = c.hex;
        EXPECT_EQ(clsRegistryAccess::StrToBin(text), c.bytes) << c.hex;
        EXPECT_EQ(text, c.compacted) << "spaces are removed from the caller's text";
    }
}

TEST(HexText, IsValidOnlyWithHexDigitsAndAtLeastOne) {
    for (const char* valid : {"0a 1b", "0A1B", " f ", "0123456789abcdefABCDEF"}) {
        EXPECT_TRUE(clsRegistryAccess::isBinValid(valid)) << valid;
    }
    for (const char* invalid : {"", "   ", "0G", "0x1F", "1,2", "-1"}) {
        EXPECT_FALSE(clsRegistryAccess::isBinValid(invalid)) << invalid;
    }
}

}  // namespace
}  // namespace tb
