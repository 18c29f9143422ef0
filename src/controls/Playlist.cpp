#include "controls/Playlist.h"

#include <algorithm>
#include <limits>

#include "art/Artwork.h"
#include "common/Numeric.h"
#include "common/ProgramError.h"

namespace tb {

namespace {
// Child layout in twips, relative to the view.
constexpr std::int32_t kRowLeft = 120;
constexpr std::int32_t kRowTop = 120;
constexpr std::int32_t kRowPitch = 240;
constexpr std::int32_t kRowWidth = 3615;
constexpr std::int32_t kRowHeight = 230;
constexpr std::int32_t kScrollLeft = 3720;
constexpr std::int32_t kScrollTop = 120;
constexpr std::int32_t kScrollWidth = 210;
constexpr std::int32_t kScrollHeight = 1275;
constexpr std::int32_t kFontHeight = 165;  // 11 pixels at 96 dpi
constexpr std::size_t kMaxItems = std::numeric_limits<std::int16_t>::max();
}  // namespace

Playlist::Playlist() {
    font_.face = "Tahoma";
    font_.heightPx = toPixelsY(kFontHeight);

    PropertyBag design;
    design.WriteProperty("SliderImage", &art::scrollThumb(), Picture{});
    design.WriteProperty("RailStyle", ucSlider::kPictureMode, 0);
    design.WriteProperty("Max", 1, 10);
    design.WriteProperty("Value", 1, 0);
    design.WriteProperty("RailImage", &art::scrollRail(), Picture{});
    Scroll.attach(this);
    Scroll.ReadProperties(design);
    Scroll.onChange = [this] { Scroll_Change(); };
    onBoundsChanged();
    RedrawItems();
}

// ---- entries -------------------------------------------------------------------------------

void Playlist::AddItem(const std::string& caption) {
    if (items_.size() >= kMaxItems) throw ProgramError(errnum::Overflow);
    items_.push_back(caption);
    RedrawItems();
}

void Playlist::RemoveItem(std::int16_t index) {
    if (ItemExists(index)) items_.erase(items_.begin() + index);
    RedrawItems();
}

std::string Playlist::ItemCaption(std::int16_t index) const {
    return ItemExists(index) ? items_[static_cast<std::size_t>(index)] : std::string();
}

void Playlist::setItemCaption(std::int16_t index, const std::string& caption) {
    if (ItemExists(index)) {
        items_[static_cast<std::size_t>(index)] = caption;
        return;
    }
    if (items_.size() >= kMaxItems) throw ProgramError(errnum::Overflow);
    items_.push_back(caption);
}

void Playlist::setActiveItem(std::int16_t index) {
    if (!ItemExists(index) || index == activeItem_) return;
    const int oldRow = activeItem_ - topIndex_;
    if (oldRow >= 0 && oldRow < kRows) setRowColor(oldRow, kItemColor);
    activeItem_ = index;
    const int newRow = index - topIndex_;
    if (newRow >= 0 && newRow < kRows) setRowColor(newRow, kActiveColor);
}

std::int16_t Playlist::calcScrollValue() const {
    const std::int64_t top = static_cast<std::int64_t>(Scroll.Max()) - Scroll.Value();
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        top, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

// ---- rows and scrolling --------------------------------------------------------------------

void Playlist::RedrawItems() {
    fillRows();
    UpdateScroll();
}

void Playlist::fillRows() {
    for (int r = 0; r < kRows; ++r) {
        const int i = topIndex_ + r;
        if (ItemExists(i))
            setRow(r, items_[static_cast<std::size_t>(i)],
                   i == activeItem_ ? kActiveColor : kItemColor, true);
        else
            setRow(r, rows_[static_cast<std::size_t>(r)].caption,
                   rows_[static_cast<std::size_t>(r)].foreColor, false);
    }
}

void Playlist::UpdateScroll() {
    const std::int32_t top = calcScrollValue();
    const std::int32_t maxTop = static_cast<std::int32_t>(ItemCount()) - kRows;
    if (maxTop <= 0) {
        // Every entry fits: the view starts at the first and there is nothing to scroll. The
        // slider cannot take a maximum of 0 (it must stay above its minimum), so it stays at
        // its top, where the value stands for the first entry.
        Scroll.setEnabled(false);
        Scroll.setValue(Scroll.Max());
    } else {
        Scroll.setEnabled(true);
        const std::int32_t value = maxTop - top;
        if (value > maxTop) {
            Scroll.setValue(maxTop);
            Scroll.setMax(maxTop);
        } else {
            // Maximum first, so the same entry stays in row 0; a list that shrank below the
            // shown window shows its end.
            Scroll.setMax(maxTop);
            Scroll.setValue(std::max(value, 0));
        }
    }
    // A new maximum changes what the slider's value stands for without a change event.
    if (topIndex_ != calcScrollValue()) {
        topIndex_ = calcScrollValue();
        fillRows();
    }
}

void Playlist::Scroll_Change() {
    topIndex_ = calcScrollValue();
    RedrawItems();
}

void Playlist::setRow(int r, const std::string& caption, Color color, bool visible) {
    Row& row = rows_[static_cast<std::size_t>(r)];
    if (row.caption == caption && row.foreColor == color && row.visible == visible) return;
    const bool shownChange = row.visible || visible;
    row.caption = caption;
    row.foreColor = color;
    row.visible = visible;
    if (shownChange) invalidate();
}

void Playlist::setRowColor(int r, Color color) {
    Row& row = rows_[static_cast<std::size_t>(r)];
    if (row.foreColor == color) return;
    row.foreColor = color;
    if (row.visible) invalidate();
}

// ---- input ---------------------------------------------------------------------------------

void Playlist::keyDown(int virtualKey) {
    // Only the wheel's private codes; no keyboard produces them.
    if (virtualKey == kKeyScrollUp) {
        if (Scroll.Value() < Scroll.Max()) Scroll.setValue(Scroll.Value() + 1);
    } else if (virtualKey == kKeyScrollDown) {
        if (Scroll.Value() >= 1) Scroll.setValue(Scroll.Value() - 1);
    }
}

void Playlist::mouseEvent(const MouseEvent& e) {
    const Rect b = bounds();
    const Point at{e.pos.x + b.left, e.pos.y + b.top};
    const Rect s = Scroll.bounds();
    if (scrollCaptured_ || (Scroll.visible() && s.contains(at))) {
        MouseEvent forwarded = e;
        forwarded.pos = Point{at.x - s.left, at.y - s.top};
        Scroll.mouseEvent(forwarded);
        return;
    }
    if (e.action != MouseAction::DoubleClick || e.button != mouse::Left) return;
    for (int r = 0; r < kRows; ++r) {
        if (!rows_[static_cast<std::size_t>(r)].visible || !rowRect(r).contains(at)) continue;
        std::int16_t index = static_cast<std::int16_t>(topIndex_ + r);
        if (onDblClickItem) onDblClickItem(index);
        return;
    }
}

void Playlist::captureLost() {
    if (!scrollCaptured_) return;
    scrollCaptured_ = false;
    Scroll.captureLost();
}

Hwnd Playlist::hWnd() const { return host() ? host()->hostWindow() : 0; }

// ---- hosting the scroll slider -------------------------------------------------------------

void Playlist::invalidateControl(Control&) { invalidate(); }

void Playlist::captureMouse(Control&) {
    scrollCaptured_ = true;
    if (host()) host()->captureMouse(*this);
}

void Playlist::releaseMouse(Control&) {
    if (!scrollCaptured_) return;
    scrollCaptured_ = false;
    if (host()) host()->releaseMouse(*this);
}

Point Playlist::clientToScreen(Point client) {
    return host() ? host()->clientToScreen(client) : client;
}

// ---- layout and painting -------------------------------------------------------------------

std::int32_t Playlist::toPixelsX(std::int32_t twips) const {
    return clampToInt32(divRoundHalfEven(std::int64_t{twips} * dpi(), 1440));
}

std::int32_t Playlist::toPixelsY(std::int32_t twips) const { return toPixelsX(twips); }

Rect Playlist::rowRect(int r) const {
    const Rect b = bounds();
    return Rect::fromXYWH(b.left + toPixelsX(kRowLeft), b.top + toPixelsY(kRowTop + kRowPitch * r),
                          toPixelsX(kRowWidth), toPixelsY(kRowHeight));
}

void Playlist::onAttached() { onBoundsChanged(); }

void Playlist::fitToDpi() {
    const int d = dpi();
    if (d == layoutDpi_) return;
    layoutDpi_ = d;
    font_.heightPx = toPixelsY(kFontHeight);
    Scroll.setSliderImage(&art::scrollThumb(d));
    Scroll.setRailImage(&art::scrollRail(d));
}

void Playlist::onBoundsChanged() {
    if (resizing_) return;
    fitToDpi();
    // The view's size is fixed, whatever the host asks.
    Rect b = bounds();
    const std::int32_t w = toPixelsX(kWidthTwips);
    const std::int32_t h = toPixelsY(kHeightTwips);
    if (b.width() != w || b.height() != h) {
        resizing_ = true;
        setBounds(Rect::fromXYWH(b.left, b.top, w, h));
        resizing_ = false;
        b = bounds();
    }
    Scroll.setBounds(Rect::fromXYWH(b.left + toPixelsX(kScrollLeft), b.top + toPixelsY(kScrollTop),
                                    toPixelsX(kScrollWidth), toPixelsY(kScrollHeight)));
    invalidate();
}

void Playlist::paint(Canvas& canvas) {
    for (int r = 0; r < kRows; ++r) {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        if (!row.visible) continue;
        const Rect rr = rowRect(r);
        canvas.drawText(row.caption, rr.left, rr.top, rr, font_, row.foreColor);
    }
    if (Scroll.visible()) Scroll.paint(canvas);
}

}  // namespace tb
