// The contract suites run the same tests against the simulated desktop (natively) and the
// real one (under Wine). Each test executable supplies the host.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Desktop.h"

namespace tb::test {

class ContractHost {
public:
    virtual ~ContractHost() = default;
    virtual Desktop& desktop() = 0;
    // This process's id, for the memory-read contracts.
    virtual ProcessId selfProcessId() = 0;
    // Places `bytes` in this process's memory so that the byte after them is the first byte
    // of an unreadable page; returns the address of the first byte.
    virtual std::uint64_t placeBeforeUnreadable(std::string_view bytes) = 0;
    // An existing, writable, empty folder for the file contracts (no trailing separator); the
    // host removes it afterwards. Empty when the host has none: the file contracts then skip.
    virtual std::string tempFolder() { return {}; }
    // Holds or lets go a key for this thread, as the input state that messages are read with.
    virtual void holdKey(int virtualKey, bool down) = 0;
};

// A fresh host for one test.
std::unique_ptr<ContractHost> makeContractHost();

}  // namespace tb::test
