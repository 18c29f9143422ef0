// The standard controls of the Desktop port over the real ones: children of Windows' own
// classes, subclassed so that their focus changes and their wish for keys reach the port, and
// the parent's reflection of their notifications to their ChildHandler.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/Desktop.h"

namespace tb::win32 {

// CreateWindowEx of a standard control as a child of `parent`; null on failure.
HWND createChildControl(HWND parent, const ChildSpec& childSpec, ChildHandler* handler);
// The handler of a control made by createChildControl; nullptr for any other window.
ChildHandler* childHandlerOf(HWND child);
// A parent's WM_COMMAND, WM_NOTIFY, WM_HSCROLL or WM_VSCROLL from one of our controls, handed
// to the control's handler; nullopt when the message is none of those.
std::optional<LRESULT> reflectToChild(UINT msg, WPARAM w, LPARAM l);
// A dialog's WM_CTLCOLORSTATIC / WM_CTLCOLORBTN for a static or a button that lies on its tab
// control: the tab's own look as the background, so that no face-coloured box stands on a
// tab body of another colour.
std::optional<LRESULT> backgroundOnTab(HWND dialog, UINT msg, WPARAM w, LPARAM l);
// A dialog's keys: Ctrl+Tab and Ctrl+Shift+Tab switch the tab control's tabs, the rest goes
// through IsDialogMessage. True when the message was used up.
bool dialogMessage(HWND dialog, MSG& msg);
// The picture of a static control: transparent pixels take the face colour.
bool setStaticPicture(HWND control, const Image& picture);
// An icon of the picture; null when it is empty. The caller destroys it.
HICON iconFromImage(const Image& picture);

}  // namespace tb::win32
