#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <cstdio>

#include "platform/sim/AnsiCodePage.h"

namespace tb::sim {

using namespace tb::reg;

namespace {

// Names and paths are C strings in the real calls: they end at the first NUL.
std::string_view cstr(const std::string& s) { return std::string_view(s.c_str()); }

void copyName(std::string_view name, std::span<char> out) {
    std::copy(name.begin(), name.end(), out.begin());
    out[name.size()] = '\0';
}

// Copies value data into a caller's buffer of `capacity` bytes that is known to be big enough.
// String data without a terminator gets one behind it when there is room, not counted.
void copyData(const std::string& data, std::uint32_t type, std::span<std::uint8_t> out,
              std::size_t capacity) {
    std::copy(data.begin(), data.end(), out.begin());
    if (isStringType(type) && !data.empty() && data.back() != '\0' && data.size() < capacity) {
        out[data.size()] = 0;
    }
}

}  // namespace

SimRegistry::SimRegistry() {
    for (HKey key = HkeyClassesRoot; key <= HkeyDynData; ++key) {
        auto node = std::make_shared<Node>();
        node->root = true;
        // Performance data is not a key tree: Windows answers only a few special queries there.
        node->usable = key != HkeyPerformanceData;
        roots_[key] = node;
    }
}

SimRegistry::~SimRegistry() = default;

std::uint32_t SimRegistry::foldChar(unsigned char c) {
    std::uint32_t u = ansiChar(c);
    if (u >= 'a' && u <= 'z') return u - 0x20;
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return u - 0x20;
    switch (u) {
        case 0xFF:
            return 0x0178;
        case 0xB5:
            return 0x039C;
        case 0x0161:
            return 0x0160;
        case 0x0153:
            return 0x0152;
        case 0x017E:
            return 0x017D;
        default:
            return u;
    }
}

int SimRegistry::compareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t ca = foldChar(static_cast<unsigned char>(a[i]));
        const std::uint32_t cb = foldChar(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

RegResult SimRegistry::resolve(HKey key, std::uint32_t needed, std::shared_ptr<Node>& node) const {
    if (isPredefinedKey(key)) {
        node = roots_.at(key);
        return node->usable ? ErrorSuccess : ErrorInvalidHandle;
    }
    const auto it = handles_.find(key);
    if (it == handles_.end()) return ErrorInvalidHandle;
    if ((it->second.access & needed) != needed) return ErrorAccessDenied;
    if (it->second.node->deleted) return ErrorKeyDeleted;
    node = it->second.node;
    return ErrorSuccess;
}

RegResult SimRegistry::walk(const std::shared_ptr<Node>& from, std::string_view path, bool create,
                            std::shared_ptr<Node>& out) {
    if (!path.empty() && path.front() == '\\') return ErrorBadPathname;
    // Check every component before creating anything, so a bad path leaves no trace.
    for (std::size_t pos = 0; pos <= path.size();) {
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        if (end - pos > MaxKeyNameLength) return ErrorInvalidParameter;
        pos = end + 1;
    }
    std::shared_ptr<Node> node = from;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        const std::string part(path.substr(pos, end - pos));
        pos = end + 1;
        if (part.empty()) continue;  // doubled and trailing separators are harmless
        const auto it = node->subkeys.find(part);
        if (it != node->subkeys.end()) {
            node = it->second;
            continue;
        }
        if (!create) return ErrorFileNotFound;
        if (node->depth >= MaxDepth) return ErrorInvalidParameter;
        auto child = std::make_shared<Node>();
        child->name = part;
        child->parent = node.get();
        child->depth = node->depth + 1;
        node->subkeys.emplace(part, child);
        node = child;
    }
    out = node;
    return ErrorSuccess;
}

HKey SimRegistry::addHandle(std::shared_ptr<Node> node, std::uint32_t access) {
    const HKey key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = Handle{std::move(node), access};
    return key;
}

SimRegistry::Value* SimRegistry::findValue(Node& node, std::string_view name) {
    for (Value& v : node.values) {
        if (compareNames(v.name, name) == 0) return &v;
    }
    return nullptr;
}

RegResult SimRegistry::openKey(HKey key, const std::string& subKey, HKey& result) {
    if (cstr(subKey).empty()) {
        result = key;
        return ErrorSuccess;
    }
    return openKeyEx(key, subKey, KeyAllAccess, result);
}

RegResult SimRegistry::openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                                 HKey& result) {
    std::shared_ptr<Node> from;
    if (RegResult r = resolve(key, 0, from)) return r;
    std::shared_ptr<Node> node;
    if (RegResult r = walk(from, cstr(subKey), false, node)) return r;
    result = addHandle(std::move(node), access);
    return ErrorSuccess;
}

RegResult SimRegistry::createKey(HKey key, const std::string& subKey, HKey& result) {
    std::shared_ptr<Node> from;
    if (RegResult r = resolve(key, 0, from)) return r;
    std::shared_ptr<Node> node;
    if (RegResult r = walk(from, cstr(subKey), true, node)) return r;
    result = addHandle(std::move(node), KeyAllAccess);
    return ErrorSuccess;
}

RegResult SimRegistry::closeKey(HKey key) {
    if (isPredefinedKey(key)) return ErrorSuccess;
    return handles_.erase(key) ? ErrorSuccess : ErrorInvalidHandle;
}

