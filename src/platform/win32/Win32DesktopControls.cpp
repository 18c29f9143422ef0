// The Desktop port's window extras and standard controls over the real API.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

namespace tb::win32 {

namespace {

bool hasClass(HWND hwnd, const char* cls) {
    return IsWindow(hwnd) && lstrcmpiA(HwndGetClassName(hwnd).c_str(), cls) == 0;
}

bool isCheckBox(HWND hwnd) {
    if (!hasClass(hwnd, WC_BUTTONA)) return false;
    switch (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool Win32Desktop::setWindowText(Hwnd hwnd, std::string_view text) {
    return HwndSetText(toHwnd(hwnd), text);
}

bool Win32Desktop::setWindowIcon(Hwnd hwnd, const Image& smallIcon) {
    Win32Window* w = Win32Window::from(toHwnd(hwnd));
    if (!w) return false;
    HICON icon = iconFromImage(smallIcon);
    if (!icon && !smallIcon.empty()) return false;
    w->setSmallIcon(toHwnd(hwnd), icon);
    return true;
}

bool Win32Desktop::setWindowTimer(Hwnd hwnd, TimerId id, std::uint32_t intervalMs,
                                  std::function<void()> onTick) {
    Win32Window* w = Win32Window::from(toHwnd(hwnd));
    return w && w->setTimer(toHwnd(hwnd), id, intervalMs, std::move(onTick));
}

bool Win32Desktop::killWindowTimer(Hwnd hwnd, TimerId id) {
    Win32Window* w = Win32Window::from(toHwnd(hwnd));
    return w && w->killTimer(toHwnd(hwnd), id);
}

Color Win32Desktop::sysColor(int index) { return static_cast<Color>(GetSysColor(index)); }

Hwnd Win32Desktop::createChild(Hwnd parent, const ChildSpec& childSpec, ChildHandler* handler) {
    // Only our windows reflect the notifications back to the controls.
    if (!Win32Window::from(toHwnd(parent))) return 0;
    return fromHwnd(createChildControl(toHwnd(parent), childSpec, handler));
}

bool Win32Desktop::enableWindow(Hwnd hwnd, bool enable) {
    if (!IsWindow(toHwnd(hwnd))) return false;
    EnableWindow(toHwnd(hwnd), enable ? TRUE : FALSE);
    return true;
}

bool Win32Desktop::isWindowEnabled(Hwnd hwnd) { return IsWindowEnabled(toHwnd(hwnd)) != FALSE; }

Hwnd Win32Desktop::focus() { return fromHwnd(GetFocus()); }

bool Win32Desktop::setFocus(Hwnd hwnd) {
    HWND h = toHwnd(hwnd);
    if (!IsWindow(h) || !IsWindowEnabled(h)) return false;
    // In a dialog the dialog moves the focus, so that a focused push button becomes the one
    // Enter presses, as when Tab brings the focus there.
    HWND root = GetAncestor(h, GA_ROOT);
    const Win32Window* w = Win32Window::from(root);
    if (w && w->isDialog() && root != h) {
        SendMessageA(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
    } else {
        SetFocus(h);
    }
    return GetFocus() == h;
}

FontSpec Win32Desktop::dialogFont(int dpi) {
    // Windows 10 (1607) gives the metrics of any density (in its wide form only); before, they
    // are the system density's and are scaled here.
    static const auto forDpi = systemFunction<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>(
        "user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    const bool atDpi =
        forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi));
    if (!atDpi && !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        return FontSpec{};
    const LOGFONTW& lf = ncm.lfMessageFont;
    FontSpec font;
    char face[LF_FACESIZE * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, lf.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
    font.face = face;
    font.heightPx = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (!atDpi) font.heightPx = MulDiv(font.heightPx, dpi, systemDpi());
    font.bold = lf.lfWeight >= FW_BOLD;
    return font;
}

bool Win32Desktop::setFont(Hwnd hwnd, const FontSpec& font) {
    if (!IsWindow(toHwnd(hwnd))) return false;
    HFONT f = GdiFontCache::shared().font(font);
    if (!f) return false;
    SendMessageA(toHwnd(hwnd), WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    return true;
}

int Win32Desktop::checkState(Hwnd hwnd) {
    if (!isCheckBox(toHwnd(hwnd))) return 0;
    return static_cast<int>(SendMessageA(toHwnd(hwnd), BM_GETCHECK, 0, 0));
}

bool Win32Desktop::setCheckState(Hwnd hwnd, int state) {
    // Windows would take any number and show it as checked; a state is 0, 1 or 2.
    if (state < 0 || state > 2 || !isCheckBox(toHwnd(hwnd))) return false;
    SendMessageA(toHwnd(hwnd), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    return true;
}

bool Win32Desktop::setTextLimit(Hwnd hwnd, int maxChars) {
    if (!hasClass(toHwnd(hwnd), WC_EDITA)) return false;
    SendMessageA(toHwnd(hwnd), EM_SETLIMITTEXT, static_cast<WPARAM>(maxChars < 0 ? 0 : maxChars),
                 0);
    return true;
}

bool Win32Desktop::setTrackbarRange(Hwnd hwnd, int min, int max) {
    if (!hasClass(toHwnd(hwnd), TRACKBAR_CLASSA)) return false;
    SendMessageA(toHwnd(hwnd), TBM_SETRANGEMIN, FALSE, min);
    SendMessageA(toHwnd(hwnd), TBM_SETRANGEMAX, TRUE, max);
    return true;
}

std::optional<std::pair<int, int>> Win32Desktop::trackbarRange(Hwnd hwnd) {
    if (!hasClass(toHwnd(hwnd), TRACKBAR_CLASSA)) return std::nullopt;
    return std::pair{static_cast<int>(SendMessageA(toHwnd(hwnd), TBM_GETRANGEMIN, 0, 0)),
                     static_cast<int>(SendMessageA(toHwnd(hwnd), TBM_GETRANGEMAX, 0, 0))};
}

bool Win32Desktop::setTrackbarPos(Hwnd hwnd, int pos) {
    if (!hasClass(toHwnd(hwnd), TRACKBAR_CLASSA)) return false;
    SendMessageA(toHwnd(hwnd), TBM_SETPOS, TRUE, pos);
    return true;
}

int Win32Desktop::trackbarPos(Hwnd hwnd) {
    if (!hasClass(toHwnd(hwnd), TRACKBAR_CLASSA)) return 0;
    return static_cast<int>(SendMessageA(toHwnd(hwnd), TBM_GETPOS, 0, 0));
}

bool Win32Desktop::insertTab(Hwnd hwnd, int index, std::string_view text) {
    if (!hasClass(toHwnd(hwnd), WC_TABCONTROLA) || index < 0) return false;
    std::string copy(text);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = copy.data();
    return SendMessageA(toHwnd(hwnd), TCM_INSERTITEMA, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&item)) >= 0;
}

int Win32Desktop::tabCount(Hwnd hwnd) {
    if (!hasClass(toHwnd(hwnd), WC_TABCONTROLA)) return 0;
    return static_cast<int>(SendMessageA(toHwnd(hwnd), TCM_GETITEMCOUNT, 0, 0));
}

int Win32Desktop::tabSelection(Hwnd hwnd) {
    if (!hasClass(toHwnd(hwnd), WC_TABCONTROLA)) return -1;
    return static_cast<int>(SendMessageA(toHwnd(hwnd), TCM_GETCURSEL, 0, 0));
}

bool Win32Desktop::setTabSelection(Hwnd hwnd, int index) {
    if (index < 0 || index >= tabCount(hwnd)) return false;
    SendMessageA(toHwnd(hwnd), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

std::optional<Rect> Win32Desktop::tabItemRect(Hwnd hwnd, int index) {
    if (index < 0 || index >= tabCount(hwnd)) return std::nullopt;
    RECT rc{};
    if (!SendMessageA(toHwnd(hwnd), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&rc))) {
        return std::nullopt;
    }
    return fromRECT(rc);
}

bool Win32Desktop::setPicture(Hwnd hwnd, const Image& picture) {
    return setStaticPicture(toHwnd(hwnd), picture);
}

}  // namespace tb::win32
