#include "platform/win32/Win32Controls.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/Win32Handles.h"

namespace tb::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x54420001;
// Where a control keeps its binding (MinGW's import library lacks GetWindowSubclass).
constexpr char kBindingProp[] = "TunebalkChildBinding";

struct ChildBinding {
    ChildHandler* handler = nullptr;
    bool wantAllKeys = false;
    HBITMAP picture = nullptr;    // a static's picture, ours to delete
    HICON pictureIcon = nullptr;  // or that picture with transparent pixels
    // A tab control's look, for the controls that lie on it to paint their background with.
    HBITMAP body = nullptr;
    HBRUSH bodyBrush = nullptr;
    SIZE bodySize{};
    bool erasing = false;  // a tab control's own erase, clipped as its paint is
};

ChildBinding* bindingOf(HWND hwnd);

// Enter and Esc in a box that takes all keys belong to the box: without this a single-line
// edit inside a dialog hands Enter to the default button itself.
bool dialogKeyOfBox(UINT msg, WPARAM w) {
    return (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR) &&
           (w == VK_RETURN || w == VK_ESCAPE);
}

// The controls on a tab control come after it in the tab order, so below it in the z-order,
// where its WS_CLIPSIBLINGS does not reach: left alone it paints over the frames its edit boxes
// drew when they were shown. Its paint (and erase) leaves out every visible sibling below it.
void paintTabAroundSiblings(HWND tab, ChildBinding& b) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tab, &ps);
    if (dc) {
        for (HWND s = GetWindow(tab, GW_HWNDNEXT); s; s = GetWindow(s, GW_HWNDNEXT)) {
            RECT r{};
            if (!IsWindowVisible(s) || !GetWindowRect(s, &r)) continue;
            MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&r), 2);
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
        b.erasing = true;
        DefSubclassProc(tab, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        b.erasing = false;
        DefSubclassProc(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    EndPaint(tab, &ps);
}

bool isTabControl(HWND hwnd) {
    return lstrcmpiA(HwndGetClassName(hwnd).c_str(), WC_TABCONTROLA) == 0;
}

LRESULT CALLBACK childProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
    auto* b = reinterpret_cast<ChildBinding*>(ref);
    switch (msg) {
        case WM_PAINT:
            if (w != 0 || !isTabControl(hwnd)) return DefSubclassProc(hwnd, msg, w, l);
            paintTabAroundSiblings(hwnd, *b);
            return 0;
        case WM_ERASEBKGND:
            // Erased in its paint, around the controls on it.
            if (!b->erasing && isTabControl(hwnd)) return 1;
            return DefSubclassProc(hwnd, msg, w, l);
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(hwnd, msg, w, l);
            if (!b->wantAllKeys) return code;
            // Tab and Shift+Tab still leave the box (IsDialogMessage passes the key as wParam).
            const auto* m = reinterpret_cast<const MSG*>(l);
            if (m && m->wParam == VK_TAB) return code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
            return code | DLGC_WANTALLKEYS;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            LRESULT r = DefSubclassProc(hwnd, msg, w, l);
            if (b->handler) b->handler->onFocus(msg == WM_SETFOCUS);
            return r;
        }
        case WM_NCDESTROY: {
            RemoveWindowSubclass(hwnd, &childProc, kSubclassId);
            RemovePropA(hwnd, kBindingProp);
            ChildHandler* handler = b->handler;
            if (b->picture) DeleteObject(b->picture);
            if (b->pictureIcon) DestroyIcon(b->pictureIcon);
            if (b->bodyBrush) DeleteObject(b->bodyBrush);
            if (b->body) DeleteObject(b->body);
            delete b;
            LRESULT r = DefSubclassProc(hwnd, msg, w, l);
            if (handler) handler->onDestroy();
            return r;
        }
        default:
            if (b->wantAllKeys && dialogKeyOfBox(msg, w)) return 0;
            return DefSubclassProc(hwnd, msg, w, l);
    }
}

ChildBinding* bindingOf(HWND hwnd) {
    if (!hwnd) return nullptr;
    // Only a window of this process can carry a binding of ours.
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(hwnd, &pid) || pid != GetCurrentProcessId()) return nullptr;
    return static_cast<ChildBinding*>(GetPropA(hwnd, kBindingProp));
}

// The first tab control of the dialog that takes input.
HWND activeTabControl(HWND dialog) {
    for (HWND tab = FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr); tab;
         tab = FindWindowExA(dialog, tab, WC_TABCONTROLA, nullptr)) {
        if (IsWindowVisible(tab) && IsWindowEnabled(tab)) return tab;
    }
    return nullptr;
}

