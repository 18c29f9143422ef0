// The program's slider: an integer value between a minimum and a maximum, shown as a thumb on a
// rail. The user drags the thumb with the left button or presses on the rail to make the
// thumb's centre jump under the pointer. It has two looks: a bevelled groove with a picture or
// box thumb (RailStyle 0 to 4), or rail and thumb pictures (RailStyle 99 with a rail picture),
// in which case the control takes the rail picture's size.
#pragma once

#include <cstdint>
#include <functional>

#include "controls/Control.h"
#include "controls/PropertyBag.h"

namespace tb {

class ucSlider : public Control {
public:
    // System colour "button face", as a design stores it.
    static constexpr Color kButtonFace = 0x8000000F;
    static constexpr std::int32_t kPictureMode = 99;

    ucSlider();

    bool Enabled() const { return enabled_; }
    // Only decides whether a press may start a drag; the look does not change.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    Color BackColor() const { return backColor_; }
    void setBackColor(Color c);
    std::int32_t MousePointer() const { return mousePointer_; }
    // Kept as a 16-bit number: ProgramError(6) beyond that.
    void setMousePointer(std::int32_t shape);
    Picture MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(Picture icon) { mouseIcon_ = icon; }

    std::int32_t Max() const { return max_; }
    // Ignored unless above Min; ProgramError(6) when Max - Min would not fit in 32 bits.
    void setMax(std::int32_t value);
    std::int32_t Min() const { return min_; }
    // ProgramError(380) unless below Max. Moves Value to the new minimum.
    void setMin(std::int32_t value);
    std::int32_t Value() const { return value_; }
    // Ignored outside [Min, Max]; the same number as last time does nothing at all.
    void setValue(std::int32_t value);
    // 0 horizontal, 1 vertical; other numbers are ignored.
    std::int32_t Orientation() const { return orientation_; }
    void setOrientation(std::int32_t orientation);
    std::int32_t RailStyle() const { return railStyle_; }
    void setRailStyle(std::int32_t style);
    Picture SliderImage() const { return sliderImage_; }
    void setSliderImage(Picture picture);
    Picture RailImage() const { return railImage_; }
    void setRailImage(Picture picture);

    // Events, in the order a host binds them.
    std::function<void()> onClick;
    std::function<void()> onArrivedFirst;
    std::function<void()> onArrivedLast;
    std::function<void()> onChange;
    // The shift state of the press or release: 1 Shift, 2 Ctrl, 4 Alt, added up.
    std::function<void(std::int16_t& shift)> onMouseDown;
    std::function<void(std::int16_t& shift)> onMouseUp;

    void WriteProperties(PropertyBag& bag) const;
    // Stores each property directly, without the setters' rules; a design whose bounds are
    // unusable gets the default bounds.
    void ReadProperties(const PropertyBag& bag);

    // Fixes the control's own size, the thumb's place and RailRect, then redraws.
    void Resize();
    // Schedules a repaint of the whole control.
    void Redraw();

    // Layout state, in pixels relative to the control.
    const Rect& RailRect() const { return railRect_; }
    const Rect& SliderRect() const { return sliderRect_; }
    float ThumbLeft() const { return thumbLeft_; }
    float ThumbTop() const { return thumbTop_; }
    Size ThumbSize() const { return thumbSize_; }
    bool Dragging() const { return dragging_; }
    std::int32_t LastValue() const { return lastValue_; }

    void paint(Canvas& canvas) override;
    void mouseEvent(const MouseEvent& e) override;
    void captureLost() override;

protected:
    void onBoundsChanged() override;

private:
    bool horizontal() const { return orientation_ == 0; }
    bool pictureMode() const;
    double travel() const;
    void ResetSlider();
    // Puts the thumb where `value` belongs along the axis; nothing when the range is empty.
    void placeThumb(std::int32_t value);
    std::int32_t ValueFromPosition();
    void press(int button, std::int16_t shift, Point p);
    void drag(Point p);
    void release(int button, std::int16_t shift, Point p);
    void raiseChange();

    bool dragging_ = false;
    float grabX_ = 0;
    float grabY_ = 0;
    Rect railRect_;
    Rect sliderRect_;
    std::int32_t range_ = 10;
    std::int32_t lastValue_ = 0;
    bool enabled_ = true;
    std::int32_t orientation_ = 1;
    std::int32_t railStyle_ = 0;
    std::int32_t min_ = 0;
    std::int32_t max_ = 10;
    std::int32_t value_ = 0;
    Color backColor_ = kButtonFace;
    std::int32_t mousePointer_ = 0;
    Picture mouseIcon_ = nullptr;

    // The thumb holder: its place (float, as it moves in fractions while dragging) and the size
    // of its picture; 14 x 8 before any picture is given.
    float thumbLeft_ = 0;
    float thumbTop_ = 0;
    Size thumbSize_{14, 8};
    Picture sliderImage_ = nullptr;
    Picture railImage_ = nullptr;

    bool resizing_ = false;
    bool capturing_ = false;
    // The vertical rail picture is painted stretched; the stretched copy is kept.
    Image stretchedRail_;
    Picture stretchedFrom_ = nullptr;
};

}  // namespace tb
