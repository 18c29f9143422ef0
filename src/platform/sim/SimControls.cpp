// The simulated standard controls: buttons and check boxes, edit boxes, statics, the tab control
// and the trackbar as children of a window, their state and the keyboard focus, and the
// notifications each sends, as Windows (comctl32 6) sends them. Input: SimControlsInput.cpp.
#include <algorithm>
#include <cstdlib>

#include "platform/sim/SimControlKinds.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {

using namespace controls;

Hwnd SimDesktop::rootOf(Hwnd hwnd) const {
    const SimWindow* w = windows_.find(hwnd);
    while (w && w->isChild()) {
        hwnd = w->parent;
        w = windows_.find(hwnd);
    }
    return w ? hwnd : 0;
}

bool SimDesktop::shownAndEnabled(const SimWindow& win) const {
    for (const SimWindow* w = &win; w; w = windows_.find(w->parent)) {
        if (!w->visible || !w->enabled) return false;
        if (!w->isChild()) return true;
    }
    return false;
}

Hwnd SimDesktop::createChild(Hwnd parent, const ChildSpec& childSpec, ChildHandler* handler) {
    const SimWindow* p = windows_.find(parent);
    if (!p || childSpec.className.empty()) return 0;
    auto win = std::make_unique<SimWindow>();
    win->hwnd = nextHwnd_;
    nextHwnd_ += 4;
    win->pid = p->pid;
    win->parent = parent;
    win->className = childSpec.className;
    win->caption = childSpec.text;
    win->bounds = childSpec.bounds;
    win->style = childSpec.style | ws::WsChild;
    win->exStyle = childSpec.exStyle;
    win->id = childSpec.id;
    win->visible = (childSpec.style & ws::WsVisible) != 0;
    win->enabled = (childSpec.style & ws::WsDisabled) == 0;
    win->wantAllKeys = childSpec.wantAllKeys;
    win->childHandler = handler;
    win->popup = true;
    const Hwnd hwnd = windows_.addChild(std::move(win)).hwnd;
    if (SimWindow* r = windows_.find(rootOf(hwnd))) r->dirty = true;
    return hwnd;
}

bool SimDesktop::setWindowText(Hwnd hwnd, std::string_view text) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    win->caption = std::string(text);
    win->dirty = true;
    // A single-line edit box reports every change of its text, the program's own too.
    if (kindOf(*win) == Kind::Edit) notifyCommand(hwnd, en::EnChange);
    return true;
}

bool SimDesktop::setWindowIcon(Hwnd hwnd, const Image& smallIcon) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    win->icon = smallIcon;
    return true;
}

bool SimDesktop::setWindowTimer(Hwnd hwnd, TimerId id, std::uint32_t intervalMs,
                                std::function<void()> onTick) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || win->pid != actingPid_ || win->destroying) return false;
    if (auto it = win->timers.find(id); it != win->timers.end()) clock_.stop(it->second);
    win->timers[id] = clock_.start(intervalMs, std::move(onTick), actingPid_);
    return true;
}

bool SimDesktop::killWindowTimer(Hwnd hwnd, TimerId id) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    auto it = win->timers.find(id);
    if (it == win->timers.end()) return false;
    clock_.stop(it->second);
    win->timers.erase(it);
    return true;
}

Color SimDesktop::sysColor(int index) {
    // Windows' standard scheme, as the canvas paints it.
    switch (index) {
        case tb::syscolor::ColorWindow:
            return syscolor::kWindow;
        case tb::syscolor::ColorWindowText:
            return rgb(0, 0, 0);
        default:
            return syscolor::k3DFace;
    }
}

bool SimDesktop::enableWindow(Hwnd hwnd, bool enable) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    win->enabled = enable;
    if (!enable && focus_ == hwnd) changeFocus(win->isChild() ? rootOf(hwnd) : 0);
    return true;
}

bool SimDesktop::isWindowEnabled(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win && win->enabled;
}

Hwnd SimDesktop::focus() { return windows_.find(focus_) ? focus_ : 0; }

bool SimDesktop::setFocus(Hwnd hwnd) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !win->enabled) return false;
    const Hwnd root = rootOf(hwnd);
    if (foreground_ != root) {
        foreground_ = root;
        windows_.bringToTop(root);
    }
    changeFocus(hwnd);
    return true;
}

void SimDesktop::changeFocus(Hwnd to) {
    const Hwnd from = focus_;
    if (from == to) return;
    focus_ = to;
    if (SimWindow* old = windows_.find(from); old && old->isChild()) {
        if (ChildHandler* h = old->childHandler) h->onFocus(false);
        if (kindOf(*old) == Kind::Edit) notifyCommand(from, en::EnKillFocus);
    }
    if (focus_ != to) return;  // a handler moved it on
    if (SimWindow* now = windows_.find(to); now && now->isChild()) {
        if (SimWindow* root = windows_.find(rootOf(to)); root && root->dialog) {
            root->savedFocus = to;
        }
        if (ChildHandler* h = now->childHandler) h->onFocus(true);
        if (kindOf(*now) == Kind::Edit) notifyCommand(to, en::EnSetFocus);
    }
}

