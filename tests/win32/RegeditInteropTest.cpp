// A file written by ExportToReg means the same to the system's own registry editor as to
// ImportFromReg: both imports must build the same tree. And where the dialect departs from the
// editor's (no escapes, no continuation lines), the import behaves as this program defines.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>

#include "contract/RecordingRegistry.h"
#include "platform/win32/Win32Registry.h"
#include "settings/clsRegistryAccess.h"
#include "support/FileDesktop.h"
#include "support/RegistryDump.h"

// Last: the port headers name constants that <windows.h> defines as macros.
#include <windows.h>

namespace tb::test {
namespace {

// Runs regedit.exe /S on a file and waits for it; false when it could not be started.
bool regeditImport(const std::string& file) {
    std::string command = "regedit.exe /S \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string tempFile(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "tb-interop-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The same file with every mention of one key replaced by another (the test's values never
// mention it).
std::string moved(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

class RegeditInterop : public ::testing::Test {
protected:
    void TearDown() override {
        deleteTree(registry, reg::HkeyCurrentUser, sub);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Oxalmo\\TunebalkInterop");
        for (const std::string& f : files) DeleteFileA(f.c_str());
    }
    std::string path(const std::string& relative) const { return "HKCU\\" + sub + "\\" + relative; }
    std::string file(const std::string& name) {
        files.push_back(tempFile(name));
        DeleteFileA(files.back().c_str());
        return files.back();
    }
    std::string dump(const std::string& relative) {
        return dumpTree(registry, reg::HkeyCurrentUser, sub + "\\" + relative, {true, true});
    }

    win32::Win32Registry registry;
    FileDesktop desktop{FileDesktop::Storage::Disk};
    clsRegistryAccess reg{registry, desktop};
    std::string sub = "Software\\Oxalmo\\TunebalkInterop\\" + std::to_string(GetCurrentProcessId());
    std::vector<std::string> files;
};

TEST_F(RegeditInterop, RegeditAndImportFromRegBuildTheSameTree) {
    std::string bytes300;
    for (int i = 0; i < 300; ++i) bytes300 += (i ? " " : "") + std::string(i % 2 ? "FF" : "00");
    reg.WriteString(path("Src"), "@", "top default");
    reg.WriteString(path("Src"), "text", "Tunebalk: \xE9\xE8 caf\xE9 / 100%");
    reg.WriteString(path("Src"), "empty", "");
    reg.WriteString(path("Src"), "spaces", "  two each side  ");
    reg.WriteDWORD(path("Src"), "zero", 0);
    reg.WriteDWORD(path("Src"), "minus one", -1);
    reg.WriteDWORD(path("Src"), "min", INT_MIN);
    reg.WriteDWORD(path("Src"), "max", INT_MAX);
    reg.WriteBinary(path("Src\\Bin"), "none", "");
    reg.WriteBinary(path("Src\\Bin"), "few", "00 01 7F 80 FE FF");
    reg.WriteBinary(path("Src\\Bin"), "many", bytes300);
    reg.WriteString(path("Src\\Bin\\Deeper\\Deepest"), "s", "bottom");
    reg.WriteDWORD(path("Src\\Bin\\Deeper"), "n", 26);
    reg.CreateKey(path("Src\\Empty"));
    reg.WriteString(path("Src\\Zed"), "@", "z default");

    const std::string exportFile = file("export.reg");
    ASSERT_EQ(reg.ExportToReg(path("Src"), exportFile, true), 1);
    const std::string text = *desktop.readFile(exportFile);
    const std::string viaRegedit = file("regedit.reg");
    const std::string viaOurs = file("ours.reg");
    writeFile(viaRegedit, moved(text, sub + "\\Src", sub + "\\ViaRegedit"));
    writeFile(viaOurs, moved(text, sub + "\\Src", sub + "\\ViaOurs"));

    ASSERT_TRUE(regeditImport(viaRegedit));
    ASSERT_EQ(reg.ImportFromReg(viaOurs), 1);
    const std::string source = dump("Src");
    EXPECT_NE(source.find("\"many\" type 3: 00 FF"), std::string::npos);
    EXPECT_EQ(dump("ViaRegedit"), source);
    EXPECT_EQ(dump("ViaOurs"), source);
}

TEST_F(RegeditInterop, TheDialectDepartsFromRegeditWhereItSaysSo) {
    const struct {
        const char* line;
        const char* name;
        std::string ours;     // dumped bytes of the value after ImportFromReg
        std::string regedit;  // and after regedit /S
    } cases[] = {
        // No escapes: a doubled backslash stays doubled.
        {"\"p\"=\"a\\\\b\"", "p", " 61 5C 5C 62 00", " 61 5C 62 00"},
        // No continuation lines: the backslash is a pair of no digits, the next line is lost.
        {"\"c\"=hex:01,\\\r\n  02", "c", " 01 00", " 01 02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string body = std::string("\r\n") + c.line + "\r\n";
        const std::string ours = file("ours-d.reg"), theirs = file("regedit-d.reg");
        writeFile(ours, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + sub + "\\Ours]" + body);
        writeFile(theirs, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + sub + "\\Regedit]" + body);
        ASSERT_EQ(reg.ImportFromReg(ours), 1);
        ASSERT_TRUE(regeditImport(theirs));
        const auto bytes = [&](const std::string& key) {
            const std::string d = dump(key);
            const std::size_t at = d.find(std::string("\"") + c.name + "\" type ");
            if (at == std::string::npos) return std::string("<none>");
            const std::size_t colon = d.find(':', at);
            return d.substr(colon + 1, d.find('\n', colon) - colon - 1);
        };
        EXPECT_EQ(bytes("Ours"), c.ours);
        EXPECT_EQ(bytes("Regedit"), c.regedit);
        DeleteFileA(ours.c_str());
        DeleteFileA(theirs.c_str());
    }
    // "@" with empty quotes: regedit stores an empty default, this import removes it.
    writeFile(file("at.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + sub + "\\At]\r\n@=\"\"\r\n");
    ASSERT_EQ(reg.ImportFromReg(files.back()), 1);
    EXPECT_TRUE(reg.KeyExists(path("At")));
    EXPECT_FALSE(reg.ValueExists(path("At"), ""));
    ASSERT_TRUE(regeditImport(files.back()));
    EXPECT_TRUE(reg.ValueExists(path("At"), ""));
}

}  // namespace
}  // namespace tb::test
