#include "settings/clsRegistryAccess.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tb {

using namespace tb::reg;

namespace {

struct RootName {
    const char* longName;
    const char* shortName;
    HKey handle;
};

// Every short form has four characters; "HKUS", not "HKU", for the users root.
constexpr std::array<RootName, 7> kRoots{{
    {"HKEY_CURRENT_USER", "HKCU", HkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", HkeyLocalMachine},
    {"HKEY_CLASSES_ROOT", "HKCR", HkeyClassesRoot},
    {"HKEY_USERS", "HKUS", HkeyUsers},
    {"HKEY_PERFORMANCE_DATA", "HKPD", HkeyPerformanceData},
    {"HKEY_DYN_DATA", "HKDD", HkeyDynData},
    {"HKEY_CURRENT_CONFIG", "HKCC", HkeyCurrentConfig},
}};

constexpr std::uint32_t kNameBuffer = 255;

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
               return up(x) == up(y);
           });
}

const RootName* findRoot(std::string_view text) {
    for (const RootName& root : kRoots) {
        if (equalsNoCase(text, root.longName) || equalsNoCase(text, root.shortName)) return &root;
    }
    return nullptr;
}

// The key handle as a success value: non-zero whatever the handle's bits are.
std::int32_t successValue(HKey key) {
    const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(key));
    return value != 0 ? value : 1;
}

std::string_view leftTrimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view trimSpaces(std::string_view s) {
    s = leftTrimSpaces(s);
    const std::size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

// The registry reads names up to a NUL: one with a NUL inside would address another value.
bool usableName(const std::string& name) { return name.find('\0') == std::string::npos; }

std::string_view beforeNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// Closes the key an operation opened on every way out of it.
class OpenedKey {
public:
    explicit OpenedKey(Registry& registry) : registry_(registry) {}
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    ~OpenedKey() {
        if (open_) registry_.closeKey(key_);
    }
    bool open(HKey root, const std::string& subKey) {
        return adopt(registry_.openKey(root, subKey, key_));
    }
    bool openEx(HKey root, const std::string& subKey, std::uint32_t access) {
        return adopt(registry_.openKeyEx(root, subKey, access, key_));
    }
    bool create(HKey root, const std::string& subKey) {
        return adopt(registry_.createKey(root, subKey, key_));
    }
    // The start of every value operation: a known root, a name the registry can hold, the key.
    bool openForValue(const std::string& sPath, const std::string& sName, std::uint32_t access) {
        std::string subKey;
        const HKey root = clsRegistryAccess::ParseKeyPath(sPath, subKey);
        return root && usableName(sName) && openEx(root, subKey, access);
    }
    HKey get() const { return key_; }

private:
    bool adopt(RegResult result) {
        open_ = result == ErrorSuccess;
        return open_;
    }
    Registry& registry_;
    HKey key_ = 0;
    bool open_ = false;
};

}  // namespace

clsRegistryAccess::clsRegistryAccess(Registry& registry, Desktop& desktop)
    : registry_(registry), desktop_(desktop) {}

HKey clsRegistryAccess::ParseKeyPath(const std::string& sPath, std::string& sSubKey) {
    // Only the first component names the root: a key further down that happens to be called
    // "HKEY_USERS" or starts with "HKCU" stays what it is.
    const std::size_t slash = sPath.find('\\');
    const std::string_view rootText = slash == std::string::npos
                                          ? std::string_view(sPath)
                                          : std::string_view(sPath).substr(0, slash);
    sSubKey = slash == std::string::npos ? std::string() : sPath.substr(slash + 1);
    const RootName* root = findRoot(rootText);
    // The registry reads a path up to a NUL: one with a NUL inside would address another key.
    if (!root || sPath.find('\0') != std::string::npos) return 0;
    return root->handle;
}

std::string clsRegistryAccess::LongRootPath(const std::string& sPath) {
    const std::size_t slash = sPath.find('\\');
    const std::string_view rootText = slash == std::string::npos
                                          ? std::string_view(sPath)
                                          : std::string_view(sPath).substr(0, slash);
    const RootName* root = findRoot(rootText);
    if (!root) return sPath;
    return root->longName + (slash == std::string::npos ? std::string() : sPath.substr(slash));
}

std::int32_t clsRegistryAccess::CreateKey(const std::string& sPath) {
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    if (!root) return 0;
    OpenedKey key(registry_);
    return key.create(root, subKey) ? successValue(key.get()) : 0;
}

