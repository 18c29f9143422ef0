// The registry port over advapi32's ANSI calls. No logic of its own: handle and size conversion.
#pragma once

#include "platform/Registry.h"

namespace tb::win32 {

class Win32Registry : public Registry {
public:
    RegResult openKey(HKey key, const std::string& subKey, HKey& result) override;
    RegResult openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                        HKey& result) override;
    RegResult createKey(HKey key, const std::string& subKey, HKey& result) override;
    RegResult closeKey(HKey key) override;
    RegResult deleteKey(HKey key, const std::string& subKey) override;
    RegResult enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize) override;
    RegResult enumValue(HKey key, std::uint32_t index, std::span<char> name,
                        std::uint32_t& nameSize, std::uint32_t* type, std::span<std::uint8_t> data,
                        std::uint32_t* dataSize) override;
    RegResult queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                           std::span<std::uint8_t> data, std::uint32_t* dataSize) override;
    RegResult setValueEx(HKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override;
    RegResult deleteValue(HKey key, const std::string& name) override;
};

}  // namespace tb::win32
