// The registry contracts run under Wine against the real registry, in a scratch key under
// HKCU that each host creates fresh and removes again, with files in a temp folder of its own.
#include <utility>
#include <vector>

#include "contract/RecordingRegistry.h"
#include "contract/RegistryContractHost.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"

// Last: the port headers name constants that <windows.h> defines as macros.
#include <windows.h>

namespace tb::test {

namespace {

constexpr char kScratchParent[] = "Software\\Oxalmo\\TunebalkTest";

class Win32RegistryHost : public RegistryContractHost {
public:
    Win32RegistryHost() {
        static int serial = 0;
        const std::string unique =
            std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        subKey_ = std::string(kScratchParent) + "\\" + unique;
        RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "tb-regtest-" + unique;
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    ~Win32RegistryHost() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
        // Only goes when no other run left anything in it.
        RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);
        for (const std::string& file : files_) DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    Registry& registry() override { return recorder_; }
    Desktop& desktop() override { return desktop_; }
    std::string filePath(const std::string& name) override {
        files_.push_back(folder_ + "\\" + name);
        return files_.back();
    }
    std::string scratchPath() override { return "HKCU\\" + subKey_; }
    std::size_t openKeyHandles() override { return recorder_.openHandles(); }
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
    win32::Win32Registry real_;
    RecordingRegistry recorder_{real_};
    win32::Win32Desktop desktop_;
    std::string subKey_;
    std::string folder_;
    std::vector<std::string> files_;
};

}  // namespace

std::unique_ptr<RegistryContractHost> makeRegistryContractHost() {
    return std::make_unique<Win32RegistryHost>();
}

}  // namespace tb::test