std::int32_t clsRegistryAccess::KillKey(const std::string& sPath) {
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    if (!root) return 0;
    OpenedKey key(registry_);
    if (!key.openEx(root, subKey, KeyAllAccess)) return 0;
    // Report whether the key is gone, not merely whether it could be opened.
    return registry_.deleteKey(key.get(), "") == ErrorSuccess ? successValue(key.get()) : 0;
}

bool clsRegistryAccess::KeyExists(const std::string& sPath) {
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    if (!root) return false;
    OpenedKey key(registry_);
    return key.openEx(root, subKey, KeyAllAccess);
}

std::int32_t clsRegistryAccess::EnumKeys(const std::string& sPath,
                                         std::vector<std::string>& sKeys) {
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    sKeys.clear();
    if (!root) return -1;
    OpenedKey key(registry_);
    if (!key.open(root, subKey)) return -1;
    std::vector<char> name(kNameBuffer);
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = static_cast<std::uint32_t>(name.size());
        RegResult r = registry_.enumKeyEx(key.get(), index, name, size);
        // A name that fills the buffer is legal: take it with a larger one.
        while (r == ErrorMoreData && name.size() < 0x10000) {
            name.resize(name.size() * 2);
            size = static_cast<std::uint32_t>(name.size());
            r = registry_.enumKeyEx(key.get(), index, name, size);
        }
        // Any other failure would answer the same for every further index: stop there.
        if (r != ErrorSuccess) break;
        sKeys.emplace_back(name.data(), std::min<std::size_t>(size, name.size()));
    }
    return static_cast<std::int32_t>(sKeys.size());
}

bool clsRegistryAccess::HaveSubkey(const std::string& sPath) {
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    if (!root) return false;
    OpenedKey key(registry_);
    if (!key.open(root, subKey)) return false;
    std::array<char, kNameBuffer> name{};
    std::uint32_t size = kNameBuffer;
    return registry_.enumKeyEx(key.get(), 0, name, size) != ErrorNoMoreItems;
}

std::int32_t clsRegistryAccess::writeValue(const std::string& sPath, const std::string& name,
                                           std::uint32_t type, const std::string& bytes) {
    if (!KeyExists(sPath)) {
        if (!createKeyIfDoesntExists_) return 0;
        CreateKey(sPath);
    }
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, name, KeyWrite)) return 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const RegResult r = registry_.setValueEx(key.get(), name, type, {data, bytes.size()});
    return r == ErrorSuccess ? successValue(key.get()) : 0;
}

std::int32_t clsRegistryAccess::WriteString(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    return writeValue(sPath, sName == "@" ? std::string() : sName, RegSz, sValue);
}

std::int32_t clsRegistryAccess::WriteDWORD(const std::string& sPath, const std::string& sName,
                                           std::int32_t lValue) {
    const auto u = static_cast<std::uint32_t>(lValue);
    const std::string bytes{static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                            static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
    return writeValue(sPath, sName, RegDword, bytes);
}

std::int32_t clsRegistryAccess::WriteBinary(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    std::string hex = sValue;
    return writeValue(sPath, sName, RegBinary, StrToBin(hex));
}

std::string clsRegistryAccess::ReadString(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, sName, KeyRead)) return sDefault;
    std::array<std::uint8_t, kNameBuffer> buffer;
    buffer.fill(' ');
    std::uint32_t size = kNameBuffer;
    if (registry_.queryValueEx(key.get(), sName, nullptr, buffer, &size) != ErrorSuccess) {
        return sDefault;
    }
    // Only the bytes the registry returned count: data stored without a terminating NUL ends
    // at its size, not somewhere in the filler behind it.
    const std::string_view data(reinterpret_cast<const char*>(buffer.data()),
                                std::min<std::size_t>(size, buffer.size()));
    return std::string(leftTrimSpaces(beforeNul(data)));
}

std::int32_t clsRegistryAccess::ReadDWORD(const std::string& sPath, const std::string& sName,
                                          std::int32_t lDefault) {
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, sName, KeyRead)) return lDefault;
    // Zeroed, so shorter data (a string of two bytes, say) reads as a defined number.
    std::array<std::uint8_t, 4> buffer{};
    std::uint32_t size = 4;
    if (registry_.queryValueEx(key.get(), sName, nullptr, buffer, &size) != ErrorSuccess) {
        return lDefault;
    }
    return static_cast<std::int32_t>(buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) |
                                     (static_cast<std::uint32_t>(buffer[3]) << 24));
}

