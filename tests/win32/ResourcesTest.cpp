// What tunebalk.exe carries: its version information, its icon and its manifest, and what the
// manifest gives a program (this one is built with it).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tb::test {
namespace {

TEST(Resources, TheExeCarriesItsVersionIconAndACommonControlsSixManifest) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path);
    exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "tunebalk.exe";
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &handle));
    ASSERT_FALSE(info.empty()) << exe;
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT n = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &n));
    EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
              (std::vector<DWORD>{MAKELONG(2, 4), MAKELONG(0, 2), MAKELONG(2, 4), MAKELONG(0, 2)}));
    const auto value = [&](const std::string& key) {
        char* text = nullptr;
        return VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &n) && text
                   ? std::string(text)
                   : std::string("(none)");
    };
    for (const std::string table : {"041304B0", "000004B0"}) {
        const std::string at = "\\StringFileInfo\\" + table + "\\";
        EXPECT_EQ(value(at + "ProductName"), "Tunebalk") << table;
        EXPECT_EQ(value(at + "CompanyName"), "Oxalmo") << table;
        EXPECT_EQ(value(at + "FileVersion") + value(at + "ProductVersion"), "4.2.24.2.2") << table;
        EXPECT_NE(value(at + "LegalCopyright"), "(none)") << table;
    }

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr);
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    FreeLibrary(module);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    // The bar scales itself: per-monitor v2, with per-monitor for Windows 8.1.
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
    // This program carries the same manifest: its activation context sends comctl32.dll to the
    // side-by-side assembly of version 6 (Wine's comctl32 says 5 whichever it is).
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &data));
}

}  // namespace
}  // namespace tb::test