RegResult SimRegistry::deleteKey(HKey key, const std::string& subKey) {
    std::shared_ptr<Node> from;
    if (RegResult r = resolve(key, 0, from)) return r;
    std::shared_ptr<Node> node;
    if (RegResult r = walk(from, cstr(subKey), false, node)) return r;
    if (node->root || !node->subkeys.empty()) return ErrorAccessDenied;
    node->deleted = true;
    node->values.clear();
    node->parent->subkeys.erase(node->name);
    node->parent = nullptr;
    return ErrorSuccess;
}

RegResult SimRegistry::enumKeyEx(HKey key, std::uint32_t index, std::span<char> name,
                                 std::uint32_t& nameSize) {
    std::shared_ptr<Node> node;
    if (RegResult r = resolve(key, KeyEnumerateSubKeys, node)) return r;
    if (index >= node->subkeys.size()) return ErrorNoMoreItems;
    const std::string& found = std::next(node->subkeys.begin(), index)->first;
    const std::size_t capacity = std::min<std::size_t>(nameSize, name.size());
    if (found.size() + 1 > capacity) return ErrorMoreData;
    copyName(found, name);
    nameSize = static_cast<std::uint32_t>(found.size());
    return ErrorSuccess;
}

RegResult SimRegistry::enumValue(HKey key, std::uint32_t index, std::span<char> name,
                                 std::uint32_t& nameSize, std::uint32_t* type,
                                 std::span<std::uint8_t> data, std::uint32_t* dataSize) {
    if (name.data() == nullptr || (data.data() != nullptr && dataSize == nullptr)) {
        return ErrorInvalidParameter;
    }
    std::shared_ptr<Node> node;
    if (RegResult r = resolve(key, KeyQueryValue, node)) return r;
    if (index >= node->values.size()) return ErrorNoMoreItems;
    const Value& v = node->values[index];
    if (type) *type = v.type;
    const std::size_t nameCapacity = std::min<std::size_t>(nameSize, name.size());
    const std::size_t dataCapacity = dataSize ? std::min<std::size_t>(*dataSize, data.size()) : 0;
    const bool dataFits = data.data() == nullptr || v.data.size() <= dataCapacity;
    if (dataSize) *dataSize = static_cast<std::uint32_t>(v.data.size());
    if (v.name.size() + 1 > nameCapacity || !dataFits) return ErrorMoreData;
    copyName(v.name, name);
    nameSize = static_cast<std::uint32_t>(v.name.size());
    if (data.data() != nullptr) copyData(v.data, v.type, data, dataCapacity);
    return ErrorSuccess;
}

RegResult SimRegistry::queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                                    std::span<std::uint8_t> data, std::uint32_t* dataSize) {
    if (data.data() != nullptr && dataSize == nullptr) return ErrorInvalidParameter;
    std::shared_ptr<Node> node;
    if (RegResult r = resolve(key, KeyQueryValue, node)) return r;
    const Value* v = findValue(*node, cstr(name));
    if (!v) return ErrorFileNotFound;
    if (type) *type = v->type;
    if (!dataSize) return ErrorSuccess;
    const std::size_t capacity = std::min<std::size_t>(*dataSize, data.size());
    *dataSize = static_cast<std::uint32_t>(v->data.size());
    if (data.data() == nullptr) return ErrorSuccess;
    if (v->data.size() > capacity) return ErrorMoreData;
    copyData(v->data, v->type, data, capacity);
    return ErrorSuccess;
}

RegResult SimRegistry::setValueEx(HKey key, const std::string& name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) {
    std::shared_ptr<Node> node;
    if (RegResult r = resolve(key, KeySetValue, node)) return r;
    const std::string_view valueName = cstr(name);
    if (valueName.size() > MaxValueNameLength) return ErrorInvalidParameter;
    std::string bytes(data.begin(), data.end());
    // The caller's buffer is followed by a NUL; Windows counts it for string data that lacks one.
    if (isStringType(type) && !bytes.empty() && bytes.back() != '\0') bytes.push_back('\0');
    if (Value* v = findValue(*node, valueName)) {
        v->type = type;
        v->data = std::move(bytes);
    } else {
        node->values.push_back(Value{std::string(valueName), type, std::move(bytes)});
    }
    return ErrorSuccess;
}

RegResult SimRegistry::deleteValue(HKey key, const std::string& name) {
    std::shared_ptr<Node> node;
    if (RegResult r = resolve(key, KeySetValue, node)) return r;
    const std::string_view valueName = cstr(name);
    const auto it = std::find_if(node->values.begin(), node->values.end(), [&](const Value& v) {
        return compareNames(v.name, valueName) == 0;
    });
    if (it == node->values.end()) return ErrorFileNotFound;
    node->values.erase(it);
    return ErrorSuccess;
}

void SimRegistry::setRawValue(HKey root, std::string_view path, std::string_view name,
                              std::uint32_t type, std::string_view bytes) {
    std::shared_ptr<Node> node;
    if (walk(roots_.at(root), path, true, node) != ErrorSuccess) return;
    if (Value* v = findValue(*node, name)) {
        v->type = type;
        v->data = std::string(bytes);
    } else {
        node->values.push_back(Value{std::string(name), type, std::string(bytes)});
    }
}

void SimRegistry::dumpNode(const Node& node, const std::string& path, std::string& out) const {
    out += '[' + path + "]\n";
    for (const Value& v : node.values) {
        out += "  " + v.name + '=' + std::to_string(v.type) + ':';
        for (unsigned char c : v.data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", c);
            out += hex;
        }
        out += '\n';
    }
    for (const auto& [name, child] : node.subkeys) dumpNode(*child, path + '\\' + name, out);
}

std::string SimRegistry::dump(HKey root) const {
    std::string out;
    dumpNode(*roots_.at(root), "", out);
    return out;
}

}  // namespace tb::sim
