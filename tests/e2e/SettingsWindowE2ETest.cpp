// The settings window of the real tunebalk.exe, worked with real input and checked in the real
// registry and on the bar's window.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>

#include "E2eTools.h"

namespace tb::e2e {
namespace {

constexpr const char* kKey = "Software\\Oxalmo\\Tunebalk";

// WM_GETTEXT itself: GetWindowText does not ask another process's edit box for its text.
std::string text(HWND hwnd) {
    char buf[256] = {};
    SendMessageA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// The dialog's n-th child of a class (in the order Tab walks them), or the one with a caption.
HWND child(HWND dialog, const char* cls, int n, const std::string& caption = {}) {
    for (HWND c = FindWindowExA(dialog, nullptr, cls, nullptr); c;
         c = FindWindowExA(dialog, c, cls, nullptr))
        if (caption.empty() ? n-- == 0 : text(c) == caption) return c;
    return nullptr;
}

DWORD stored(const char* name) {
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size)
               ? 0xDEAD
               : value;
}

void click(HWND hwnd) {
    const RECT r = windowRect(hwnd);
    send(test::leftClicks({(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
}

int alpha(HWND hwnd) {
    BYTE a = 0;
    return GetLayeredWindowAttributes(hwnd, nullptr, &a, nullptr) ? a : -1;
}

// The bar's settings start and end empty, also when the test fails half-way.
struct NoSettings {
    NoSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
    ~NoSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
};

TEST(SettingsWindow, AnnulerenWritesNothingAndOpslaanStoresWhatTheUserSet) {
    const NoSettings none;
    TunebalkRun run("settings", "");
    const HWND bar = run.bar();
    ASSERT_NE(bar, nullptr);
    for (bool save : {false, true}) {
        // The bar slides into view under the pointer; its gear button opens the window.
        ASSERT_TRUE(slideIn(bar));
        clickOnBar(bar, 3280 + 157, 1080 + 165);
        HWND dialog = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                return dialog =
                           findProcessWindow(run.process().pid(), "TunebalkInstellingen", true);
            },
            10000));
        EXPECT_EQ(text(dialog), "Instellingen");  // with its four tabs and the version
        EXPECT_EQ(SendMessageA(child(dialog, WC_TABCONTROLA, 0), TCM_GETITEMCOUNT, 0, 0), 4);
        EXPECT_NE(child(dialog, WC_STATICA, 0, "Versie: 4.2.2"), nullptr);
        click(child(dialog, WC_BUTTONA, 0, "Playlist verbergen"));
        click(child(dialog, TRACKBAR_CLASSA, 0));
        send(test::keyPress(VK_END));
        EXPECT_TRUE(waitUntil([&] { return alpha(bar) == 76; }, 5000)) << "70 % at once";
        if (save) {
            const HWND keyBox = child(dialog, WC_EDITA, 2);
            send(test::keyPress(VK_TAB, false, true));  // to the "Sneltoetsen" tab
            click(keyBox);
            send({test::keyEvent(VK_F5, false)});
            EXPECT_TRUE(waitUntil([&] { return text(keyBox) == "F5"; }, 5000)) << text(keyBox);
            send({test::keyEvent(VK_F5, true)});
        }
        click(child(dialog, WC_BUTTONA, 0, save ? "Opslaan" : "Annuleren"));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5000));
        EXPECT_EQ(alpha(bar), save ? 76 : 255);
        EXPECT_TRUE(waitUntil(
            [&] { return windowRect(bar).right - windowRect(bar).left == (save ? 271 : 542); },
            5000));
        for (auto [name, value] :
             {std::pair{"verbergplaylist", 1}, {"toets3", 116}, {"actief", 1}, {"trans", 70}})
            EXPECT_EQ(stored(name), save ? DWORD(value) : 0xDEAD) << name;
    }
}

}  // namespace
}  // namespace tb::e2e
