// Feeds arbitrary bytes to the registry code that reads text: ImportFromReg (against the
// simulated registry), the hex conversions and ParseKeyPath. The first byte picks the target.
#include <array>
#include <cctype>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"
#include "settings/clsRegistryAccess.h"

namespace {

using tb::clsRegistryAccess;
using tb::sim::SimRegistry;
namespace reg = tb::reg;

struct Root {
    tb::HKey handle;
    const char* longName;
    const char* shortName;
};
constexpr Root kRoots[] = {
    {reg::HkeyClassesRoot, "hkey_classes_root", "hkcr"},
    {reg::HkeyCurrentUser, "hkey_current_user", "hkcu"},
    {reg::HkeyLocalMachine, "hkey_local_machine", "hklm"},
    {reg::HkeyUsers, "hkey_users", "hkus"},
    {reg::HkeyCurrentConfig, "hkey_current_config", "hkcc"},
    {reg::HkeyDynData, "hkey_dyn_data", "hkdd"},
};
using Dumps = std::array<std::string, std::size(kRoots)>;

// A registry with something in every root, to notice writes where the input never pointed.
Dumps seed(SimRegistry& sim) {
    for (const Root& root : kRoots)
        sim.setRawValue(root.handle, "Seed\\Sub", "v", reg::RegDword, std::string(4, '\1'));
    Dumps dumps;
    for (std::size_t i = 0; i < std::size(kRoots); ++i) dumps[i] = sim.dump(kRoots[i].handle);
    return dumps;
}

// Every root that `touchable` does not allow still holds what seed() put there.
template <class F>
void requireUntouched(SimRegistry& sim, const Dumps& before, F touchable) {
    for (std::size_t i = 0; i < std::size(kRoots); ++i)
        if (!touchable(kRoots[i])) require(sim.dump(kRoots[i].handle) == before[i]);
}

// Whatever the file, the import ends, closes every key and touches only roots the file names
// (quotes dropped, letter case ignored, as the import reads names); what it built exports and
// imports again.
void fuzzImport(const std::string& content) {
    SimRegistry sim;
    const Dumps before = seed(sim);
    tb::sim::SimDesktop desktop;
    desktop.files().putFile("C:\\Temp\\in.reg", content);
    clsRegistryAccess access(sim, desktop);
    const std::int32_t result = access.ImportFromReg("C:\\Temp\\in.reg");
    require(result == 0 || result == 1);
    require(sim.openHandleCount() == 0);
    std::string lowered;
    for (char c : content)
        if (c != '"') lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    requireUntouched(sim, before, [&](const Root& root) {
        return lowered.find(root.longName) != std::string::npos ||
               lowered.find(root.shortName) != std::string::npos;
    });
    // Every fourth input also round-trips what it built: the export is slower than the import.
    if (content.size() % 4 == 0) {
        const std::int32_t exported = access.ExportToReg("HKCU", "C:\\Temp\\out.reg", true);
        require(exported == 0 || exported == 1);
        // A refused export leaves no file; a written one imports.
        require(access.ImportFromReg("C:\\Temp\\out.reg") == exported);
        require(sim.openHandleCount() == 0);
    }
}

void fuzzHex(const std::string& text) {
    std::string compact = text;
    const std::string bytes = clsRegistryAccess::StrToBin(compact);
    require(compact.find(' ') == std::string::npos);
    require(bytes.size() == (compact.size() + 1) / 2);
    const std::string hex = clsRegistryAccess::BinToStr(bytes);
    require(hex.size() == 3 * bytes.size());
    require(clsRegistryAccess::isBinValid(hex) == !bytes.empty());
    std::string hexCopy = hex;
    require(clsRegistryAccess::StrToBin(hexCopy) == bytes);
    if (clsRegistryAccess::isBinValid(text) && compact.size() % 2 == 0) {
        // Valid pairs come back as they were written, in capitals, each after a space.
        std::string spaced;
        for (std::size_t i = 0; i < compact.size(); i += 2) spaced += " " + compact.substr(i, 2);
        for (char& c : spaced) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        require(hex == spaced);
    }
}

// A path is split at its first backslash; every operation on it closes what it opens and
// writes only under the root it names.
void fuzzPath(const std::string& path) {
    std::string subKey;
    const tb::HKey root = clsRegistryAccess::ParseKeyPath(path, subKey);
    const std::size_t slash = path.find('\\');
    require(subKey == (slash == std::string::npos ? std::string() : path.substr(slash + 1)));
    require(root == 0 || reg::isPredefinedKey(root));
    std::string again;
    require(clsRegistryAccess::ParseKeyPath(clsRegistryAccess::LongRootPath(path), again) == root);
    require(again == subKey);

    SimRegistry sim;
    const Dumps before = seed(sim);
    tb::sim::SimDesktop desktop;
    clsRegistryAccess access(sim, desktop);
    access.WriteString(path, "s", "x");
    access.WriteBinary(path, "b", "01");
    access.ReadString(path, "s");
    std::vector<std::string> keys;
    access.EnumKeys(path, keys);
    access.ExportToReg(path, "C:\\Temp\\out.reg", true);
    access.KillValue(path, "s");
    access.KillKey(path);
    require(sim.openHandleCount() == 0);
    requireUntouched(sim, before, [&](const Root& r) { return r.handle == root; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
            fuzzImport(input);
            break;
        case 1:
            fuzzImport("REGEDIT4\r\n" + input);
            break;
        case 2:
            fuzzHex(input);
            break;
        default:
            fuzzPath(input);
            break;
    }
    return 0;
}
