// The registry contracts run under Wine against the real registry, in a scratch key under
// HKCU that each host creates fresh and removes again.
#include <utility>

#include "contract/RecordingRegistry.h"
#include "contract/RegistryContractHost.h"
#include "platform/win32/Win32Registry.h"
#include "support/FileDesktop.h"

// Last: the port headers name constants that <windows.h> defines as macros.
#include <windows.h>

namespace tb::test {

namespace {

constexpr char kScratchParent[] = "Software\\Oxalmo\\TunebalkTest";

class Win32RegistryHost : public RegistryContractHost {
public:
    Win32RegistryHost() {
        static int serial = 0;
        subKey_ = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++serial);
        deleteTree(real_, reg::HkeyCurrentUser, subKey_);
    }
    ~Win32RegistryHost() override {
        deleteTree(real_, reg::HkeyCurrentUser, subKey_);
        // Only goes when no other run left anything in it.
        RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);
    }

    Registry& registry() override { return recorder_; }
    Desktop& desktop() override { return desktop_; }
    std::string scratchPath() override { return "HKCU\\" + subKey_; }
    std::size_t openKeyHandles() override { return recorder_.openHandles(); }
    std::vector<std::string> takeCalls() override { return std::exchange(recorder_.calls, {}); }
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
    FileDesktop desktop_;
    std::string subKey_;
};

}  // namespace

std::unique_ptr<RegistryContractHost> makeRegistryContractHost() {
    return std::make_unique<Win32RegistryHost>();
}

}  // namespace tb::test
