// Real input through SendInput, as a user's keyboard and mouse give it. The events travel
// through the system's queue: the caller lets them arrive (pumps its own windows, or waits for
// another process).
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace tb::test {

using Inputs = std::vector<INPUT>;

inline INPUT keyEvent(int vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(vk);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// A mouse event; with MOUSEEVENTF_MOVE it goes to `screen` as a real mouse's absolute move does.
inline INPUT mouseEvent(DWORD flags, POINT screen = {}, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_MOVE) {
        flags |= MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    return in;
}

// A key pressed and released, with the modifiers held around it.
inline Inputs keyPress(int vk, bool shift = false, bool ctrl = false) {
    Inputs in;
    if (ctrl) in.push_back(keyEvent(VK_CONTROL, false));
    if (shift) in.push_back(keyEvent(VK_SHIFT, false));
    in.push_back(keyEvent(vk, false));
    in.push_back(keyEvent(vk, true));
    if (shift) in.push_back(keyEvent(VK_SHIFT, true));
    if (ctrl) in.push_back(keyEvent(VK_CONTROL, true));
    return in;
}

inline Inputs typing(std::string_view text) {
    Inputs in;
    for (char c : text) {
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
            i.ki.dwFlags = KEYEVENTF_UNICODE | up;
            in.push_back(i);
        }
    }
    return in;
}

// The pointer moved to a screen point and the left button clicked there, once or quickly again.
inline Inputs leftClicks(POINT screen, int clicks = 1) {
    Inputs in{mouseEvent(MOUSEEVENTF_MOVE, screen)};
    for (int i = 0; i < clicks; ++i) {
        in.push_back(mouseEvent(MOUSEEVENTF_LEFTDOWN));
        in.push_back(mouseEvent(MOUSEEVENTF_LEFTUP));
    }
    return in;
}

// Sends the events, each on its own after `pauseMs` when one is given, as a hand makes them.
inline void sendInputs(Inputs in, DWORD pauseMs = 0) {
    if (pauseMs == 0) {
        SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        return;
    }
    for (INPUT& i : in) {
        SendInput(1, &i, sizeof i);
        Sleep(pauseMs);
    }
}

}  // namespace tb::test
