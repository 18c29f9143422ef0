// The registry contracts run natively against the simulated registry and desktop.
#include "contract/RegistryContractHost.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"

namespace tb::test {

namespace {

class SimRegistryHost : public RegistryContractHost {
public:
    Registry& registry() override { return sim_; }
    Desktop& desktop() override { return desktop_; }
    std::string filePath(const std::string& name) override { return "C:\\Temp\\" + name; }
    std::string scratchPath() override { return "HKCU\\Software\\Oxalmo\\TunebalkTest"; }
    std::size_t openKeyHandles() override { return sim_.openHandleCount(); }
    void storeUnterminatedString(const std::string& subKeyOfHkcu, const std::string& name,
                                 const std::string& bytes) override {
        sim_.setRawValue(reg::HkeyCurrentUser, subKeyOfHkcu, name, reg::RegSz, bytes);
    }

private:
    sim::SimRegistry sim_;
    sim::SimDesktop desktop_;
};

}  // namespace

std::unique_ptr<RegistryContractHost> makeRegistryContractHost() {
    return std::make_unique<SimRegistryHost>();
}

}  // namespace tb::test
