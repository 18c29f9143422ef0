// The setup program and its uninstaller from build/dist (scripts/package.sh), run silently in
// this prefix: what they leave on disk and in the registry, and how they close a running bar.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "E2eTools.h"

namespace tb::e2e {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tunebalk";
constexpr const char* kSettingsKey = "Software\\Oxalmo\\Tunebalk";
constexpr const char* kMarker = "PackageTestMarker";

fs::path shellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// A value of HKCU as text (a DWORD in decimal); nullopt when it is missing.
std::optional<std::string> userValue(const char* key, const char* name) {
    char data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(data));
    return std::string(data);
}

// Runs a program of the package and waits for it; gives its exit code.
DWORD runToEnd(const fs::path& exe, const std::string& args) {
    Process p(exe, args);
    return p.waitExit(60000) ? p.exitCode() : STILL_ACTIVE;
}

// Marks the user's settings key, and afterwards puts the prefix back as it was: what a failed
// run left installed would start with every later Wine session of the prefix.
class PrefixGuard {
public:
    explicit PrefixGuard(fs::path folder) : folder_(std::move(folder)) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, &disposition);
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        RegSetValueExA(key, kMarker, 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
        RegCloseKey(key);
    }
    ~PrefixGuard() {
        if (fs::exists(folder_ / "uninstall.exe")) {
            runToEnd(folder_ / "uninstall.exe", "/S");
            waitUntil([&] { return !fs::exists(folder_); }, 30000);
        }
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tunebalk");
        if (createdKey_) {
            RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kMarker);
        }
    }

private:
    fs::path folder_;
    bool createdKey_ = false;
};

TEST(Package, SilentSetupInstallsUpgradesAndUninstallsKeepingTheSettings) {
    const fs::path setup =
        binFolder().parent_path().parent_path() / "dist" / ("Tunebalk-" TB_VERSION "-setup.exe");
    if (!fs::exists(setup)) GTEST_SKIP() << "no " << setup.string() << ": run scripts/package.sh";
    const fs::path folder = shellFolder(CSIDL_LOCAL_APPDATA) / "Programs" / "Tunebalk";
    const fs::path exe = folder / "tunebalk.exe", uninstaller = folder / "uninstall.exe";
    const fs::path shortcut = shellFolder(CSIDL_PROGRAMS) / "Tunebalk.lnk";
    const std::string quotedExe = "\"" + exe.string() + "\"";
    PrefixGuard guard(folder);

    ASSERT_EQ(runToEnd(setup, "/S"), 0u);
    EXPECT_TRUE(fs::exists(exe));
    EXPECT_TRUE(fs::exists(shortcut));
    EXPECT_EQ(userValue(kRunKey, "Tunebalk"), quotedExe);
    const struct {
        const char* name;
        std::string value;
    } registration[] = {
        {"DisplayName", "Tunebalk"},
        {"DisplayVersion", TB_VERSION},
        {"Publisher", "Oxalmo"},
        {"DisplayIcon", exe.string() + ",0"},
        {"UninstallString", "\"" + uninstaller.string() + "\""},
        {"QuietUninstallString", "\"" + uninstaller.string() + "\" /S"},
        {"InstallLocation", folder.string()},
        {"NoModify", "1"},
        {"NoRepair", "1"},
    };
    for (const auto& [name, value] : registration)
        EXPECT_EQ(userValue(kUninstallKey, name), value) << name;
    EXPECT_GE(std::stoul(userValue(kUninstallKey, "EstimatedSize").value_or("0")),
              fs::file_size(exe) / 1024);

    // An upgrade over a running bar closes it by its window, as a user would, and keeps the
    // start with Windows.
    Process bar(exe, "");
    ASSERT_NE(bar.waitWindow("TunebalkBar", true), nullptr);
    ASSERT_EQ(runToEnd(setup, "/S"), 0u);
    ASSERT_TRUE(bar.waitExit(0));
    EXPECT_EQ(bar.exitCode(), 0u);
    EXPECT_EQ(userValue(kRunKey, "Tunebalk"), quotedExe);

    Process again(exe, "");
    ASSERT_NE(again.waitWindow("TunebalkBar", true), nullptr);
    // The uninstaller runs on from a copy of itself and ends when the folder is gone.
    ASSERT_EQ(runToEnd(uninstaller, "/S"), 0u);
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(folder); }, 30000));
    EXPECT_TRUE(again.waitExit(0));
    EXPECT_EQ(again.exitCode(), 0u);
    EXPECT_FALSE(fs::exists(shortcut));
    EXPECT_EQ(userValue(kRunKey, "Tunebalk"), std::nullopt);
    EXPECT_EQ(userValue(kUninstallKey, "DisplayName"), std::nullopt);
    EXPECT_TRUE(userValue(kSettingsKey, kMarker).has_value());
}

}  // namespace
}  // namespace tb::e2e
