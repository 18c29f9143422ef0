// The settings window of the real tunebalk.exe, worked with real input (SendInput) and checked
// in the real registry and on the bar's window.
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

void input(DWORD type, WORD vk, DWORD flags, POINT at = {}) {
    INPUT in{};
    in.type = type;
    if (type == INPUT_KEYBOARD) in.ki = {vk, 0, flags, 0, 0};
    if (type == INPUT_MOUSE) {
        in.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        in.mi.dwFlags = flags;
    }
    SendInput(1, &in, sizeof in);
    Sleep(100);
}

// A move, then a press and a release a moment later, as a hand makes them.
void click(POINT at) {
    input(INPUT_MOUSE, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at);
    input(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTDOWN);
    input(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTUP);
}
void click(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
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
    RECT r{};
    for (bool save : {false, true}) {
        // The bar slides into view under the pointer; its gear button opens the window.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, 0);
        ASSERT_TRUE(waitUntil([&] { return GetWindowRect(bar, &r) && r.top == 0; }, 10000));
        click({r.left + (3280 + 157) / 15, r.top + (1080 + 165) / 15});
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
        input(INPUT_KEYBOARD, VK_END, 0);
        input(INPUT_KEYBOARD, VK_END, KEYEVENTF_KEYUP);
        EXPECT_TRUE(waitUntil([&] { return alpha(bar) == 76; }, 5000)) << "70 % at once";
        if (save) {
            const HWND keyBox = child(dialog, WC_EDITA, 2);
            for (DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)})
                for (WORD vk : {VK_CONTROL, VK_TAB}) input(INPUT_KEYBOARD, vk, up);
            click(keyBox);
            input(INPUT_KEYBOARD, VK_F5, 0);
            EXPECT_TRUE(waitUntil([&] { return text(keyBox) == "F5"; }, 5000)) << text(keyBox);
            input(INPUT_KEYBOARD, VK_F5, KEYEVENTF_KEYUP);
        }
        click(child(dialog, WC_BUTTONA, 0, save ? "Opslaan" : "Annuleren"));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5000));
        EXPECT_EQ(alpha(bar), save ? 76 : 255);
        EXPECT_TRUE(waitUntil(
            [&] { return GetWindowRect(bar, &r) && r.right - r.left == (save ? 271 : 542); },
            5000));
        for (auto [name, value] :
             {std::pair{"verbergplaylist", 1}, {"toets3", 116}, {"actief", 1}, {"trans", 70}})
            EXPECT_EQ(stored(name), save ? DWORD(value) : 0xDEAD) << name;
    }
}

}  // namespace
}  // namespace tb::e2e
