#include "platform/sim/SimFiles.h"

#include <map>
#include <set>
#include <utility>

namespace tb::sim {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string keyOf(const std::string& normalized) {
    std::string key = normalized;
    for (char& c : key) c = lowerAscii(c);
    return key;
}

// An absolute path "X:\a\b" in canonical form ("X:" for a drive root), or nullopt when the path
// is not absolute or holds a forbidden character. "." and ".." resolve, and trailing dots and
// spaces of a name go, as Windows does.
std::optional<std::string> normalize(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) return std::nullopt;
    if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return std::nullopt;
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (part != ".") {
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
            if (!part.empty()) parts.push_back(part);
        }
        part.clear();
    };
    for (std::size_t i = 2; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/') {
            flush();
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
            c == '*') {
            return std::nullopt;
        }
        part += c;
    }
    flush();
    std::string out{static_cast<char>(drive >= 'a' ? drive - 'a' + 'A' : drive), ':'};
    for (const auto& p : parts) out += "\\" + p;
    return out;
}

std::string parentOf(const std::string& normalized) {
    const auto pos = normalized.rfind('\\');
    return pos == std::string::npos ? normalized : normalized.substr(0, pos);
}

}  // namespace

struct SimFiles::State {
    struct File {
        std::string path;
        std::shared_ptr<std::string> content = std::make_shared<std::string>();
        bool readOnly = false;
        int writers = 0;
    };
    std::map<std::string, File> files;           // by key
    std::map<std::string, std::string> folders;  // key -> path
    std::set<std::string> readOnlyFolders;       // keys
    bool diskFull = false;
    int openFiles = 0;
};

namespace {

class SimOutputFile : public OutputFile {
public:
    SimOutputFile(std::shared_ptr<SimFiles::State> state, std::string key)
        : state_(std::move(state)), key_(std::move(key)) {}
    ~SimOutputFile() override {
        --state_->openFiles;
        auto it = state_->files.find(key_);
        if (it != state_->files.end()) --it->second.writers;
    }
    bool write(std::string_view bytes) override {
        if (state_->diskFull) return false;
        auto it = state_->files.find(key_);
        if (it == state_->files.end()) return false;
        it->second.content->append(bytes);
        return true;
    }

private:
    std::shared_ptr<SimFiles::State> state_;
    std::string key_;
};

}  // namespace

SimFiles::SimFiles() : state_(std::make_shared<State>()) { createFolder("C:\\"); }

bool SimFiles::fileExists(const std::string& path) const {
    const auto n = normalize(path);
    return n && state_->files.count(keyOf(*n)) != 0;
}

std::unique_ptr<OutputFile> SimFiles::createFile(const std::string& path, bool failIfExists) {
    const auto n = normalize(path);
    if (!n) return nullptr;
    const std::string key = keyOf(*n);
    const std::string parentKey = keyOf(parentOf(*n));
    if (key == parentKey || state_->folders.count(key) != 0) return nullptr;  // a folder
    if (state_->folders.count(parentKey) == 0 || state_->readOnlyFolders.count(parentKey) != 0) {
        return nullptr;
    }
    auto it = state_->files.find(key);
    if (it != state_->files.end()) {
        if (failIfExists || it->second.readOnly || it->second.writers > 0) return nullptr;
        it->second.content->clear();
    } else {
        it = state_->files.emplace(key, State::File{*n}).first;
    }
    ++it->second.writers;
    ++state_->openFiles;
    return std::make_unique<SimOutputFile>(state_, key);
}

std::optional<std::string> SimFiles::readFile(const std::string& path) const {
    const auto n = normalize(path);
    if (!n) return std::nullopt;
    auto it = state_->files.find(keyOf(*n));
    if (it == state_->files.end()) return std::nullopt;
    return *it->second.content;
}

bool SimFiles::deleteFile(const std::string& path) {
    const auto n = normalize(path);
    if (!n) return false;
    auto it = state_->files.find(keyOf(*n));
    if (it == state_->files.end() || it->second.readOnly || it->second.writers > 0) return false;
    state_->files.erase(it);
    return true;
}

void SimFiles::createFolder(const std::string& path) {
    auto n = normalize(path);
    if (!n) return;
    for (std::string p = *n;; p = parentOf(p)) {
        state_->folders.emplace(keyOf(p), p);
        if (parentOf(p) == p) break;
    }
}

bool SimFiles::folderExists(const std::string& path) const {
    const auto n = normalize(path);
    return n && state_->folders.count(keyOf(*n)) != 0;
}

void SimFiles::putFile(const std::string& path, std::string content) {
    const auto n = normalize(path);
    if (!n) return;
    createFolder(parentOf(*n));
    auto& file = state_->files[keyOf(*n)];
    file.path = *n;
    *file.content = std::move(content);
}

bool SimFiles::removeFile(const std::string& path) {
    const auto n = normalize(path);
    if (!n) return false;
    auto it = state_->files.find(keyOf(*n));
    // An open file can't be deleted (sharing violation).
    if (it == state_->files.end() || it->second.writers > 0) return false;
    state_->files.erase(it);
    return true;
}

void SimFiles::setReadOnly(const std::string& path, bool readOnly) {
    const auto n = normalize(path);
    if (!n) return;
    const std::string key = keyOf(*n);
    if (auto it = state_->files.find(key); it != state_->files.end()) {
        it->second.readOnly = readOnly;
    } else if (readOnly) {
        state_->readOnlyFolders.insert(key);
    } else {
        state_->readOnlyFolders.erase(key);
    }
}

void SimFiles::setDiskFull(bool full) { state_->diskFull = full; }

std::vector<std::string> SimFiles::filesIn(const std::string& folder) const {
    std::vector<std::string> out;
    const auto n = normalize(folder);
    if (!n) return out;
    const std::string key = keyOf(*n);
    for (const auto& [k, file] : state_->files) {
        if (keyOf(parentOf(file.path)) == key) out.push_back(file.path);
    }
    return out;
}

int SimFiles::openFileCount() const { return state_->openFiles; }

}  // namespace tb::sim