std::string clsRegistryAccess::ReadBinary(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, sName, KeyRead)) return sDefault;
    std::vector<std::uint8_t> buffer(1);
    std::uint32_t size = 1;
    const RegResult probe = registry_.queryValueEx(key.get(), sName, nullptr, buffer, &size);
    if (probe != ErrorSuccess && probe != ErrorMoreData) return sDefault;
    buffer.resize(size);
    if (registry_.queryValueEx(key.get(), sName, nullptr, buffer, &size) != ErrorSuccess) {
        return sDefault;
    }
    const std::string bytes(buffer.begin(),
                            buffer.begin() + std::min<std::size_t>(size, buffer.size()));
    return std::string(trimSpaces(BinToStr(bytes)));
}

std::int32_t clsRegistryAccess::KillValue(const std::string& sPath, const std::string& sName) {
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, sName, KeyWrite)) return 0;
    return registry_.deleteValue(key.get(), sName) == ErrorSuccess ? successValue(key.get()) : 0;
}

bool clsRegistryAccess::ValueExists(const std::string& sPath, const std::string& sName) {
    OpenedKey key(registry_);
    if (!key.openForValue(sPath, sName, KeyRead)) return false;
    std::array<std::uint8_t, 1> buffer{};
    std::uint32_t size = 1;
    // A value with more data than the probe holds exists just as well.
    const RegResult r = registry_.queryValueEx(key.get(), sName, nullptr, buffer, &size);
    return r == ErrorSuccess || r == ErrorMoreData;
}

bool clsRegistryAccess::readValues(const std::string& sPath, std::vector<RawValue>& out) {
    out.clear();
    std::string subKey;
    const HKey root = ParseKeyPath(sPath, subKey);
    if (!root) return false;
    OpenedKey key(registry_);
    if (!key.open(root, subKey)) return false;
    std::vector<char> name;
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0;; ++index) {
        name.assign(kNameBuffer, ' ');
        data.assign(kNameBuffer, ' ');
        std::uint32_t nameSize = kNameBuffer;
        std::uint32_t dataSize = kNameBuffer;
        std::uint32_t type = 0;
        RegResult r = registry_.enumValue(key.get(), index, name, nameSize, &type, data, &dataSize);
        // Long names and data are legal: fetch them whole rather than cut or skip them.
        for (int attempt = 0; r == ErrorMoreData && attempt < 4; ++attempt) {
            name.resize(std::max<std::size_t>(name.size(), MaxValueNameLength + 2));
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize));
            nameSize = static_cast<std::uint32_t>(name.size());
            dataSize = static_cast<std::uint32_t>(data.size());
            r = registry_.enumValue(key.get(), index, name, nameSize, &type, data, &dataSize);
        }
        // Any other failure would answer the same for every further index: stop there.
        if (r != ErrorSuccess) break;
        out.push_back(
            RawValue{std::string(name.data(), std::min<std::size_t>(nameSize, name.size())), type,
                     std::string(data.begin(),
                                 data.begin() + std::min<std::size_t>(dataSize, data.size()))});
    }
    return true;
}

std::int32_t clsRegistryAccess::EnumValues(const std::string& sPath,
                                           std::vector<std::string>& sNames,
                                           std::vector<RegValue>& vValues, std::int32_t lType) {
    std::vector<RawValue> raw;
    if (!readValues(sPath, raw)) return -1;
    sNames.clear();
    vValues.clear();
    for (RawValue& v : raw) {
        if (lType != -1 && static_cast<std::uint32_t>(lType) != v.type) continue;
        RegValue value;
        if (v.type == RegBinary) {
            value = std::string(trimSpaces(BinToStr(v.data)));
        } else if (v.type == RegDword) {
            value = ReadDWORD(sPath, v.name);
        } else if (v.type == RegSz) {
            value = ReadString(sPath, v.name);
        }
        // The name exactly as stored: trimming it would address a different value.
        sNames.push_back(std::move(v.name));
        vValues.push_back(std::move(value));
    }
    return static_cast<std::int32_t>(sNames.size());
}

}  // namespace tb
