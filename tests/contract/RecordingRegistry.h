// A registry that forwards to another and counts the key handles opened and not yet closed, for
// the real registry, which has no such count of its own.
#pragma once

#include <set>
#include <string>

#include "platform/Registry.h"

namespace tb::test {

class RecordingRegistry : public Registry {
public:
    explicit RecordingRegistry(Registry& inner) : inner_(inner) {}
    std::size_t openHandles() const { return open_.size(); }

    RegResult openKey(HKey key, const std::string& subKey, HKey& result) override {
        const RegResult r = inner_.openKey(key, subKey, result);
        return opened(key, r, result);
    }
    RegResult openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                        HKey& result) override {
        const RegResult r = inner_.openKeyEx(key, subKey, access, result);
        return opened(key, r, result);
    }
    RegResult createKey(HKey key, const std::string& subKey, HKey& result) override {
        const RegResult r = inner_.createKey(key, subKey, result);
        return opened(key, r, result);
    }
    RegResult closeKey(HKey key) override {
        open_.erase(key);
        return inner_.closeKey(key);
    }
    RegResult deleteKey(HKey key, const std::string& subKey) override {
        return inner_.deleteKey(key, subKey);
    }
    RegResult enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize) override {
        return inner_.enumKeyEx(key, index, name, nameSize);
    }
    RegResult enumValue(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize, std::uint32_t* type, std::span<std::uint8_t> data,
                        std::uint32_t* dataSize) override {
        return inner_.enumValue(key, index, name, nameSize, type, data, dataSize);
    }
    RegResult queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                           std::span<std::uint8_t> data, std::uint32_t* dataSize) override {
        return inner_.queryValueEx(key, name, type, data, dataSize);
    }
    RegResult setValueEx(HKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override {
        return inner_.setValueEx(key, name, type, data);
    }
    RegResult deleteValue(HKey key, const std::string& name) override {
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

}  // namespace tb::test
