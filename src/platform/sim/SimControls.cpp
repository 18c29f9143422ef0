// The simulated standard controls: buttons and check boxes, edit boxes, statics, the tab control
// and the trackbar as children of a window, the keyboard focus, a dialog's keys, and the
// notifications each sends, as Windows (comctl32 6) sends them.
#include <algorithm>
#include <cstdlib>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMessages.h"

namespace tb::sim {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(x) == lower(y);
    });
}

enum class Kind { Other, Button, Edit, Static, Tab, Trackbar };

Kind kindOf(const SimWindow& w) {
    if (!w.isChild()) return Kind::Other;
    if (sameName(w.className, ctlclass::kButton)) return Kind::Button;
    if (sameName(w.className, ctlclass::kEdit)) return Kind::Edit;
    if (sameName(w.className, ctlclass::kStatic)) return Kind::Static;
    if (sameName(w.className, ctlclass::kTabControl)) return Kind::Tab;
    if (sameName(w.className, ctlclass::kTrackbar)) return Kind::Trackbar;
    return Kind::Other;
}

std::uint32_t buttonType(const SimWindow& w) { return w.style & bs::BS_TYPEMASK; }
bool isCheckBox(const SimWindow& w) {
    const std::uint32_t t = buttonType(w);
    return kindOf(w) == Kind::Button && (t == bs::BS_CHECKBOX || t == bs::BS_AUTOCHECKBOX ||
                                         t == bs::BS_3STATE || t == bs::BS_AUTO3STATE);
}
bool isPushButton(const SimWindow& w) {
    const std::uint32_t t = buttonType(w);
    return kindOf(w) == Kind::Button && (t == bs::BS_PUSHBUTTON || t == bs::BS_DEFPUSHBUTTON);
}
// Statics and disabled windows take no focus.
bool focusable(const SimWindow& w) { return kindOf(w) != Kind::Static; }

constexpr int kTabRowHeight = 20;
constexpr int kTabPadding = 12;
constexpr int kTrackbarPageDivisor = 5;
// The simulated trackbar's channel runs this far inside its ends; the thumb is this wide.
constexpr int kTrackbarInset = 8;
constexpr int kTrackbarThumbHalf = 5;

}  // namespace

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
    win->style = childSpec.style | ws::WS_CHILD;
    win->exStyle = childSpec.exStyle;
    win->id = childSpec.id;
    win->visible = (childSpec.style & ws::WS_VISIBLE) != 0;
    win->enabled = (childSpec.style & ws::WS_DISABLED) == 0;
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
    if (kindOf(*win) == Kind::Edit) notifyCommand(hwnd, en::EN_CHANGE);
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
        case tb::syscolor::COLOR_WINDOW:
            return syscolor::kWindow;
        case tb::syscolor::COLOR_WINDOWTEXT:
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
        if (kindOf(*old) == Kind::Edit) notifyCommand(from, en::EN_KILLFOCUS);
    }
    if (focus_ != to) return;  // a handler moved it on
    if (SimWindow* now = windows_.find(to); now && now->isChild()) {
        if (SimWindow* root = windows_.find(rootOf(to)); root && root->dialog) {
            root->savedFocus = to;
        }
        if (ChildHandler* h = now->childHandler) h->onFocus(true);
        if (kindOf(*now) == Kind::Edit) notifyCommand(to, en::EN_SETFOCUS);
    }
}