// As a property sheet switches its pages: asks TCN_SELCHANGING, then selects and tells
// TCN_SELCHANGE.
void cycleTabs(HWND dialog, bool backwards) {
    HWND tab = activeTabControl(dialog);
    if (!tab) return;
    const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    if (n <= 0) return;
    int current = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    if (current < 0) current = 0;
    const int next = (current + (backwards ? n - 1 : 1)) % n;
    NMHDR nm{};
    nm.hwndFrom = tab;
    nm.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tab));
    nm.code = TCN_SELCHANGING;
    if (SendMessageA(dialog, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm))) return;
    SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    nm.code = TCN_SELCHANGE;
    SendMessageA(dialog, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
    // The focus must not stay on a control of the page that went away.
    HWND focused = GetFocus();
    if (IsWindow(tab) && (!focused || !IsWindowVisible(focused))) SetFocus(tab);
}

// A brush of what the tab control paints (in a visual style its body is not the dialog's face
// colour), renewed when the control's size changed.
HBRUSH tabBodyBrush(HWND tab, ChildBinding& b) {
    RECT rc{};
    GetClientRect(tab, &rc);
    const SIZE size{rc.right, rc.bottom};
    if (b.bodyBrush && size.cx == b.bodySize.cx && size.cy == b.bodySize.cy) return b.bodyBrush;
    if (b.bodyBrush) DeleteObject(b.bodyBrush);
    if (b.body) DeleteObject(b.body);
    b.bodyBrush = nullptr;
    b.body = nullptr;
    HDC screen = GetDC(tab);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, size.cx, size.cy);
    if (mem && bmp) {
        HGDIOBJ old = SelectObject(mem, bmp);
        SendMessageA(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem),
                     PRF_CLIENT | PRF_ERASEBKGND);
        SelectObject(mem, old);
        b.body = bmp;
        b.bodyBrush = CreatePatternBrush(bmp);
        b.bodySize = size;
    } else if (bmp) {
        DeleteObject(bmp);
    }
    if (mem) DeleteDC(mem);
    ReleaseDC(tab, screen);
    return b.bodyBrush;
}

// A 24-bit picture (a 32-bit one would be copied by the control, and the copy leak).
HBITMAP bitmapFromImage(const Image& img, COLORREF face) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return bmp;
    const std::size_t stride = (static_cast<std::size_t>(img.width) * 3 + 3) & ~std::size_t{3};
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < img.height; ++y) {
        std::uint8_t* row = out + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < img.width; ++x) {
            Color c = img.at(x, y);
            if (img.hasTransparency && c == img.transparentColor) c = face;
            row[x * 3 + 0] = static_cast<std::uint8_t>(colorB(c));
            row[x * 3 + 1] = static_cast<std::uint8_t>(colorG(c));
            row[x * 3 + 2] = static_cast<std::uint8_t>(colorR(c));
        }
    }
    return bmp;
}

}  // namespace

