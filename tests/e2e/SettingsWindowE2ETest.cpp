// The settings window of the real tunebalk.exe, worked with real input (SendInput) and checked
// in the real registry and on the bar's window.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <optional>
#include <string>
#include <vector>

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

// The dialog's children of a class, in the order Tab walks them.
std::vector<HWND> children(HWND dialog, const char* cls) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(c, name, sizeof name);
        if (lstrcmpiA(name, cls) == 0) out.push_back(c);
    }
    return out;
}

HWND child(HWND dialog, const char* cls, const std::string& caption) {
    for (HWND c : children(dialog, cls))
        if (text(c) == caption) return c;
    return nullptr;
}

std::optional<DWORD> stored(const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size))
        return std::nullopt;
    return value;
}

void key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// A move, then a press and a release a moment later, as a hand makes them.
void clickAt(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(p.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        Sleep(100);
        in.mi = MOUSEINPUT{};
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof in);
    }
    Sleep(100);
}

void click(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

BYTE alpha(HWND hwnd) {
    BYTE a = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(hwnd, nullptr, &a, &flags) ? a : 0;
}

class SettingsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
        bar = run.bar();
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override {
        run.close();
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    // Slides the bar into view and clicks its settings button.
    HWND open() {
        RECT r{};
        GetWindowRect(bar, &r);
        SetCursorPos((r.left + r.right) / 2, 0);
        if (!waitUntil([&] { return GetWindowRect(bar, &r) && r.top == 0; }, 10000)) return {};
        clickAt({r.left + (3280 + 157) / 15, r.top + (1080 + 165) / 15});
        HWND dialog = nullptr;
        waitUntil(
            [&] {
                return (dialog = findProcessWindow(run.process().pid(), "TunebalkInstellingen",
                                                   true)) != nullptr;
            },
            10000);
        return dialog;
    }
    // The trackbar to its end with the keyboard, as a user may: the bar follows at once.
    void transparencyToTheEnd(HWND dialog) {
        click(children(dialog, TRACKBAR_CLASSA).at(0));
        key(VK_END, true);
        key(VK_END, false);
        EXPECT_TRUE(waitUntil([&] { return alpha(bar) == 76; }, 5000)) << int(alpha(bar));
        EXPECT_NE(child(dialog, WC_STATICA, "70%"), nullptr);
    }

    TunebalkRun run{"settings", ""};
    HWND bar = nullptr;
};

TEST_F(SettingsWindow, AnnulerenWritesNothingAndOpslaanStoresWhatTheUserSet) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text(dialog), "Instellingen");
    HWND tabs = children(dialog, WC_TABCONTROLA).at(0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_NE(child(dialog, WC_STATICA, "Versie: 4.2.2"), nullptr);
    click(child(dialog, WC_BUTTONA, "Playlist verbergen"));
    transparencyToTheEnd(dialog);
    click(child(dialog, WC_BUTTONA, "Annuleren"));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_TRUE(waitUntil([&] { return alpha(bar) == 255; }, 5000)) << "the preview went";
    EXPECT_FALSE(stored("verbergplaylist"));
    EXPECT_FALSE(stored("actief"));

    dialog = open();
    ASSERT_NE(dialog, nullptr);
    click(child(dialog, WC_BUTTONA, "Playlist verbergen"));
    transparencyToTheEnd(dialog);
    key(VK_CONTROL, true);
    key(VK_TAB, true);
    key(VK_TAB, false);
    key(VK_CONTROL, false);
    const HWND keyBox = children(dialog, WC_EDITA).at(2);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(keyBox); }, 5000));
    click(keyBox);
    key(VK_F5, true);
    EXPECT_TRUE(waitUntil([&] { return text(keyBox) == "F5"; }, 5000)) << text(keyBox);
    key(VK_F5, false);
    click(child(dialog, WC_BUTTONA, "Opslaan"));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_EQ(stored("verbergplaylist"), 1u);
    EXPECT_EQ(stored("toets3"), 116u);
    EXPECT_EQ(stored("actief"), 1u);
    EXPECT_EQ(stored("trans"), 70u);
    RECT r{};
    EXPECT_TRUE(waitUntil([&] { return GetWindowRect(bar, &r) && r.right - r.left == 271; }, 5000))
        << r.right - r.left;
    EXPECT_EQ(alpha(bar), 76);
}

}  // namespace
}  // namespace tb::e2e
