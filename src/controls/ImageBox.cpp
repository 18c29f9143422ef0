#include "controls/ImageBox.h"

namespace tb {

void ImageBox::setPicture(Picture p) {
    picture_ = p;
    onBoundsChanged();
}

void ImageBox::onBoundsChanged() {
    const Rect b = bounds();
    if (picture_ && (b.width() != picture_->width || b.height() != picture_->height)) {
        setBounds(Rect::fromXYWH(b.left, b.top, picture_->width, picture_->height));
        return;
    }
    invalidate();
}

void ImageBox::paint(Canvas& canvas) {
    if (picture_ && !picture_->empty()) canvas.drawImage(*picture_, bounds().left, bounds().top);
}

}  // namespace tb
