#include "chart/FcObject.h"

#include "chart/CustomFlowChart.h"

#include <algorithm>

TFcObject::TFcObject(TCustomFlowChart* owner, const TFcBounds& bounds, uint8_t shape)
    : TFcItem(owner), BoundsValue(bounds), ShapeValue(shape), FillColorValue(owner->Color()) {}

TFcObject::~TFcObject() = default;

void TFcObject::SetBounds(int32_t left, int32_t top, uint16_t width, uint16_t height) {
    const TFcBounds bounds{left, top, width, height};
    if (bounds == BoundsValue)
        return;
    const TFcBounds old = BoundsValue;
    BoundsValue = bounds;
    Chart()->ObjectBoundsChanged(this, old);
}

TFcPoint TFcObject::ConnectionPoint(int n) const {
    return FcConnectionPoint(BoundsValue, n);
}

TFcObject* TFcObject::Attached(int i) const {
    if (i < 0 || i >= AttachedCount())
        return nullptr;
    return AttachedList[size_t(i)];
}

bool TFcObject::Reaches(const TFcObject* other) const {
    for (const TFcObject* child : AttachedList)
        if (child == other || child->Reaches(other))
            return true;
    return false;
}

void TFcObject::AttachObject(TFcObject* other) {
    // Refusing an object that already reaches this one keeps the groups free
    // of cycles, which would make collecting a group never end.
    if (other == nullptr || other == this || Reaches(other) || other->Reaches(this))
        return;
    AttachedList.push_back(other);
    other->AttachedBy.push_back(this);
}

void TFcObject::ScrollIntoView() {
    Chart()->ScrollIntoView(this);
}

void TFcObject::Changed() {
    Chart()->ObjectChanged(this);
}
