// What the Desktop port says about standard controls: child windows of Windows' own classes
// (buttons, check boxes, edit boxes, static texts and pictures, the tab control, the trackbar)
// on a top-level window, their styles, and the notifications they send. The parent reflects
// each notification to the control's ChildHandler, so a control handles its own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace tb {

#include "platform/WindowsNamesBegin.h"

// Window classes of the standard controls (compared without regard to case).
namespace ctlclass {
constexpr char kButton[] = "Button";
constexpr char kEdit[] = "Edit";
constexpr char kStatic[] = "Static";
constexpr char kTabControl[] = "SysTabControl32";
constexpr char kTrackbar[] = "msctls_trackbar32";
}  // namespace ctlclass

// Window styles of children.
namespace ws {
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
}  // namespace ws

// Button styles (the low four bits are the kind).
namespace bs {
constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr std::uint32_t BS_CHECKBOX = 0x2;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr std::uint32_t BS_3STATE = 0x5;
constexpr std::uint32_t BS_AUTO3STATE = 0x6;
constexpr std::uint32_t BS_TYPEMASK = 0xF;
}  // namespace bs

// Edit and static styles.
namespace es {
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_READONLY = 0x0800;
}  // namespace es
namespace ss {
constexpr std::uint32_t SS_LEFT = 0x0000;
constexpr std::uint32_t SS_BITMAP = 0x000E;
constexpr std::uint32_t SS_NOPREFIX = 0x0080;  // "&" is shown, not taken for a mnemonic
}  // namespace ss

// Trackbar styles.
namespace tbs {
constexpr std::uint32_t TBS_AUTOTICKS = 0x0001;
constexpr std::uint32_t TBS_BOTH = 0x0008;
constexpr std::uint32_t TBS_NOTICKS = 0x0010;
}  // namespace tbs

namespace wsex {
constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
}

// Check states (BM_GETCHECK / BM_SETCHECK).
namespace bst {
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;
}  // namespace bst

// Notification codes: WM_COMMAND's (buttons, edits), WM_NOTIFY's (tab control) and the
// requests of WM_HSCROLL (trackbar).
namespace bn {
constexpr int BN_CLICKED = 0;
}
namespace en {
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;
constexpr int EN_MAXTEXT = 0x0501;
}  // namespace en
namespace tcn {
constexpr int TCN_SELCHANGE = -551;
constexpr int TCN_SELCHANGING = -552;
}  // namespace tcn
namespace tbr {
constexpr int TB_LINEUP = 0;
constexpr int TB_LINEDOWN = 1;
constexpr int TB_PAGEUP = 2;
constexpr int TB_PAGEDOWN = 3;
constexpr int TB_THUMBPOSITION = 4;
constexpr int TB_THUMBTRACK = 5;
constexpr int TB_TOP = 6;
constexpr int TB_BOTTOM = 7;
constexpr int TB_ENDTRACK = 8;
}  // namespace tbr

// Dialog command ids: Esc sends IDCANCEL; Enter the default push button's id, else IDOK.
namespace dlg {
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
}  // namespace dlg

// System colours (GetSysColor).
namespace syscolor {
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
}  // namespace syscolor

// Virtual-key codes of the keys a dialog and its controls react to.
namespace vkey {
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F5 = 0x74;
}  // namespace vkey

#include "platform/WindowsNamesEnd.h"

struct ChildSpec {
    std::string className;  // one of ctlclass
    std::string text;
    Rect bounds;              // in the parent's client pixels
    std::uint32_t style = 0;  // WS_CHILD is implied
    std::uint32_t exStyle = 0;
    int id = 0;
    // The control takes every key, Enter and Esc included (WM_GETDLGCODE's DLGC_WANTALLKEYS),
    // except Tab and Shift+Tab, which still leave it: a box that captures key presses.
    bool wantAllKeys = false;
};

// What a child control's object receives: its own notifications, reflected by the parent, and
// its focus changes.
class ChildHandler {
public:
    virtual ~ChildHandler() = default;
    // WM_COMMAND's notification code (bn::, en::).
    virtual void onCommand(int code) { (void)code; }
    // WM_NOTIFY's code (tcn::). For TCN_SELCHANGING, true refuses the change.
    virtual bool onNotify(int code) {
        (void)code;
        return false;
    }
    // WM_HSCROLL's request (tbr::).
    virtual void onScroll(int request) { (void)request; }
    virtual void onFocus(bool gained) { (void)gained; }
    // The window is gone (its parent was destroyed, or it was); no more calls follow.
    virtual void onDestroy() {}
};

}  // namespace tb
