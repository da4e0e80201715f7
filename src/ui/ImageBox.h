#pragma once
#include "ui/Control.h"

// An image: an icon or a bitmap stretched to the control, owner-drawn over
// the form's background.
class ImageBox : public Control {
public:
    using Control::Control;

    void SetPicture(UniqueIcon icon);
    void SetPicture(UniqueBitmap bitmap);

protected:
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    UniqueIcon icon_;
    UniqueBitmap bitmap_;
};
