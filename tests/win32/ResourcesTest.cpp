// What tunebalk.exe carries: its version information, its icon and its manifest, and what the
// manifest gives a program (this one is built with it).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tb::test {
namespace {

std::string besideMe(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of("\\/") + 1) + name;
}

TEST(Resources, TheExeCarriesVersionTwoStringTablesAndTheIcon) {
    const std::string exe = besideMe("tunebalk.exe");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << exe;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 4));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 4));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 2));
    for (const char* table : {"041304B0", "000004B0"}) {
        const auto value = [&](const char* name) {
            char* text = nullptr;
            UINT n = 0;
            const std::string key = std::string("\\StringFileInfo\\") + table + "\\" + name;
            return VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &n) &&
                           text
                       ? std::string(text)
                       : std::string("(none)");
        };
        EXPECT_EQ(value("ProductName"), "Tunebalk") << table;
        EXPECT_EQ(value("CompanyName"), "Oxalmo") << table;
        EXPECT_EQ(value("FileVersion"), "4.2.2") << table;
        EXPECT_EQ(value("ProductVersion"), "4.2.2") << table;
        EXPECT_NE(value("LegalCopyright"), "(none)") << table;
    }

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)), nullptr)
        << "the application icon (RT_GROUP_ICON)";
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
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
}

TEST(Resources, TheManifestSendsTheProgramToCommonControlsSix) {
    // This program carries the same manifest: its activation context redirects comctl32.dll to
    // the side-by-side assembly of version 6 (Wine's comctl32 says 5 whichever it is, so its
    // own version tells nothing).
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &data));
}

}  // namespace
}  // namespace tb::test
