// Times the registry-file code on a tree of 10,000 values (strings, binary and 32-bit numbers
// over 100 subkeys) under HKCU: ExportToReg, then ImportFromReg and the system's "regedit /S"
// on the same file, each into a fresh key, and checks that both imports built the same tree.
// Usage: regbench.exe [rounds]   (default 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"
#include "settings/clsRegistryAccess.h"
#include "support/Regedit.h"
#include "support/RegistryDump.h"

// Last: the port headers name constants that <windows.h> defines as macros.
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;
using tb::test::regeditImport;
constexpr char kBase[] = "Software\\Oxalmo\\TunebalkBench";

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// 100 subkeys of 100 values each: 34 strings, 33 binary values of 16 bytes, 33 numbers.
void buildTree(tb::Registry& registry) {
    for (int k = 0; k < 100; ++k) {
        tb::HKey key = 0;
        registry.createKey(tb::reg::HkeyCurrentUser,
                           std::string(kBase) + "\\Src\\Key" + std::to_string(1000 + k), key);
        for (int v = 0; v < 100; ++v) {
            const std::string name = "value" + std::to_string(v);
            std::string data;
            std::uint32_t type = tb::reg::RegSz;
            if (v % 3 == 0) {
                data = "Tunebalk string " + std::to_string(k * 100 + v) + " with some text";
            } else if (v % 3 == 1) {
                type = tb::reg::RegBinary;
                for (int b = 0; b < 16; ++b) data += static_cast<char>((k + v + b * 17) & 0xFF);
            } else {
                type = tb::reg::RegDword;
                const std::uint32_t n = static_cast<std::uint32_t>(k * 100000 + v) * 2654435761u;
                data.assign(reinterpret_cast<const char*>(&n), 4);
            }
            registry.setValueEx(key, name, type,
                                {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
        }
        registry.closeKey(key);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string moved(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    tb::win32::Win32Registry registry;
    tb::win32::Win32Desktop desktop;
    tb::clsRegistryAccess access(registry, desktop);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string exportFile = std::string(folder) + "tb-regbench-export.reg";
    const std::string oursFile = std::string(folder) + "tb-regbench-ours.reg";
    const std::string regeditFile = std::string(folder) + "tb-regbench-regedit.reg";

    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    buildTree(registry);
    const std::string base = std::string("HKCU\\") + kBase;
    std::printf("tree: 100 subkeys x 100 values (34 REG_SZ, 33 REG_BINARY, 33 REG_DWORD)\n");
    // What starting regedit costs on its own, to read its figures against.
    std::ofstream(regeditFile, std::ios::binary) << "REGEDIT4\r\n";
    auto started = Clock::now();
    regeditImport(regeditFile);
    std::printf("regedit /S of a file with only the header: %.0f ms\n", msSince(started));
    int failures = 0;
    std::vector<double> exports, imports, regedits;
    for (int round = 1; round <= rounds; ++round) {
        DeleteFileA(exportFile.c_str());
        auto start = Clock::now();
        const int exported = access.ExportToReg(base + "\\Src", exportFile, true);
        const double exportMs = msSince(start);
        const std::string text = *desktop.readFile(exportFile);
        std::ofstream(oursFile, std::ios::binary)
            << moved(text, std::string(kBase) + "\\Src", std::string(kBase) + "\\Ours");
        std::ofstream(regeditFile, std::ios::binary)
            << moved(text, std::string(kBase) + "\\Src", std::string(kBase) + "\\Regedit");

        start = Clock::now();
        const int imported = access.ImportFromReg(oursFile);
        const double importMs = msSince(start);
        start = Clock::now();
        const bool ran = regeditImport(regeditFile);
        const double regeditMs = msSince(start);

        const std::string source =
            tb::test::dumpTree(registry, tb::reg::HkeyCurrentUser, std::string(kBase) + "\\Src");
        const bool oursSame = tb::test::dumpTree(registry, tb::reg::HkeyCurrentUser,
                                                 std::string(kBase) + "\\Ours") == source;
        const bool regeditSame = tb::test::dumpTree(registry, tb::reg::HkeyCurrentUser,
                                                    std::string(kBase) + "\\Regedit") == source;
        std::printf(
            "round %d: ExportToReg %.0f ms (%zu bytes) | ImportFromReg %.0f ms | "
            "regedit /S %.0f ms | trees equal: ours %s, regedit %s\n",
            round, exportMs, text.size(), importMs, regeditMs, oursSame ? "yes" : "NO",
            regeditSame ? "yes" : "NO");
        exports.push_back(exportMs);
        imports.push_back(importMs);
        regedits.push_back(regeditMs);
        if (exported != 1 || imported != 1 || !ran || !oursSame || !regeditSame) ++failures;
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Ours").c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Regedit").c_str());
    }
    std::printf("median of %d: ExportToReg %.0f ms | ImportFromReg %.0f ms | regedit /S %.0f ms\n",
                rounds, median(exports), median(imports), median(regedits));
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    for (const std::string& f : {exportFile, oursFile, regeditFile}) DeleteFileA(f.c_str());
    return failures == 0 ? 0 : 1;
}
