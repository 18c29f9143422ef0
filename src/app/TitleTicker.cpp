#include "app/TitleTicker.h"

namespace tb {

void TitleTicker::Restart() {
    left_ = kStartLeft;
    titelTerug_ = false;
}

float TitleTicker::Tick(float width) {
    if (width <= kAreaWidth) {
        left_ = kRestLeft;
    } else if (titelTerug_) {
        left_ += kStep;
        if (left_ >= kRestLeft) titelTerug_ = false;
    } else {
        // The turn comes on the tick that reaches the limit; the next one moves back.
        left_ -= kStep;
        if (left_ + width <= kAreaWidth) titelTerug_ = true;
    }
    return left_;
}

}  // namespace tb
