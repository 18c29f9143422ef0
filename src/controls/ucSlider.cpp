#include "controls/ucSlider.h"

#include <algorithm>
#include <limits>

#include "common/Numeric.h"
#include "common/ProgramError.h"

namespace tb {

namespace {

// Colours a design may name by system index (0x800000nn), as the default Windows scheme
// shows them.
Color resolveColor(Color c) {
    if ((c & 0x80000000u) == 0) return c & 0xFFFFFF;
    switch (c & 0xFF) {
        case 5:   // window
        case 20:  // button highlight
            return rgb(255, 255, 255);
        case 8:   // window text
        case 18:  // button text
            return rgb(0, 0, 0);
        case 16:  // button shadow
            return rgb(160, 160, 160);
        default:  // button face and anything else
            return rgb(240, 240, 240);
    }
}

// The bevel each edge style draws around the rail; false for styles that draw none.
bool railEdge(std::int32_t railStyle, unsigned& edgeType) {
    switch (railStyle) {
        case 0:
            edgeType = edge::EdgeSunken;
            return true;
        case 1:
            edgeType = edge::EdgeRaised;
            return true;
        case 2:
            edgeType = edge::BdrSunkenOuter;
            return true;
        case 3:
            edgeType = edge::BdrRaisedInner;
            return true;
        default:
            return false;  // 4 draws an empty edge; other numbers skip the rail
    }
}

// Nearest integer, halves to even; never fails, whatever the number holds.
std::int32_t roundClamped(double v) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (!(v >= lo)) v = lo;  // also catches NaN
    if (v > hi) v = hi;
    return roundHalfEven32(v);
}

void drawImageClipped(Canvas& canvas, const Image& img, std::int32_t x, std::int32_t y,
                      const Rect& clip) {
    Rect dest = Rect::fromXYWH(x, y, img.width, img.height).intersect(clip);
    if (dest.empty()) return;
    canvas.drawImage(img, dest.left, dest.top, dest.offset(-x, -y));
}

// Nearest-neighbour scaling, as StretchBlt copies colour pictures.
Image stretch(const Image& src, std::int32_t w, std::int32_t h) {
    Image out;
    out.width = w;
    out.height = h;
    out.hasTransparency = src.hasTransparency;
    out.transparentColor = src.transparentColor;
    out.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::int32_t y = 0; y < h; ++y) {
        std::int32_t sy = static_cast<std::int32_t>(static_cast<std::int64_t>(y) * src.height / h);
        for (std::int32_t x = 0; x < w; ++x) {
            std::int32_t sx =
                static_cast<std::int32_t>(static_cast<std::int64_t>(x) * src.width / w);
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(x)] = src.at(sx, sy);
        }
    }
    return out;
}