std::vector<Hwnd> SimDesktop::tabStops(Hwnd dialog) const {
    std::vector<Hwnd> out;
    const SimWindow* d = windows_.find(dialog);
    if (!d) return out;
    for (Hwnd c : d->children) {
        const SimWindow* w = windows_.find(c);
        if (w && (w->style & ws::WS_TABSTOP) && shownAndEnabled(*w)) out.push_back(c);
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
    const bool threeState = t == bs::BS_3STATE || t == bs::BS_AUTO3STATE;
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
    const FontSpec font = win->font.value_or(dialogFont());
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

// ---- Input --------------------------------------------------------------------------------------

Hwnd SimDesktop::childAt(Hwnd root, Point screen) const {
    const SimWindow* r = windows_.find(root);
    if (!r) return 0;
    // The first created lies on top; a static and the tab control's body are transparent to
    // the mouse (HTTRANSPARENT), so the control below gets the click.
    for (Hwnd c : r->children) {
        const SimWindow* w = windows_.find(c);
        if (!w || !w->visible) continue;
        const auto rect = const_cast<SimDesktop*>(this)->windowRect(c);
        if (!rect || !rect->contains(screen)) continue;
        const Kind k = kindOf(*w);
        if (k == Kind::Static) continue;
        if (k == Kind::Tab && screen.y - rect->top >= 2 + kTabRowHeight) continue;
        return w->enabled ? c : 0;
    }
    return 0;
}

std::optional<Point> SimDesktop::trackbarPoint(Hwnd trackbar, int value) {
    const SimWindow* w = windows_.find(trackbar);
    if (!w || kindOf(*w) != Kind::Trackbar) return std::nullopt;
    const Rect r = *windowRect(trackbar);
    const int span = std::max(1, w->rangeMax - w->rangeMin);
    const int channel = r.width() - 2 * kTrackbarInset;
    return Point{r.left + kTrackbarInset + (value - w->rangeMin) * channel / span,
                 (r.top + r.bottom) / 2};
}

void SimDesktop::trackbarMouse(Hwnd trackbar, Point screen, MouseAction action) {
    SimWindow* w = windows_.find(trackbar);
    if (!w) return;
    if (action == MouseAction::Down || action == MouseAction::DoubleClick) {
        // On the thumb a drag begins; beside it the thumb moves a page towards the pointer.
        const Point thumb = *trackbarPoint(trackbar, w->pos);
        if (std::abs(screen.x - thumb.x) <= kTrackbarThumbHalf) {
            trackbarDrag_ = trackbar;
            return;
        }
        stepTrackbar(trackbar, screen.x < thumb.x ? vkey::VK_PRIOR : vkey::VK_NEXT, false);
        return;
    }
    if (trackbarDrag_ != trackbar) {
        if (action == MouseAction::Up) notifyScroll(trackbar, tbr::TB_ENDTRACK);
        return;
    }
    const Rect r = *windowRect(trackbar);
    const int channel = std::max(1, r.width() - 2 * kTrackbarInset);
    const int span = w->rangeMax - w->rangeMin;
    const int offset = screen.x - r.left - kTrackbarInset;
    const int value = std::clamp(
        w->rangeMin + (offset * span + (offset >= 0 ? channel / 2 : -channel / 2)) / channel,
        w->rangeMin, std::max(w->rangeMin, w->rangeMax));
    if (value != w->pos) {
        w->pos = value;
        notifyScroll(trackbar, tbr::TB_THUMBTRACK);
    }
    if (action == MouseAction::Up) {
        trackbarDrag_ = 0;
        notifyScroll(trackbar, tbr::TB_THUMBPOSITION);
        notifyScroll(trackbar, tbr::TB_ENDTRACK);
    }
}

void SimDesktop::controlMouse(Hwnd child, Point screen, MouseAction action) {
    SimWindow* w = windows_.find(child);
    if (!w) return;
    if (kindOf(*w) == Kind::Trackbar) {
        if (action == MouseAction::Down) changeFocus(child);
        trackbarMouse(child, screen, action);
        return;
    }
    if (action == MouseAction::Down || action == MouseAction::DoubleClick) {
        pressedChild_ = child;
        if (focusable(*w)) changeFocus(child);
        w = windows_.find(child);
        if (w && kindOf(*w) == Kind::Tab) {
            const Rect r = *windowRect(child);
            for (int i = 0; i < static_cast<int>(w->tabs.size()); ++i) {
                if (tabItemRect(child, i)->offset(r.left, r.top).contains(screen)) {
                    selectTab(child, i);
                    break;
                }
            }
        }
    } else if (action == MouseAction::Up) {
        const bool pressedHere = pressedChild_ == child;
        pressedChild_ = 0;
        // A button clicks when the button comes up over the button it went down on.
        if (pressedHere && kindOf(*w) == Kind::Button) clickButton(child);
    }
}

void SimDesktop::clickButton(Hwnd button) {
    SimWindow* w = windows_.find(button);
    if (!w || !w->enabled) return;
    switch (buttonType(*w)) {
        case bs::BS_AUTOCHECKBOX:
            w->check = w->check == bst::BST_UNCHECKED ? bst::BST_CHECKED : bst::BST_UNCHECKED;
            break;
        case bs::BS_AUTO3STATE:
            w->check = (w->check + 1) % 3;
            break;
        default:  // push buttons and the boxes that leave their state to the program
            break;
    }
    notifyCommand(button, bn::BN_CLICKED);
}

void SimDesktop::selectTab(Hwnd tab, int index) {
    SimWindow* w = windows_.find(tab);
    if (!w || index == w->tabSel || index < 0 || index >= static_cast<int>(w->tabs.size())) return;
    if (notifyTabs(tab, tcn::TCN_SELCHANGING)) return;
    if (SimWindow* again = windows_.find(tab)) again->tabSel = index;
    notifyTabs(tab, tcn::TCN_SELCHANGE);
}

void SimDesktop::stepTrackbar(Hwnd trackbar, int key, bool endTrack) {
    SimWindow* w = windows_.find(trackbar);
    if (!w) return;
    const int page = std::max(1, (w->rangeMax - w->rangeMin) / kTrackbarPageDivisor);
    int target = w->pos;
    int request = tbr::TB_ENDTRACK;
    switch (key) {
        case vkey::VK_LEFT:
        case vkey::VK_UP:
            target -= 1, request = tbr::TB_LINEUP;
            break;
        case vkey::VK_RIGHT:
        case vkey::VK_DOWN:
            target += 1, request = tbr::TB_LINEDOWN;
            break;
        case vkey::VK_PRIOR:
            target -= page, request = tbr::TB_PAGEUP;
            break;
        case vkey::VK_NEXT:
            target += page, request = tbr::TB_PAGEDOWN;
            break;
        case vkey::VK_HOME:
            target = w->rangeMin, request = tbr::TB_TOP;
            break;
        case vkey::VK_END:
            target = w->rangeMax, request = tbr::TB_BOTTOM;
            break;
        default:
            return;
    }
    target = std::clamp(target, w->rangeMin, std::max(w->rangeMin, w->rangeMax));
    // A key that cannot move the thumb says nothing until the key comes up.
    if (target != w->pos) {
        w->pos = target;
        notifyScroll(trackbar, request);
    }
    if (endTrack) notifyScroll(trackbar, tbr::TB_ENDTRACK);
}

void SimDesktop::controlKey(Hwnd control, int virtualKey) {
    const SimWindow* w = windows_.find(control);
    if (!w) return;
    switch (kindOf(*w)) {
        case Kind::Button:
            if (virtualKey == vkey::VK_SPACE) clickButton(control);
            break;
        case Kind::Trackbar:
            stepTrackbar(control, virtualKey, true);
            break;
        case Kind::Tab:
            if (virtualKey == vkey::VK_LEFT) selectTab(control, w->tabSel - 1);
            if (virtualKey == vkey::VK_RIGHT) selectTab(control, w->tabSel + 1);
            break;
        default:
            break;
    }
}

bool SimDesktop::dialogKey(Hwnd dialog, int virtualKey) {
    const bool shift = keysDown_.count(vk::VK_SHIFT) != 0;
    const bool ctrl = keysDown_.count(vk::VK_CONTROL) != 0;
    const SimWindow* focused = windows_.find(focus_);
    const bool inDialog = focused && rootOf(focus_) == dialog;
    if (virtualKey == vkey::VK_TAB && ctrl) {
        const SimWindow* d = windows_.find(dialog);
        for (Hwnd c : d->children) {
            const SimWindow* w = windows_.find(c);
            if (!w || kindOf(*w) != Kind::Tab || !shownAndEnabled(*w) || w->tabs.empty()) {
                continue;
            }
            const int n = static_cast<int>(w->tabs.size());
            selectTab(c, (std::max(w->tabSel, 0) + (shift ? n - 1 : 1)) % n);
            // The focus must not stay on a control of the page that went away.
            if (windows_.find(c) && !(windows_.find(focus_) && isWindowVisible(focus_))) {
                changeFocus(c);
            }
            return true;
        }
        return true;
    }
    if (inDialog && focused->wantAllKeys && virtualKey != vkey::VK_TAB) return false;
    switch (virtualKey) {
        case vkey::VK_TAB: {
            const auto stops = tabStops(dialog);
            if (stops.empty()) return true;
            auto it = std::find(stops.begin(), stops.end(), focus_);
            std::size_t next = 0;
            if (it == stops.end()) {
                next = shift ? stops.size() - 1 : 0;
            } else {
                const auto i = static_cast<std::size_t>(it - stops.begin());
                next = shift ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
            }
            changeFocus(stops[next]);
            return true;
        }
        case vkey::VK_RETURN: {
            // The focused push button, else the dialog's default one, else IDOK.
            Hwnd target = 0;
            if (inDialog && isPushButton(*focused)) target = focus_;
            const SimWindow* d = windows_.find(dialog);
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (target == 0 && w && isPushButton(*w) &&
                    buttonType(*w) == bs::BS_DEFPUSHBUTTON) {
                    target = c;
                }
            }
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (target == 0 && w && w->id == dlg::IDOK) target = c;
            }
            const SimWindow* t = windows_.find(target);
            if (t && t->enabled) notifyCommand(target, bn::BN_CLICKED);
            return true;
        }
        case vkey::VK_ESCAPE: {
            const SimWindow* d = windows_.find(dialog);
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (w && w->id == dlg::IDCANCEL) {
                    notifyCommand(c, bn::BN_CLICKED);
                    return true;
                }
            }
            deliver(dialog, wm::WM_COMMAND, static_cast<WParam>(dlg::IDCANCEL), 0);
            return true;
        }
        default:
            return false;
    }
}

void SimDesktop::pressKey(int virtualKey) {
    const bool wasDown = keysDown_.count(virtualKey) != 0;
    keysDown_.insert(virtualKey);
    const Hwnd target = windows_.find(focus_) ? focus_ : 0;
    const Hwnd root = rootOf(target);
    const SimWindow* r = windows_.find(root);
    if (!(r && r->dialog && dialogKey(root, virtualKey))) {
        const SimWindow* w = windows_.find(target);
        if (w && w->isChild()) {
            controlKey(target, virtualKey);
        } else if (w) {
            keyDown(target, virtualKey);
        }
    }
    if (!wasDown) keysDown_.erase(virtualKey);
}

void SimDesktop::typeText(std::string_view text) {
    for (char c : text) {
        SimWindow* w = windows_.find(focus_);
        if (!w || kindOf(*w) != Kind::Edit || (w->style & es::ES_READONLY)) return;
        if (static_cast<int>(w->caption.size()) >= w->textLimit) {
            notifyCommand(focus_, en::EN_MAXTEXT);
            continue;
        }
        w->caption += c;
        notifyCommand(focus_, en::EN_CHANGE);
    }
}

}  // namespace tb::sim
