// A picture on a form, for decoration: it takes the size of its picture and takes no input.
#pragma once

#include "controls/Control.h"
#include "controls/PropertyBag.h"

namespace tb {

class ImageBox : public Control {
public:
    Picture picture() const { return picture_; }
    void setPicture(Picture p);

    void paint(Canvas& canvas) override;

protected:
    void onBoundsChanged() override;

private:
    Picture picture_ = nullptr;
};

}  // namespace tb
