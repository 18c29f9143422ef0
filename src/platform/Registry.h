// The port through which the program core reaches the registry. Each operation mirrors one ANSI
// registry call of advapi32, with its Win32 result codes; the Win32 host forwards to the real
// call, the simulation keeps the registry in memory with the same semantics.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tb {

// Opaque key handle. The predefined roots keep their 32-bit Windows values.
using HKey = std::uintptr_t;
// A LONG result code of the registry calls.
using RegResult = std::int32_t;

// Windows' constants, named in CamelCase so that <windows.h>'s macros cannot collide with them.
namespace reg {
constexpr HKey HkeyClassesRoot = 0x80000000;
constexpr HKey HkeyCurrentUser = 0x80000001;
constexpr HKey HkeyLocalMachine = 0x80000002;
constexpr HKey HkeyUsers = 0x80000003;
constexpr HKey HkeyPerformanceData = 0x80000004;
constexpr HKey HkeyCurrentConfig = 0x80000005;
constexpr HKey HkeyDynData = 0x80000006;

constexpr bool isPredefinedKey(HKey key) { return key >= HkeyClassesRoot && key <= HkeyDynData; }

constexpr RegResult ErrorSuccess = 0;
constexpr RegResult ErrorFileNotFound = 2;
constexpr RegResult ErrorAccessDenied = 5;
constexpr RegResult ErrorInvalidHandle = 6;
constexpr RegResult ErrorInvalidParameter = 87;
constexpr RegResult ErrorBadPathname = 161;
constexpr RegResult ErrorMoreData = 234;
constexpr RegResult ErrorNoMoreItems = 259;
constexpr RegResult ErrorKeyDeleted = 1018;

constexpr std::uint32_t RegNone = 0;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegExpandSz = 2;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;
constexpr std::uint32_t RegMultiSz = 7;

constexpr bool isStringType(std::uint32_t type) {
    return type == RegSz || type == RegExpandSz || type == RegMultiSz;
}

constexpr std::uint32_t KeyQueryValue = 0x0001;
constexpr std::uint32_t KeySetValue = 0x0002;
constexpr std::uint32_t KeyCreateSubKey = 0x0004;
constexpr std::uint32_t KeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t KeyNotify = 0x0010;
constexpr std::uint32_t KeyCreateLink = 0x0020;
constexpr std::uint32_t Delete = 0x00010000;
constexpr std::uint32_t ReadControl = 0x00020000;
constexpr std::uint32_t KeyRead = 0x00020019;
constexpr std::uint32_t KeyWrite = 0x00020006;
constexpr std::uint32_t KeyAllAccess = 0x000F003F;

// Longest key name component and value name Windows accepts, in characters.
constexpr std::size_t MaxKeyNameLength = 255;
constexpr std::size_t MaxValueNameLength = 16383;
}  // namespace reg

// Names are read up to their first NUL, as the C strings of the real calls are. Buffers are
// spans: a size passed in is the capacity the caller offers (never more than the span holds),
// a size passed back is what the call reports. A data span whose data() is null stands for a
// NULL lpData, which asks for the size only.
class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyA: full access. An empty subkey gives back `key` itself, not a new handle.
    virtual RegResult openKey(HKey key, const std::string& subKey, HKey& result) = 0;
    // RegOpenKeyExA(key, subKey, 0, access, &result).
    virtual RegResult openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                                HKey& result) = 0;
    // RegCreateKeyA: opens the key, creating every missing level.
    virtual RegResult createKey(HKey key, const std::string& subKey, HKey& result) = 0;
    // RegCloseKey. Closing a predefined root succeeds and does nothing.
    virtual RegResult closeKey(HKey key) = 0;
    // RegDeleteKeyA: deletes subKey (or `key` itself when subKey is empty); fails with
    // ErrorAccessDenied for a key with subkeys and for a root. Handles still open on a deleted
    // key answer ErrorKeyDeleted.
    virtual RegResult deleteKey(HKey key, const std::string& subKey) = 0;
    // RegEnumKeyExA(key, index, name, &nameSize, NULL, NULL, NULL, NULL): nameSize in is the
    // buffer's capacity including the NUL; out, on success, the name's length without it.
    virtual RegResult enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                                std::uint32_t& nameSize) = 0;
    // RegEnumValueA. On ErrorMoreData the data size needed is reported; the name size is not.
    virtual RegResult enumValue(HKey key, std::uint32_t index, std::span<char> name,
                                std::uint32_t& nameSize, std::uint32_t* type,
                                std::span<std::uint8_t> data, std::uint32_t* dataSize) = 0;
    // RegQueryValueExA. String data stored without a terminating NUL comes back as stored, with a
    // NUL placed after it (not counted) when the buffer has room for one.
    virtual RegResult queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                                   std::span<std::uint8_t> data, std::uint32_t* dataSize) = 0;
    // RegSetValueExA. The data is handed over followed by a NUL, so Windows' rule for string
    // types applies: data whose last byte is not a NUL is stored with one added.
    virtual RegResult setValueEx(HKey key, const std::string& name, std::uint32_t type,
                                 std::span<const std::uint8_t> data) = 0;
    // RegDeleteValueA.
    virtual RegResult deleteValue(HKey key, const std::string& name) = 0;
};

}  // namespace tb