std::vector<Hwnd> SimDesktop::tabStops(Hwnd dialog) const {
    std::vector<Hwnd> out;
    const SimWindow* d = windows_.find(dialog);
    if (!d) return out;
    for (Hwnd c : d->children) {
        const SimWindow* w = windows_.find(c);
        if (w && (w->style & ws::WsTabStop) && shownAndEnabled(*w)) out.push_back(c);
    }
    return out;
}

void SimDesktop::restoreDialogFocus(Hwnd dialog) {
    SimWindow* d = windows_.find(dialog);
    if (!d) return;
    const SimWindow* saved = windows_.find(d->savedFocus);
    if (saved && saved->parent == dialog && shownAndEnabled(*saved)) {
        changeFocus(d->savedFocus);
        return;
    }
    const auto stops = tabStops(dialog);
    changeFocus(stops.empty() ? dialog : stops.front());
}

void SimDesktop::notifyCommand(Hwnd child, int code) {
    if (const SimWindow* w = windows_.find(child)) {
        if (ChildHandler* h = w->childHandler) h->onCommand(code);
    }
}

bool SimDesktop::notifyTabs(Hwnd tab, int code) {
    const SimWindow* w = windows_.find(tab);
    ChildHandler* h = w ? w->childHandler : nullptr;
    return h ? h->onNotify(code) : false;
}

void SimDesktop::notifyScroll(Hwnd trackbar, int request) {
    if (const SimWindow* w = windows_.find(trackbar)) {
        if (ChildHandler* h = w->childHandler) h->onScroll(request);
    }
}

bool SimDesktop::setFont(Hwnd hwnd, const FontSpec& font) {
    SimWindow* win = windows_.find(hwnd);
    if (!win) return false;
    win->font = font;
    return true;
}

int SimDesktop::checkState(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win && isCheckBox(*win) ? win->check : 0;
}

bool SimDesktop::setCheckState(Hwnd hwnd, int state) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || !isCheckBox(*win) || state < 0 || state > 2) return false;
    const std::uint32_t t = buttonType(*win);
    const bool threeState = t == bs::Bs3State || t == bs::BsAuto3State;
    win->check = threeState ? state : std::min(state, 1);
    return true;
}

bool SimDesktop::setTextLimit(Hwnd hwnd, int maxChars) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Edit) return false;
    // 0 means as much as the control can hold.
    win->textLimit = maxChars <= 0 ? 0x7FFFFFFE : maxChars;
    return true;
}

bool SimDesktop::setTrackbarRange(Hwnd hwnd, int min, int max) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Trackbar) return false;
    win->rangeMin = min;
    win->rangeMax = max;
    win->pos = std::clamp(win->pos, min, std::max(min, max));
    return true;
}

std::optional<std::pair<int, int>> SimDesktop::trackbarRange(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Trackbar) return std::nullopt;
    return std::pair{win->rangeMin, win->rangeMax};
}

bool SimDesktop::setTrackbarPos(Hwnd hwnd, int pos) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Trackbar) return false;
    win->pos = std::clamp(pos, win->rangeMin, std::max(win->rangeMin, win->rangeMax));
    return true;
}

int SimDesktop::trackbarPos(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win && kindOf(*win) == Kind::Trackbar ? win->pos : 0;
}

bool SimDesktop::insertTab(Hwnd hwnd, int index, std::string_view text) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Tab || index < 0) return false;
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(index), win->tabs.size());
    win->tabs.insert(win->tabs.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
    // The first tab is selected as it arrives; later ones leave the selection on its item.
    if (win->tabSel < 0) {
        win->tabSel = 0;
    } else if (static_cast<int>(at) <= win->tabSel) {
        ++win->tabSel;
    }
    return true;
}

int SimDesktop::tabCount(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win && kindOf(*win) == Kind::Tab ? static_cast<int>(win->tabs.size()) : 0;
}

int SimDesktop::tabSelection(Hwnd hwnd) {
    const SimWindow* win = windows_.find(hwnd);
    return win && kindOf(*win) == Kind::Tab ? win->tabSel : -1;
}

bool SimDesktop::setTabSelection(Hwnd hwnd, int index) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Tab || index < 0 ||
        index >= static_cast<int>(win->tabs.size())) {
        return false;
    }
    win->tabSel = index;
    return true;
}

std::optional<Rect> SimDesktop::tabItemRect(Hwnd hwnd, int index) {
    const SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Tab || index < 0 ||
        index >= static_cast<int>(win->tabs.size())) {
        return std::nullopt;
    }
    const FontSpec font = win->font.value_or(dialogFont(windowDpi(hwnd)));
    int left = 2;
    for (int i = 0;; ++i) {
        const int w =
            SimCanvas::measure(win->tabs[static_cast<std::size_t>(i)], font).cx + kTabPadding;
        if (i == index) return Rect{left, 2, left + w, 2 + kTabRowHeight};
        left += w;
    }
}

bool SimDesktop::setPicture(Hwnd hwnd, const Image& picture) {
    SimWindow* win = windows_.find(hwnd);
    if (!win || kindOf(*win) != Kind::Static) return false;
    win->picture = picture;
    return true;
}

}  // namespace tb::sim
