// A registry that forwards to another and keeps a journal of the calls and a count of the key
// handles opened and not yet closed. Both contract hosts wrap their registry in it.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace tb::test {

class RecordingRegistry : public Registry {
public:
    explicit RecordingRegistry(Registry& inner) : inner_(inner) {}

    std::vector<std::string> calls;
    std::size_t openHandles() const { return open_.size(); }

    RegResult openKey(HKey key, const std::string& subKey, HKey& result) override {
        calls.push_back("RegOpenKeyA");
        const RegResult r = inner_.openKey(key, subKey, result);
        return opened(key, r, result);
    }
    RegResult openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                        HKey& result) override {
        char text[40];
        std::snprintf(text, sizeof text, "RegOpenKeyExA 0x%X", static_cast<unsigned>(access));
        calls.push_back(text);
        const RegResult r = inner_.openKeyEx(key, subKey, access, result);
        return opened(key, r, result);
    }
    RegResult createKey(HKey key, const std::string& subKey, HKey& result) override {
        calls.push_back("RegCreateKeyA");
        const RegResult r = inner_.createKey(key, subKey, result);
        return opened(key, r, result);
    }
    RegResult closeKey(HKey key) override {
        calls.push_back("RegCloseKey");
        open_.erase(key);
        return inner_.closeKey(key);
    }
    RegResult deleteKey(HKey key, const std::string& subKey) override {
        calls.push_back("RegDeleteKeyA");
        return inner_.deleteKey(key, subKey);
    }
    RegResult enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize) override {
        calls.push_back("RegEnumKeyExA");
        return inner_.enumKeyEx(key, index, name, nameSize);
    }
    RegResult enumValue(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize, std::uint32_t* type, std::span<std::uint8_t> data,
                        std::uint32_t* dataSize) override {
        calls.push_back("RegEnumValueA");
        return inner_.enumValue(key, index, name, nameSize, type, data, dataSize);
    }
    RegResult queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                           std::span<std::uint8_t> data, std::uint32_t* dataSize) override {
        calls.push_back("RegQueryValueExA");
        return inner_.queryValueEx(key, name, type, data, dataSize);
    }
    RegResult setValueEx(HKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override {
        calls.push_back("RegSetValueExA");
        return inner_.setValueEx(key, name, type, data);
    }
    RegResult deleteValue(HKey key, const std::string& name) override {
        calls.push_back("RegDeleteValueA");
        return inner_.deleteValue(key, name);
    }

private:
    // A predefined root, or the very handle passed in (RegOpenKeyA with an empty subkey), is no
    // new handle to account for.
    RegResult opened(HKey from, RegResult r, HKey result) {
        if (r == reg::ErrorSuccess && result != from && !reg::isPredefinedKey(result)) {
            open_.insert(result);
        }
        return r;
    }
    Registry& inner_;
    std::set<HKey> open_;
};

// Deletes a key with all its subkeys through the port; no error when it is not there. Works
// relative to open handles, so paths of any length go.
inline void deleteTree(Registry& registry, HKey parent, const std::string& subKey) {
    HKey key = 0;
    if (registry.openKeyEx(parent, subKey, reg::KeyAllAccess, key) != reg::ErrorSuccess) return;
    std::vector<std::string> children;
    char name[1024];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = sizeof name;
        if (registry.enumKeyEx(key, i, name, size) != reg::ErrorSuccess) break;
        children.emplace_back(name, size);
    }
    for (const std::string& child : children) deleteTree(registry, key, child);
    registry.closeKey(key);
    registry.deleteKey(parent, subKey);
}

}  // namespace tb::test
