// The registry contracts run natively against the simulated registry.
#include <utility>

#include "contract/RecordingRegistry.h"
#include "contract/RegistryContractHost.h"
#include "platform/sim/SimRegistry.h"
#include "support/FileDesktop.h"

namespace tb::test {

namespace {

class SimRegistryHost : public RegistryContractHost {
public:
    Registry& registry() override { return recorder_; }
    Desktop& desktop() override { return desktop_; }
    std::string scratchPath() override { return "HKCU\\Software\\Oxalmo\\TunebalkTest"; }
    // The simulation's own count: it is the thing under test here.
    std::size_t openKeyHandles() override { return sim_.openHandleCount(); }
    std::vector<std::string> takeCalls() override { return std::exchange(recorder_.calls, {}); }
    void storeUnterminatedString(const std::string& subKeyOfHkcu, const std::string& name,
                                 const std::string& bytes) override {
        sim_.setRawValue(reg::HkeyCurrentUser, subKeyOfHkcu, name, reg::RegSz, bytes);
    }

private:
    sim::SimRegistry sim_;
    RecordingRegistry recorder_{sim_};
    FileDesktop desktop_;
};

}  // namespace

std::unique_ptr<RegistryContractHost> makeRegistryContractHost() {
    return std::make_unique<SimRegistryHost>();
}

}  // namespace tb::test
