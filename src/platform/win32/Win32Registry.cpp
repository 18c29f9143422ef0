#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>

namespace tb::win32 {

namespace {

// The predefined keys are 32-bit values that Windows sign-extends into a 64-bit HKEY.
HKEY toHkey(HKey key) {
    if (reg::isPredefinedKey(key)) {
        return reinterpret_cast<HKEY>(
            static_cast<INT_PTR>(static_cast<LONG>(static_cast<DWORD>(key))));
    }
    return reinterpret_cast<HKEY>(key);
}

HKey fromHkey(HKEY key) {
    const auto value = reinterpret_cast<INT_PTR>(key);
    const auto asRoot = static_cast<HKey>(static_cast<DWORD>(value));
    if (static_cast<INT_PTR>(static_cast<LONG>(static_cast<DWORD>(value))) == value &&
        reg::isPredefinedKey(asRoot)) {
        return asRoot;
    }
    return static_cast<HKey>(reinterpret_cast<UINT_PTR>(key));
}

// Never let the API write past the span, whatever size the caller claims.
DWORD capacity(std::uint32_t claimed, std::size_t span) {
    return static_cast<DWORD>(std::min<std::size_t>(claimed, span));
}

}  // namespace

RegResult Win32Registry::openKey(HKey key, const std::string& subKey, HKey& result) {
    HKEY out = nullptr;
    const LONG r = RegOpenKeyA(toHkey(key), subKey.c_str(), &out);
    if (r == ERROR_SUCCESS) result = fromHkey(out);
    return r;
}

RegResult Win32Registry::openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                                   HKey& result) {
    HKEY out = nullptr;
    const LONG r = RegOpenKeyExA(toHkey(key), subKey.c_str(), 0, access, &out);
    if (r == ERROR_SUCCESS) result = fromHkey(out);
    return r;
}

RegResult Win32Registry::createKey(HKey key, const std::string& subKey, HKey& result) {
    HKEY out = nullptr;
    const LONG r = RegCreateKeyA(toHkey(key), subKey.c_str(), &out);
    if (r == ERROR_SUCCESS) result = fromHkey(out);
    return r;
}

RegResult Win32Registry::closeKey(HKey key) { return RegCloseKey(toHkey(key)); }

RegResult Win32Registry::deleteKey(HKey key, const std::string& subKey) {
    return RegDeleteKeyA(toHkey(key), subKey.c_str());
}

RegResult Win32Registry::enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                                   std::uint32_t& nameSize) {
    DWORD size = capacity(nameSize, name.size());
    const LONG r =
        RegEnumKeyExA(toHkey(key), index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS) nameSize = size;
    return r;
}

RegResult Win32Registry::enumValue(HKey key, std::uint32_t index, std::span<char> name,
                                   std::uint32_t& nameSize, std::uint32_t* type,
                                   std::span<std::uint8_t> data, std::uint32_t* dataSize) {
    DWORD size = capacity(nameSize, name.size());
    DWORD valueType = 0;
    DWORD bytes = dataSize ? capacity(*dataSize, data.size()) : 0;
    const LONG r = RegEnumValueA(toHkey(key), index, name.data(), &size, nullptr, &valueType,
                                 data.data(), dataSize ? &bytes : nullptr);
    if (r == ERROR_SUCCESS) nameSize = size;
    if (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
        if (type) *type = valueType;
        if (dataSize) *dataSize = bytes;
    }
    return r;
}

RegResult Win32Registry::queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                                      std::span<std::uint8_t> data, std::uint32_t* dataSize) {
    DWORD valueType = 0;
    DWORD bytes = dataSize ? capacity(*dataSize, data.size()) : 0;
    const LONG r = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, data.data(),
                                    dataSize ? &bytes : nullptr);
    if (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
        if (type) *type = valueType;
        if (dataSize) *dataSize = bytes;
    }
    return r;
}

RegResult Win32Registry::setValueEx(HKey key, const std::string& name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) {
    // A copy that ends in a NUL, so the call never looks past our data, as it may for strings.
    const std::string bytes(data.begin(), data.end());
    return RegSetValueExA(toHkey(key), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.c_str()),
                          static_cast<DWORD>(bytes.size()));
}

RegResult Win32Registry::deleteValue(HKey key, const std::string& name) {
    return RegDeleteValueA(toHkey(key), name.c_str());
}

}  // namespace tb::win32