bool fitsRange(std::int64_t min, std::int64_t max) {
    return max - min > 0 && max - min <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

ucSlider::ucSlider() { ResetSlider(); }

// ---- properties ----------------------------------------------------------------------------

void ucSlider::setBackColor(Color c) {
    backColor_ = c;
    Redraw();
}

void ucSlider::setMousePointer(std::int32_t shape) { mousePointer_ = toInt16Checked(shape); }

void ucSlider::setMax(std::int32_t value) {
    if (value <= min_) return;
    if (!fitsRange(min_, value)) throw ProgramError(errnum::Overflow);
    max_ = value;
    range_ = max_ - min_;
}

void ucSlider::setMin(std::int32_t value) {
    if (value >= max_) throw ProgramError(errnum::InvalidPropertyValue);
    if (!fitsRange(value, max_)) throw ProgramError(errnum::Overflow);
    min_ = value;
    // The range is settled before the value moves, so handlers of the change events that
    // write Value see a consistent slider.
    range_ = max_ - min_;
    setValue(value);
}

void ucSlider::setValue(std::int32_t value) {
    if (value < min_ || value > max_) return;
    value_ = value;
    if (value == lastValue_) return;
    if (!dragging_) placeThumb(value);
    Redraw();
    lastValue_ = value_;
    raiseChange();
}

void ucSlider::raiseChange() {
    if (onChange) onChange();
    // Handlers may have written Value; the arrival tests look at what it is now.
    if (value_ == max_ && onArrivedLast) onArrivedLast();
    if (value_ == min_ && onArrivedFirst) onArrivedFirst();
}

void ucSlider::setOrientation(std::int32_t orientation) {
    if (orientation != 0 && orientation != 1) return;
    orientation_ = orientation;
    ResetSlider();
    Resize();
}

void ucSlider::setRailStyle(std::int32_t style) {
    railStyle_ = style;
    Resize();
}

void ucSlider::setSliderImage(Picture picture) {
    sliderImage_ = picture;
    if (picture && !picture->empty()) thumbSize_ = Size{picture->width, picture->height};
    Resize();
}

void ucSlider::setRailImage(Picture picture) {
    railImage_ = picture;
    Resize();
}

// ---- persistence ---------------------------------------------------------------------------

void ucSlider::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("BackColor", static_cast<std::int32_t>(backColor_),
                      static_cast<std::int32_t>(kButtonFace));
    bag.WriteProperty("Enabled", enabled_, true);
    bag.WriteProperty("MouseIcon", mouseIcon_, Picture{});
    bag.WriteProperty("MousePointer", mousePointer_, std::int32_t{0});
    bag.WriteProperty("SliderImage", sliderImage_, Picture{});
    bag.WriteProperty("Orientation", orientation_, std::int32_t{1});
    bag.WriteProperty("RailImage", railImage_, Picture{});
    bag.WriteProperty("RailStyle", railStyle_, std::int32_t{0});
    bag.WriteProperty("Min", min_, std::int32_t{0});
    bag.WriteProperty("Max", max_, std::int32_t{10});
    bag.WriteProperty("Value", value_, std::int32_t{0});
}

void ucSlider::ReadProperties(const PropertyBag& bag) {
    backColor_ =
        static_cast<Color>(bag.readInt("BackColor", static_cast<std::int32_t>(kButtonFace)));
    mousePointer_ = bag.readInt("MousePointer", 0);
    mouseIcon_ = bag.readPicture("MouseIcon", nullptr);
    enabled_ = bag.readBool("Enabled", true);
    orientation_ = bag.readInt("Orientation", 1);
    if (orientation_ != 0 && orientation_ != 1) orientation_ = 1;
    railStyle_ = bag.readInt("RailStyle", 0);
    min_ = bag.readInt("Min", 0);
    max_ = bag.readInt("Max", 10);
    value_ = bag.readInt("Value", 0);
    sliderImage_ = bag.readPicture("SliderImage", nullptr);
    if (sliderImage_ && !sliderImage_->empty())
        thumbSize_ = Size{sliderImage_->width, sliderImage_->height};
    railImage_ = bag.readPicture("RailImage", nullptr);
    // The value is trusted, but a slider without a usable range could never be set right.
    if (!fitsRange(min_, max_)) {
        min_ = 0;
        max_ = 10;
        value_ = std::clamp(value_, min_, max_);
    }
    range_ = max_ - min_;
    lastValue_ = value_;
    placeThumb(value_);
    Resize();
}

// ---- layout --------------------------------------------------------------------------------

bool ucSlider::pictureMode() const {
    return railStyle_ == kPictureMode && railImage_ && !railImage_->empty();
}

double ucSlider::travel() const {
    return horizontal() ? static_cast<double>(bounds().width()) - thumbSize_.cx
                        : static_cast<double>(bounds().height()) - thumbSize_.cy;
}

void ucSlider::ResetSlider() {
    thumbLeft_ = 0;
    thumbTop_ = horizontal() ? 0.0f : static_cast<float>(bounds().height() - thumbSize_.cy);
}

void ucSlider::placeThumb(std::int32_t value) {
    if (range_ == 0) return;
    const double t = travel();
    const double part = t * (static_cast<double>(value) - min_) / range_;
    if (horizontal())
        thumbLeft_ = static_cast<float>(part);
    else
        thumbTop_ = static_cast<float>(t - part);
}

