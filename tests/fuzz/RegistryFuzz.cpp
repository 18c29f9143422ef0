// Feeds arbitrary bytes to the registry code that reads text: ImportFromReg (against the
// simulated registry), the hex conversions and ParseKeyPath. The first byte picks the target.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"
#include "settings/clsRegistryAccess.h"

namespace {

using tb::clsRegistryAccess;
using tb::sim::SimRegistry;
namespace reg = tb::reg;

void fail(const char* what, int line) {
    std::fprintf(stderr, "RegistryFuzz.cpp:%d: failed: %s\n", line, what);
    std::abort();
}
#define require(condition) ((condition) ? void() : fail(#condition, __LINE__))

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

// The text as the import reads names in it: quotes dropped, letter case ignored.
std::string lower(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"') continue;
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return out;
}

bool names(const std::string& lowered, const Root& root) {
    return lowered.find(root.longName) != std::string::npos ||
           lowered.find(root.shortName) != std::string::npos;
}

// A registry with something in every root, to notice writes where the input never pointed.
void seed(SimRegistry& sim) {
    for (const Root& root : kRoots) {
        sim.setRawValue(root.handle, "Seed\\Sub", "v", reg::RegDword, std::string(4, '\1'));
    }
}

// Whatever the file, the import ends, closes every key and touches only roots the file names;
// what it built exports and imports again.
void fuzzImport(const std::string& content) {
    SimRegistry sim;
    seed(sim);
    std::string before[std::size(kRoots)];
    for (std::size_t i = 0; i < std::size(kRoots); ++i) before[i] = sim.dump(kRoots[i].handle);
    tb::sim::SimDesktop desktop;
    desktop.files().putFile("C:\\Temp\\in.reg", content);
    clsRegistryAccess access(sim, desktop);
    const std::int32_t result = access.ImportFromReg("C:\\Temp\\in.reg");
    require(result == 0 || result == 1);
    require(sim.openHandleCount() == 0);
    const std::string lowered = lower(content);
    for (std::size_t i = 0; i < std::size(kRoots); ++i) {
        if (!names(lowered, kRoots[i])) require(sim.dump(kRoots[i].handle) == before[i]);
    }
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
        require(hex == clsRegistryAccess::BinToStr(clsRegistryAccess::StrToBin(compact)));
        std::string upper = compact;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
        }
        require(hex == "" || hex.substr(1) == [&] {
            std::string spaced;
            for (std::size_t i = 0; i < upper.size(); i += 2) {
                spaced += (i ? " " : "") + upper.substr(i, 2);
            }
            return spaced;
        }());
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
    seed(sim);
    std::string before[std::size(kRoots)];
    for (std::size_t i = 0; i < std::size(kRoots); ++i) before[i] = sim.dump(kRoots[i].handle);
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
    for (std::size_t i = 0; i < std::size(kRoots); ++i) {
        if (kRoots[i].handle != root) require(sim.dump(kRoots[i].handle) == before[i]);
    }
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
