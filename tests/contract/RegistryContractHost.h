// The registry contract suites run the same tests against the simulated registry (natively) and
// the real one (under Wine). Each test executable supplies the host.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/Desktop.h"
#include "platform/Registry.h"

namespace tb::test {

class RegistryContractHost {
public:
    virtual ~RegistryContractHost() = default;
    virtual Registry& registry() = 0;
    // Files for the export and import: the simulated desktop or the real one.
    virtual Desktop& desktop() = 0;
    // An absolute path for a file of that name in a folder of the host's own, removed with it.
    virtual std::string filePath(const std::string& name) = 0;
    // A fresh key path under HKCU ("HKCU\Software\..."), absent at first; the host deletes its
    // whole tree when it goes away.
    virtual std::string scratchPath() = 0;
    // Key handles opened through registry() and not closed yet.
    virtual std::size_t openKeyHandles() = 0;
    // Stores RegSz data exactly as given, without the NUL a normal write adds behind it.
    virtual void storeUnterminatedString(const std::string& subKeyOfHkcu, const std::string& name,
                                         const std::string& bytes) = 0;
};

std::unique_ptr<RegistryContractHost> makeRegistryContractHost();

}  // namespace tb::test
