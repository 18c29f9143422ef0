// The registry in memory, with Windows' semantics: case-insensitive names, default values,
// subkeys enumerated in sorted order and values in the order they were first set, access rights
// checked per handle, ErrorMoreData with the size needed, handles that outlive a deleted key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tb::sim {

class SimRegistry : public Registry {
public:
    SimRegistry();
    ~SimRegistry() override;

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

    // ---- For tests -------------------------------------------------------------------------
    // Handles opened and not yet closed (the predefined roots are never counted).
    std::size_t openHandleCount() const { return handles_.size(); }
    // Stores a value exactly as given, bypassing the NUL that setValueEx adds to strings; the
    // key path is relative to `root` and created when missing.
    void setRawValue(HKey root, std::string_view path, std::string_view name, std::uint32_t type,
                     std::string_view bytes);
    // A canonical dump of a root's whole tree (keys, values, types, data), for comparisons.
    std::string dump(HKey root) const;

    // Windows keeps key trees at most this many levels deep.
    static constexpr int MaxDepth = 512;

    // Case folding of the system's ANSI code page (1252), as names compare: by the upper case of
    // each character's Unicode code point.
    static std::uint32_t foldChar(unsigned char c);
    static int compareNames(std::string_view a, std::string_view b);

private:
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::string data;
    };
    struct Node;
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return compareNames(a, b) < 0;
        }
    };
    struct Node {
        std::string name;
        Node* parent = nullptr;
        bool deleted = false;
        bool root = false;
        bool usable = true;  // false for a root on which every call fails
        int depth = 0;
        std::map<std::string, std::shared_ptr<Node>, NameLess> subkeys;
        std::vector<Value> values;  // in the order they were first set
    };
    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access = 0;
    };

    RegResult resolve(HKey key, std::uint32_t needed, std::shared_ptr<Node>& node) const;
    RegResult walk(const std::shared_ptr<Node>& from, std::string_view path, bool create,
                   std::shared_ptr<Node>& out);
    HKey addHandle(std::shared_ptr<Node> node, std::uint32_t access);
    Value* findValue(Node& node, std::string_view name);
    void dumpNode(const Node& node, const std::string& path, std::string& out) const;

    std::map<HKey, std::shared_ptr<Node>> roots_;
    std::map<HKey, Handle> handles_;
    HKey nextHandle_ = 0x100;
};

}  // namespace tb::sim
