// The contract suites' host on the simulated desktop.
#include "contract/ContractHost.h"
#include "platform/sim/SimDesktop.h"

namespace tb::test {
namespace {

class SimContractHost : public ContractHost {
public:
    Desktop& desktop() override { return desk_; }
    ProcessId selfProcessId() override { return desk_.selfProcessId(); }
    std::uint64_t placeBeforeUnreadable(std::string_view bytes) override {
        constexpr std::uint64_t kPage = sim::SimProcesses::kPageSize;
        // Each placement gets a fresh pair of pages: the bytes end where the guard page begins.
        const std::uint64_t guard = nextBase_ + kPage;
        nextBase_ += 4 * kPage;
        const std::uint64_t address = guard - bytes.size();
        desk_.processes().writeMemory(desk_.selfProcessId(), guard - kPage,
                                      std::string(kPage, 'x'));
        desk_.processes().writeMemory(desk_.selfProcessId(), address, bytes);
        desk_.processes().protectMemory(desk_.selfProcessId(), guard, kPage);
        return address;
    }
    std::string tempFolder() override { return "C:\\Temp"; }
    void holdKey(int virtualKey, bool down) override { desk_.setKeyDown(virtualKey, down); }

    void pressKey(int virtualKey, bool shift, bool ctrl) override {
        desk_.setKeyDown(sim::vk::VkShift, shift);
        desk_.setKeyDown(sim::vk::VkControl, ctrl);
        desk_.pressKey(virtualKey);
        desk_.setKeyDown(sim::vk::VkShift, false);
        desk_.setKeyDown(sim::vk::VkControl, false);
        desk_.doEvents();
    }
    void typeText(std::string_view text) override {
        desk_.typeText(text);
        desk_.doEvents();
    }
    void click(Point screen) override {
        desk_.mouse(screen, MouseAction::Down, mouse::Left);
        desk_.mouse(screen, MouseAction::Up, mouse::Left);
        desk_.doEvents();
    }

private:
    sim::SimDesktop desk_;
    std::uint64_t nextBase_ = 0x10000000;
};

}  // namespace

std::unique_ptr<ContractHost> makeContractHost() { return std::make_unique<SimContractHost>(); }

}  // namespace tb::test
