#include "platform/sim/SimWindowList.h"

#include <algorithm>

namespace tb::sim {
namespace {

bool sameClass(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

SimWindow& SimWindowList::add(std::unique_ptr<SimWindow> window) {
    const Hwnd hwnd = window->hwnd;
    SimWindow& w = *window;
    windows_[hwnd] = std::move(window);
    zOrder_.push_back(hwnd);
    bringToTop(hwnd);
    return w;
}

SimWindow& SimWindowList::addChild(std::unique_ptr<SimWindow> window) {
    const Hwnd hwnd = window->hwnd;
    SimWindow& w = *window;
    windows_[hwnd] = std::move(window);
    if (SimWindow* parent = find(w.parent)) parent->children.push_back(hwnd);
    return w;
}

std::unique_ptr<SimWindow> SimWindowList::remove(Hwnd hwnd) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return nullptr;
    auto window = std::move(it->second);
    if (SimWindow* parent = find(window->parent)) std::erase(parent->children, hwnd);
    windows_.erase(it);
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), hwnd), zOrder_.end());
    return window;
}

SimWindow* SimWindowList::find(Hwnd hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second.get();
}

Hwnd SimWindowList::findNext(Hwnd after, std::string_view className) const {
    auto it = zOrder_.begin();
    if (after != 0) {
        it = std::find(zOrder_.begin(), zOrder_.end(), after);
        if (it == zOrder_.end()) return 0;
        ++it;
    }
    for (; it != zOrder_.end(); ++it) {
        if (className.empty() || sameClass(find(*it)->className, className)) return *it;
    }
    return 0;
}

Hwnd SimWindowList::fromPoint(Point screen) const {
    // Top-level windows only: the desktop finds the child under the point.
    for (Hwnd hwnd : zOrder_) {
        const SimWindow* w = find(hwnd);
        if (w->visible && !w->minimized && w->bounds.contains(screen)) return hwnd;
    }
    return 0;
}

void SimWindowList::bringToTop(Hwnd hwnd) {
    SimWindow* w = find(hwnd);
    if (!w) return;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), hwnd), zOrder_.end());
    auto pos = zOrder_.begin();
    if (!w->topmost()) {
        pos = std::find_if(zOrder_.begin(), zOrder_.end(),
                           [this](Hwnd h) { return !find(h)->topmost(); });
    }
    zOrder_.insert(pos, hwnd);
}

void SimWindowList::setTopmost(Hwnd hwnd, bool topmost) {
    SimWindow* w = find(hwnd);
    // HWND_NOTOPMOST leaves a window that is not topmost where it is.
    if (!w || (!topmost && !w->topmost())) return;
    if (topmost) {
        w->exStyle |= wsex::WsExTopmost;
    } else {
        w->exStyle &= ~wsex::WsExTopmost;
    }
    bringToTop(hwnd);
}

std::vector<Hwnd> SimWindowList::windowsOf(ProcessId pid) const {
    std::vector<Hwnd> out;
    for (Hwnd hwnd : zOrder_) {
        if (find(hwnd)->pid == pid) out.push_back(hwnd);
    }
    return out;
}

}  // namespace tb::sim
