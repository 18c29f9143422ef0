// The registry contracts run under Wine against the real registry, in a scratch key under
// HKCU that each host creates fresh and removes again, with files in a temp folder of its own.
#include <set>
#include <vector>

#include "Win32TestSupport.h"
#include "contract/RegistryContractHost.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"

namespace tb::test {

namespace {

// The real registry, counting the key handles opened through it and not closed yet: it has no
// such count of its own.
class CountingRegistry : public win32::Win32Registry {
public:
    std::size_t openHandles() const { return open_.size(); }
    RegResult openKey(HKey key, const std::string& subKey, HKey& result) override {
        return opened(key, Win32Registry::openKey(key, subKey, result), &result);
    }
    RegResult openKeyEx(HKey key, const std::string& subKey, std::uint32_t access,
                        HKey& result) override {
        return opened(key, Win32Registry::openKeyEx(key, subKey, access, result), &result);
    }
    RegResult createKey(HKey key, const std::string& subKey, HKey& result) override {
        return opened(key, Win32Registry::createKey(key, subKey, result), &result);
    }
    RegResult closeKey(HKey key) override {
        open_.erase(key);
        return Win32Registry::closeKey(key);
    }

private:
    // A predefined root, or the very handle passed in (RegOpenKeyA with an empty subkey), is no
    // new handle to account for. Read through a pointer: the open has written it by then.
    RegResult opened(HKey from, RegResult r, const HKey* result) {
        if (r == reg::ErrorSuccess && *result != from && !reg::isPredefinedKey(*result))
            open_.insert(*result);
        return r;
    }
    std::set<HKey> open_;
};

constexpr char kScratchParent[] = "Software\\Oxalmo\\TunebalkTest";

class Win32RegistryHost : public RegistryContractHost {
public:
    Win32RegistryHost() {
        static int serial = 0;
        subKey_ = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++serial);
        RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    ~Win32RegistryHost() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
        // Only goes when no other run left anything in it.
        RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);
        for (const std::string& file : files_) DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    Registry& registry() override { return registry_; }
    Desktop& desktop() override { return desktop_; }
    std::string filePath(const std::string& name) override {
        files_.push_back(folder_ + "\\" + name);
        return files_.back();
    }
    std::string scratchPath() override { return "HKCU\\" + subKey_; }
    std::size_t openKeyHandles() override { return registry_.openHandles(); }
    void storeUnterminatedString(const std::string& subKeyOfHkcu, const std::string& name,
                                 const std::string& bytes) override {
        HKEY key = nullptr;
        if (RegCreateKeyA(HKEY_CURRENT_USER, subKeyOfHkcu.c_str(), &key) != ERROR_SUCCESS) return;
        // A byte other than NUL right behind the data keeps Windows from counting a terminator.
        const std::string buffer = bytes + 'X';
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

private:
    CountingRegistry registry_;
    win32::Win32Desktop desktop_;
    std::string subKey_;
    std::string folder_ = tempPath("regtest");
    std::vector<std::string> files_;
};

}  // namespace

std::unique_ptr<RegistryContractHost> makeRegistryContractHost() {
    return std::make_unique<Win32RegistryHost>();
}

}  // namespace tb::test
