// A transparent text label on a form: the caption drawn in one font and colour over whatever
// the form painted below it. With AutoSize it takes the width of its text whenever its caption
// or font changes; a host may widen it afterwards (the title label is kept at least as wide as
// the title area), but no placement makes it narrower than its text.
#pragma once

#include <cstdint>
#include <string>

#include "controls/Control.h"

namespace tb {

class Label : public Control {
public:
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& font);
    Color ForeColor() const { return foreColor_; }
    void setForeColor(Color c);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    // Moves the label without changing its size (the title ticker moves lblTitel).
    void setLeft(std::int32_t left);
    // The part of the form (client pixels) the label may draw on: all of it unless a host says
    // otherwise (the title label stops where the playlist pane lies in front of it).
    void setClip(const Rect& clip);

    void paint(Canvas& canvas) override;
    Rect paintBounds() const override { return bounds().intersect(clip_); }

protected:
    void onAttached() override { fitToText(true); }
    // A label that sizes itself keeps its text whole wherever it is placed.
    void onBoundsChanged() override {
        fitToText(false);
        Control::onBoundsChanged();
    }

private:
    // Exactly the text's width, or (exact false) at least that.
    void fitToText(bool exact);

    std::string caption_;
    FontSpec font_;
    Color foreColor_ = 0;
    bool autoSize_ = false;
    Rect clip_{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
};

}  // namespace tb
