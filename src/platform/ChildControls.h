// What the Desktop port says about standard controls: child windows of Windows' own classes
// (buttons, check boxes, edit boxes, static texts and pictures, the tab control, the trackbar)
// on a top-level window, their styles, and the notifications they send. The parent reflects
// each notification to the control's ChildHandler, so a control handles its own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace tb {

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
constexpr std::uint32_t WsChild = 0x40000000;
constexpr std::uint32_t WsVisible = 0x10000000;
constexpr std::uint32_t WsDisabled = 0x08000000;
constexpr std::uint32_t WsClipSiblings = 0x04000000;
constexpr std::uint32_t WsGroup = 0x00020000;
constexpr std::uint32_t WsTabStop = 0x00010000;
}  // namespace ws

// Button styles (the low four bits are the kind).
namespace bs {
constexpr std::uint32_t BsPushButton = 0x0;
constexpr std::uint32_t BsDefPushButton = 0x1;
constexpr std::uint32_t BsCheckBox = 0x2;
constexpr std::uint32_t BsAutoCheckBox = 0x3;
constexpr std::uint32_t Bs3State = 0x5;
constexpr std::uint32_t BsAuto3State = 0x6;
constexpr std::uint32_t BsTypeMask = 0xF;
}  // namespace bs

// Edit and static styles.
namespace es {
constexpr std::uint32_t EsAutoHScroll = 0x0080;
constexpr std::uint32_t EsReadOnly = 0x0800;
}  // namespace es
namespace ss {
constexpr std::uint32_t SsLeft = 0x0000;
constexpr std::uint32_t SsBitmap = 0x000E;
constexpr std::uint32_t SsNoPrefix = 0x0080;  // "&" is shown, not taken for a mnemonic
}  // namespace ss

// Trackbar styles.
namespace tbs {
constexpr std::uint32_t TbsAutoTicks = 0x0001;
constexpr std::uint32_t TbsBoth = 0x0008;
constexpr std::uint32_t TbsNoTicks = 0x0010;
}  // namespace tbs

namespace wsex {
constexpr std::uint32_t WsExClientEdge = 0x00000200;
}

// Check states (BM_GETCHECK / BM_SETCHECK).
namespace bst {
constexpr int BstUnchecked = 0;
constexpr int BstChecked = 1;
constexpr int BstIndeterminate = 2;
}  // namespace bst

// Notification codes: WM_COMMAND's (buttons, edits), WM_NOTIFY's (tab control) and the
// requests of WM_HSCROLL (trackbar).
namespace bn {
constexpr int BnClicked = 0;
}
namespace en {
constexpr int EnSetFocus = 0x0100;
constexpr int EnKillFocus = 0x0200;
constexpr int EnChange = 0x0300;
constexpr int EnMaxText = 0x0501;
}  // namespace en
namespace tcn {
constexpr int TcnSelChange = -551;
constexpr int TcnSelChanging = -552;
}  // namespace tcn
namespace tbr {
constexpr int TbLineUp = 0;
constexpr int TbLineDown = 1;
constexpr int TbPageUp = 2;
constexpr int TbPageDown = 3;
constexpr int TbThumbPosition = 4;
constexpr int TbThumbTrack = 5;
constexpr int TbTop = 6;
constexpr int TbBottom = 7;
constexpr int TbEndTrack = 8;
}  // namespace tbr

// Dialog command ids: Esc sends IDCANCEL; Enter the default push button's id, else IDOK.
namespace dlg {
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
}  // namespace dlg

// System colours (GetSysColor).
namespace syscolor {
constexpr int ColorWindow = 5;
constexpr int ColorWindowText = 8;
constexpr int ColorBtnFace = 15;
}  // namespace syscolor

// Virtual-key codes of the keys a dialog and its controls react to.
namespace vkey {
constexpr int VkTab = 0x09;
constexpr int VkReturn = 0x0D;
constexpr int VkShift = 0x10;
constexpr int VkControl = 0x11;
constexpr int VkEscape = 0x1B;
constexpr int VkSpace = 0x20;
constexpr int VkPrior = 0x21;
constexpr int VkNext = 0x22;
constexpr int VkEnd = 0x23;
constexpr int VkHome = 0x24;
constexpr int VkLeft = 0x25;
constexpr int VkUp = 0x26;
constexpr int VkRight = 0x27;
constexpr int VkDown = 0x28;
constexpr int VkF5 = 0x74;
}  // namespace vkey

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
