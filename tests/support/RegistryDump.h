// A key tree as text, read through the registry port: every key's path relative to the top, and
// every value's name, type and bytes, values sorted by name so that enumeration order does not
// matter. For comparing a tree built by regedit with one built by this program, which differ
// only in how they store empty strings: regedit keeps @="" as an empty default and writes an
// empty string as a lone NUL; this program's import drops the one and writes size 0.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace tb::test {

inline std::string dumpTree(Registry& registry, HKey parent, const std::string& subKey,
                            const std::string& relative = "") {
    HKey key = 0;
    if (registry.openKeyEx(parent, subKey, reg::KeyRead, key) != reg::ErrorSuccess) {
        return "<missing " + relative + ">\n";
    }
    std::vector<std::string> values, children;
    std::vector<char> name(16385);
    std::vector<std::uint8_t> data(1 << 16);
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
        std::uint32_t size = static_cast<std::uint32_t>(data.size()), type = 0;
        if (registry.enumValue(key, i, name, nameSize, &type, data, &size) != reg::ErrorSuccess) {
            break;
        }
        const std::string valueName(name.data(), nameSize);
        if (reg::isStringType(type) && (size == 0 || (size == 1 && data[0] == 0))) {
            if (valueName.empty()) continue;
            size = 0;
        }
        std::string line = "  \"" + valueName + "\" type " + std::to_string(type) + ":";
        for (std::uint32_t b = 0; b < size; ++b) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", data[b]);
            line += hex;
        }
        values.push_back(line + "\n");
    }
    std::sort(values.begin(), values.end());
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = static_cast<std::uint32_t>(name.size());
        if (registry.enumKeyEx(key, i, name, size) != reg::ErrorSuccess) break;
        children.emplace_back(name.data(), size);
    }
    std::string out = "[" + relative + "]\n";
    for (const std::string& v : values) out += v;
    for (const std::string& child : children) {
        out += dumpTree(registry, key, child, relative + "\\" + child);
    }
    registry.closeKey(key);
    return out;
}

}  // namespace tb::test
