// The simulated standard controls under the user's input: clicks, drags, a control's own keys
// and a dialog's (Tab, Ctrl+Tab, Enter, Esc), typing.
#include <algorithm>
#include <cstdlib>

#include "platform/sim/SimControlKinds.h"
#include "platform/sim/SimDesktop.h"

namespace tb::sim {

using namespace controls;

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
        stepTrackbar(trackbar, screen.x < thumb.x ? vkey::VkPrior : vkey::VkNext, false);
        return;
    }
    if (trackbarDrag_ != trackbar) {
        if (action == MouseAction::Up) notifyScroll(trackbar, tbr::TbEndTrack);
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
        notifyScroll(trackbar, tbr::TbThumbTrack);
    }
    if (action == MouseAction::Up) {
        trackbarDrag_ = 0;
        notifyScroll(trackbar, tbr::TbThumbPosition);
        notifyScroll(trackbar, tbr::TbEndTrack);
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
        case bs::BsAutoCheckBox:
            w->check = w->check == bst::BstUnchecked ? bst::BstChecked : bst::BstUnchecked;
            break;
        case bs::BsAuto3State:
            w->check = (w->check + 1) % 3;
            break;
        default:  // push buttons and the boxes that leave their state to the program
            break;
    }
    notifyCommand(button, bn::BnClicked);
}

void SimDesktop::selectTab(Hwnd tab, int index) {
    SimWindow* w = windows_.find(tab);
    if (!w || index == w->tabSel || index < 0 || index >= static_cast<int>(w->tabs.size())) return;
    if (notifyTabs(tab, tcn::TcnSelChanging)) return;
    if (SimWindow* again = windows_.find(tab)) again->tabSel = index;
    notifyTabs(tab, tcn::TcnSelChange);
}

void SimDesktop::stepTrackbar(Hwnd trackbar, int key, bool endTrack) {
    SimWindow* w = windows_.find(trackbar);
    if (!w) return;
    const int page = std::max(1, (w->rangeMax - w->rangeMin) / kTrackbarPageDivisor);
    int target = w->pos;
    int request = tbr::TbEndTrack;
    switch (key) {
        case vkey::VkLeft:
        case vkey::VkUp:
            target -= 1, request = tbr::TbLineUp;
            break;
        case vkey::VkRight:
        case vkey::VkDown:
            target += 1, request = tbr::TbLineDown;
            break;
        case vkey::VkPrior:
            target -= page, request = tbr::TbPageUp;
            break;
        case vkey::VkNext:
            target += page, request = tbr::TbPageDown;
            break;
        case vkey::VkHome:
            target = w->rangeMin, request = tbr::TbTop;
            break;
        case vkey::VkEnd:
            target = w->rangeMax, request = tbr::TbBottom;
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
    if (endTrack) notifyScroll(trackbar, tbr::TbEndTrack);
}

void SimDesktop::controlKey(Hwnd control, int virtualKey) {
    const SimWindow* w = windows_.find(control);
    if (!w) return;
    switch (kindOf(*w)) {
        case Kind::Button:
            if (virtualKey == vkey::VkSpace) clickButton(control);
            break;
        case Kind::Trackbar:
            stepTrackbar(control, virtualKey, true);
            break;
        case Kind::Tab:
            if (virtualKey == vkey::VkLeft) selectTab(control, w->tabSel - 1);
            if (virtualKey == vkey::VkRight) selectTab(control, w->tabSel + 1);
            break;
        default:
            break;
    }
}

bool SimDesktop::dialogKey(Hwnd dialog, int virtualKey) {
    const bool shift = keysDown_.count(vk::VkShift) != 0;
    const bool ctrl = keysDown_.count(vk::VkControl) != 0;
    const SimWindow* focused = windows_.find(focus_);
    const bool inDialog = focused && rootOf(focus_) == dialog;
    if (virtualKey == vkey::VkTab && ctrl) {
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
    if (inDialog && focused->wantAllKeys && virtualKey != vkey::VkTab) return false;
    switch (virtualKey) {
        case vkey::VkTab: {
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
        case vkey::VkReturn: {
            // The focused push button, else the dialog's default one, else IDOK.
            Hwnd target = 0;
            if (inDialog && isPushButton(*focused)) target = focus_;
            const SimWindow* d = windows_.find(dialog);
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (target == 0 && w && isPushButton(*w) && buttonType(*w) == bs::BsDefPushButton) {
                    target = c;
                }
            }
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (target == 0 && w && w->id == dlg::IdOk) target = c;
            }
            const SimWindow* t = windows_.find(target);
            if (t && t->enabled) notifyCommand(target, bn::BnClicked);
            return true;
        }
        case vkey::VkEscape: {
            const SimWindow* d = windows_.find(dialog);
            for (Hwnd c : d->children) {
                const SimWindow* w = windows_.find(c);
                if (w && w->id == dlg::IdCancel) {
                    notifyCommand(c, bn::BnClicked);
                    return true;
                }
            }
            deliver(dialog, wm::WmCommand, static_cast<WParam>(dlg::IdCancel), 0);
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
        if (!w || kindOf(*w) != Kind::Edit || (w->style & es::EsReadOnly)) return;
        if (static_cast<int>(w->caption.size()) >= w->textLimit) {
            notifyCommand(focus_, en::EnMaxText);
            continue;
        }
        w->caption += c;
        notifyCommand(focus_, en::EnChange);
    }
}

}  // namespace tb::sim