std::int32_t ucSlider::ValueFromPosition() {
    const double t = travel();
    double v = 0;
    if (t != 0) {
        v = horizontal() ? thumbLeft_ / t * range_ + min_ : (t - thumbTop_) / t * range_ + min_;
    }
    std::int32_t result = roundClamped(v);
    placeThumb(result);
    return result;
}

void ucSlider::onBoundsChanged() {
    if (!resizing_) Resize();
}

void ucSlider::Resize() {
    const bool pm = pictureMode();
    const Size rail = pm ? Size{railImage_->width, railImage_->height} : Size{};
    const std::int32_t tw = thumbSize_.cx;
    const std::int32_t th = thumbSize_.cy;

    // Own size. The host only learns it through setBounds; the guard keeps that from
    // running this again.
    Rect b = bounds();
    std::int32_t w = b.width();
    std::int32_t h = b.height();
    if (pm) {
        w = horizontal() ? rail.cx : std::max(rail.cx, tw);
        h = horizontal() ? std::max(rail.cy, th) : rail.cy;
    } else if (horizontal()) {
        if (w == 0) w = tw;
        h = th;
    } else {
        if (h == 0) h = th;
        w = tw;
    }
    if (w != b.width() || h != b.height()) {
        resizing_ = true;
        setBounds(Rect::fromXYWH(b.left, b.top, w, h));
        resizing_ = false;
    }

    // Across the axis the thumb is centred on a rail picture that is larger than it.
    if (horizontal())
        thumbTop_ = (pm && th < rail.cy) ? static_cast<float>((rail.cy - th) / 2) : 0.0f;
    else
        thumbLeft_ = (pm && tw < rail.cx) ? static_cast<float>((rail.cx - tw) / 2) : 0.0f;

    placeThumb(value_);

    // A 4-pixel rail on the thumb's middle line, from 2 pixels before the first position of
    // the thumb's centre to 2 pixels past its last.
    if (horizontal()) {
        railRect_.top = (th - 4) / 2;
        railRect_.bottom = railRect_.top + 4;
        railRect_.left = tw / 2 - 2;
        railRect_.right = w + railRect_.left - tw + 4;
    } else {
        railRect_.left = (tw - 4) / 2;
        railRect_.right = railRect_.left + 4;
        railRect_.top = th / 2 - 2;
        railRect_.bottom = h + railRect_.top - th + 4;
    }
    Redraw();
}

void ucSlider::Redraw() {
    // Without a thumb picture the thumb is a box over the thumb holder.
    if (!sliderImage_ || sliderImage_->empty()) {
        sliderRect_ = Rect{roundClamped(thumbLeft_), roundClamped(thumbTop_),
                           roundClamped(thumbSize_.cx + static_cast<double>(thumbLeft_)),
                           roundClamped(thumbSize_.cy + static_cast<double>(thumbTop_))};
    }
    invalidate();
}

void ucSlider::paint(Canvas& canvas) {
    const Rect b = bounds();
    if (b.empty()) return;
    canvas.fillRect(b, resolveColor(backColor_));

    if (railStyle_ != kPictureMode) {
        unsigned edgeType = 0;
        Rect r = railRect_.offset(b.left, b.top).intersect(b);
        if (railEdge(railStyle_, edgeType) && !r.empty())
            canvas.drawEdge(r, edgeType, edge::BfRect);
    } else if (railImage_ && !railImage_->empty()) {
        const Image& rail = *railImage_;
        if (horizontal()) {
            drawImageClipped(canvas, rail, b.left, b.top + (b.height() - rail.height) / 2, b);
        } else {
            // The vertical rail is stretched 5 pixels (at 96 dpi) past its height; what falls
            // outside the control is cut off.
            const std::int32_t height = rail.height + scaleToDpi(5, dpi());
            if (stretchedFrom_ != railImage_ || stretchedRail_.height != height) {
                stretchedRail_ = stretch(rail, rail.width, height);
                stretchedFrom_ = railImage_;
            }
            drawImageClipped(canvas, stretchedRail_, b.left + (b.width() - rail.width) / 2, b.top,
                             b);
        }
    }

    if (sliderImage_ && !sliderImage_->empty()) {
        drawImageClipped(canvas, *sliderImage_, b.left + roundClamped(thumbLeft_),
                         b.top + roundClamped(thumbTop_), b);
    } else {
        Rect box = sliderRect_.offset(b.left, b.top).intersect(b);
        if (!box.empty()) {
            canvas.fillRect(box, resolveColor(kButtonFace));
            canvas.drawEdge(box, edge::EdgeRaised, edge::BfRect);
        }
    }
}