HWND createChildControl(HWND parent, const ChildSpec& childSpec, ChildHandler* handler) {
    const DWORD style = childSpec.style | WS_CHILD;
    HWND hwnd =
        CreateWindowExA(childSpec.exStyle, childSpec.className.c_str(), childSpec.text.c_str(),
                        style, childSpec.bounds.left, childSpec.bounds.top,
                        childSpec.bounds.width(), childSpec.bounds.height(), parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(childSpec.id)),
                        GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return nullptr;
    auto* binding = new ChildBinding{handler, childSpec.wantAllKeys};
    if (!SetPropA(hwnd, kBindingProp, binding) ||
        !SetWindowSubclass(hwnd, &childProc, kSubclassId, reinterpret_cast<DWORD_PTR>(binding))) {
        RemovePropA(hwnd, kBindingProp);
        delete binding;
        DestroyWindow(hwnd);
        return nullptr;
    }
    // A dialog learns its default button from the button itself only in a dialog template.
    if (lstrcmpiA(childSpec.className.c_str(), WC_BUTTONA) == 0 &&
        (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        SendMessageA(parent, DM_SETDEFID, static_cast<WPARAM>(childSpec.id), 0);
    }
    return hwnd;
}

ChildHandler* childHandlerOf(HWND child) {
    ChildBinding* b = bindingOf(child);
    return b ? b->handler : nullptr;
}

std::optional<LRESULT> reflectToChild(UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL: {
            ChildHandler* h = childHandlerOf(reinterpret_cast<HWND>(l));
            if (!h) return std::nullopt;
            if (msg == WM_COMMAND) {
                h->onCommand(HIWORD(w));
            } else {
                h->onScroll(LOWORD(w));
            }
            return 0;
        }
        case WM_NOTIFY: {
            const auto* nm = reinterpret_cast<const NMHDR*>(l);
            ChildHandler* h = nm ? childHandlerOf(nm->hwndFrom) : nullptr;
            if (!h) return std::nullopt;
            return h->onNotify(static_cast<int>(nm->code)) ? TRUE : FALSE;
        }
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> backgroundOnTab(HWND dialog, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return std::nullopt;
    auto* control = reinterpret_cast<HWND>(l);
    // A read-only edit box keeps the face colour that tells it is read-only.
    if (!control || lstrcmpiA(HwndGetClassName(control).c_str(), WC_EDITA) == 0) {
        return std::nullopt;
    }
    HWND tab = activeTabControl(dialog);
    ChildBinding* b = bindingOf(tab);
    if (!b || tab == control) return std::nullopt;
    RECT rc{}, tr{}, both{};
    GetWindowRect(control, &rc);
    GetWindowRect(tab, &tr);
    if (!IntersectRect(&both, &rc, &tr) || !EqualRect(&both, &rc)) return std::nullopt;
    HBRUSH brush = tabBodyBrush(tab, *b);
    if (!brush) return std::nullopt;
    auto* dc = reinterpret_cast<HDC>(w);
    SetBkMode(dc, TRANSPARENT);
    SetBrushOrgEx(dc, tr.left - rc.left, tr.top - rc.top, nullptr);
    return reinterpret_cast<LRESULT>(brush);
}

bool dialogMessage(HWND dialog, MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        cycleTabs(dialog, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageA(dialog, &msg) != FALSE;
}

bool setStaticPicture(HWND control, const Image& picture) {
    ChildBinding* b = bindingOf(control);
    if (!b || HwndGetClassName(control) != WC_STATICA) return false;
    // A picture with transparent pixels goes in as an icon, which the static draws over its own
    // background (on a tab control the tab's body, which is not the dialog's face colour).
    const bool keyed = picture.hasTransparency;
    HBITMAP bmp =
        picture.empty() || keyed ? nullptr : bitmapFromImage(picture, GetSysColor(COLOR_BTNFACE));
    HICON icon = keyed ? iconFromImage(picture) : nullptr;
    if (!picture.empty() && !bmp && !icon) return false;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    SetWindowLongA(control, GWL_STYLE, (style & ~SS_TYPEMASK) | (icon ? SS_ICON : SS_BITMAP));
    if (icon) {
        SendMessageA(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    } else {
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    }
    if (b->picture) DeleteObject(b->picture);
    if (b->pictureIcon) DestroyIcon(b->pictureIcon);
    b->picture = bmp;
    b->pictureIcon = icon;
    return true;
}

HICON iconFromImage(const Image& picture) {
    if (picture.empty()) return nullptr;
    // A 32-bit colour bitmap with alpha, and the mask for systems that draw without it.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = picture.width;
    bi.bmiHeader.biHeight = -picture.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const std::size_t maskStride = ((static_cast<std::size_t>(picture.width) + 15) / 16) * 2;
    std::vector<std::uint8_t> maskBits(maskStride * static_cast<std::size_t>(picture.height), 0);
    if (color && bits) {
        auto* px = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const Color c = picture.at(x, y);
                const bool clear = picture.hasTransparency && c == picture.transparentColor;
                px[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                   static_cast<std::size_t>(x)] =
                    clear ? 0u
                          : 0xFF000000u | (static_cast<std::uint32_t>(colorR(c)) << 16) |
                                (static_cast<std::uint32_t>(colorG(c)) << 8) |
                                static_cast<std::uint32_t>(colorB(c));
                if (clear) {
                    maskBits[maskStride * static_cast<std::size_t>(y) +
                             static_cast<std::size_t>(x / 8)] |=
                        static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
        }
    }
    HBITMAP mask = CreateBitmap(picture.width, picture.height, 1, 1, maskBits.data());
    HICON icon = nullptr;
    if (color && mask) {
        ICONINFO ii{};
        ii.fIcon = TRUE;
        ii.hbmColor = color;
        ii.hbmMask = mask;
        icon = CreateIconIndirect(&ii);
    }
    if (color) DeleteObject(color);
    if (mask) DeleteObject(mask);
    return icon;
}

}  // namespace tb::win32
