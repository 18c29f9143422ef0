#include "controls/Label.h"

namespace tb {

void Label::setCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    fitToText(true);
    invalidate();
}

void Label::setFont(const FontSpec& font) {
    font_ = font;
    fitToText(true);
    invalidate();
}

void Label::setForeColor(Color c) {
    if (c == foreColor_) return;
    foreColor_ = c;
    invalidate();
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    fitToText(true);
}

void Label::setLeft(std::int32_t left) {
    Rect b = bounds();
    if (b.left == left) return;
    setBounds(b.offset(left - b.left, 0));
}

void Label::fitToText(bool exact) {
    if (!autoSize_ || !host()) return;
    Size s = host()->desktop().measureText(caption_, font_);
    Rect b = bounds();
    if (b.width() < s.cx || (exact && b.width() != s.cx))
        setBounds(Rect{b.left, b.top, b.left + s.cx, b.bottom});
}

void Label::setClip(const Rect& clip) {
    if (clip == clip_) return;
    invalidate();
    clip_ = clip;
    invalidate();
}

void Label::paint(Canvas& canvas) {
    const Rect area = paintBounds();
    if (area.empty()) return;
    canvas.drawText(caption_, bounds().left, bounds().top, area, font_, foreColor_);
}

}  // namespace tb