// ---- mouse ---------------------------------------------------------------------------------

void ucSlider::mouseEvent(const MouseEvent& e) {
    const std::int16_t shift =
        static_cast<std::int16_t>((e.shift ? 1 : 0) | (e.ctrl ? 2 : 0) | (e.alt ? 4 : 0));
    switch (e.action) {
        case MouseAction::Down:
        case MouseAction::DoubleClick:  // a quick second press acts like any other
            // Like a window, the control keeps the mouse from a press until the last button
            // is up, so a drag follows the pointer outside it.
            if (!capturing_ && host()) {
                capturing_ = true;
                host()->captureMouse(*this);
            }
            press(e.button, shift, e.pos);
            break;
        case MouseAction::Move:
            drag(e.pos);
            break;
        case MouseAction::Up:
            release(e.button, shift, e.pos);
            if (e.buttons == 0 && capturing_) {
                capturing_ = false;
                if (host()) host()->releaseMouse(*this);
            }
            break;
    }
}

void ucSlider::captureLost() {
    capturing_ = false;
    // The release will never come (another window took the mouse): end the drag as a release
    // would, so the host does not stay in its "holding" state.
    if (!dragging_) return;
    dragging_ = false;
    std::int16_t shift = 0;
    if (onMouseUp) onMouseUp(shift);
}

void ucSlider::press(int button, std::int16_t shift, Point p) {
    if (!enabled_ || button != mouse::Left) return;
    dragging_ = true;
    const float x = static_cast<float>(p.x);
    const float y = static_cast<float>(p.y);
    const bool onThumb = x >= thumbLeft_ && x < thumbLeft_ + static_cast<float>(thumbSize_.cx) &&
                         y >= thumbTop_ && y < thumbTop_ + static_cast<float>(thumbSize_.cy);
    if (onThumb) {
        grabX_ = x - thumbLeft_;
        grabY_ = y - thumbTop_;
    } else {
        // A press on the rail brings the thumb's centre under the pointer at once.
        grabX_ = static_cast<float>(thumbSize_.cx / 2);
        grabY_ = static_cast<float>(thumbSize_.cy / 2);
        drag(p);
    }
    if (onMouseDown) onMouseDown(shift);
}

void ucSlider::drag(Point p) {
    if (!dragging_) return;
    const double t = travel();
    if (horizontal()) {
        const float d = static_cast<float>(p.x) - grabX_;
        thumbLeft_ = d < 0 ? 0.0f : (d > t ? static_cast<float>(t) : d);
    } else {
        const float d = static_cast<float>(p.y) - grabY_;
        thumbTop_ = d < 0 ? 0.0f : (d > t ? static_cast<float>(t) : d);
    }
    // The thumb snaps to the value it stands for; within one value step nothing changes and
    // nothing repaints.
    setValue(ValueFromPosition());
}

void ucSlider::release(int button, std::int16_t shift, Point p) {
    const Rect b = bounds();
    if (button == mouse::Left && p.x >= 0 && p.x < b.width() && p.y >= 0 && p.y < b.height() &&
        onClick)
        onClick();
    if (dragging_ && onMouseUp) onMouseUp(shift);
    dragging_ = false;
}

}  // namespace tb
