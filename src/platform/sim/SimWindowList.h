// The simulated top-level windows and their z-order: the topmost band first, and within a band
// the newest (or most recently raised) window on top.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"
#include "platform/sim/SimCanvas.h"

namespace tb::sim {

struct SimWindow {
    Hwnd hwnd = 0;
    ProcessId pid = 0;
    std::string className;
    std::string caption;
    Rect bounds;
    std::uint32_t exStyle = 0;  // WS_EX_TOPMOST mirrors the band the window is in
    int dpi = 96;               // a top-level window's; children go by their root's
    bool visible = false;
    bool minimized = false;
    bool popup = true;
    WindowHandler* handler = nullptr;
    MessageHook* hook = nullptr;
    std::optional<std::uint8_t> layeredAlpha;
    bool destroying = false;
    // Hung until this tick (a window that answers nothing for a while).
    std::uint64_t hungUntilMs = 0;
    std::uint64_t hungSinceMs = 0;
    // Painting: the whole client area is due (dirty), or a part of it.
    bool dirty = false;
    Rect dirtyPart;
    bool paintDue() const { return dirty || !dirtyPart.empty(); }
    Image frame;
    std::vector<TextRecord> texts;
    Rect paintedPart;
    int paintCount = 0;

    // Children and dialogs.
    Hwnd parent = 0;             // 0 for a top-level window
    std::vector<Hwnd> children;  // in creation order: the tab order, the first on top
    int id = 0;
    std::uint32_t style = 0;
    ChildHandler* childHandler = nullptr;
    bool enabled = true;
    bool dialog = false;
    bool wantAllKeys = false;
    Hwnd savedFocus = 0;  // a dialog's control that had the focus when it was deactivated
    Image icon;
    std::optional<FontSpec> font;
    // The standard controls' state.
    int check = 0;
    int textLimit = 0x7FFE;
    int rangeMin = 0, rangeMax = 100, pos = 0;
    std::vector<std::string> tabs;
    int tabSel = -1;
    Image picture;
    // The window's own timers: its id -> the clock's.
    std::map<TimerId, TimerId> timers;

    bool topmost() const { return (exStyle & wsex::WsExTopmost) != 0; }
    bool isChild() const { return parent != 0; }
};

class SimWindowList {
public:
    SimWindow& add(std::unique_ptr<SimWindow> window);
    // A child: kept apart from the z-order of top-level windows, last among its siblings.
    SimWindow& addChild(std::unique_ptr<SimWindow> window);
    // Takes the window out of the list and the z-order.
    std::unique_ptr<SimWindow> remove(Hwnd hwnd);
    SimWindow* find(Hwnd hwnd) const;

    // Top-level windows of the class (any class when empty; compared without regard to case,
    // as Windows compares class names) after `after` in z-order; 0 when none, or when `after`
    // is not a window.
    Hwnd findNext(Hwnd after, std::string_view className) const;
    // The top window containing the point among visible, not minimised windows.
    Hwnd fromPoint(Point screen) const;
    // Moves the window to the top of its band (after a band change too).
    void bringToTop(Hwnd hwnd);
    void setTopmost(Hwnd hwnd, bool topmost);

    // Handles in z-order, topmost first.
    const std::vector<Hwnd>& zOrder() const { return zOrder_; }
    std::vector<Hwnd> windowsOf(ProcessId pid) const;

private:
    std::map<Hwnd, std::unique_ptr<SimWindow>> windows_;
    std::vector<Hwnd> zOrder_;
};

}  // namespace tb::sim
