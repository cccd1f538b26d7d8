#pragma once

// A box on the chart canvas: bounds, shape, colours, text, an optional
// picture from the canvas image list, and two owner fields (TagCode,
// DataText) that the canvas never interprets. Objects may hold a group of
// other objects in Attached; membership moves nothing by itself.

#include "chart/FcItem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TFcConnection;

class TFcObject : public TFcItem {
public:
    ~TFcObject() override;
    bool IsObject() const override { return true; }

    int32_t Left() const { return BoundsValue.Left; }
    int32_t Top() const { return BoundsValue.Top; }
    uint16_t Width() const { return uint16_t(BoundsValue.Width); }
    uint16_t Height() const { return uint16_t(BoundsValue.Height); }
    const TFcBounds& Bounds() const { return BoundsValue; }
    TFcRect BoundsRect() const { return BoundsValue.Rect(); }
    void SetBounds(int32_t left, int32_t top, uint16_t width, uint16_t height);
    void SetLeft(int32_t v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int32_t v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(uint16_t v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(uint16_t v) { SetBounds(Left(), Top(), Width(), v); }

    // Point n of FcConnectionPoint for the current bounds.
    TFcPoint ConnectionPoint(int n) const;

    uint8_t Shape() const { return ShapeValue; }
    void SetShape(uint8_t v) { Assign(ShapeValue, v); }
    TColor FillColor() const { return FillColorValue; }
    void SetFillColor(TColor v) { Assign(FillColorValue, v); }
    TColor OutlineColor() const { return OutlineColorValue; }
    void SetOutlineColor(TColor v) { Assign(OutlineColorValue, v); }
    uint8_t OutlineWidth() const { return OutlineWidthValue; }
    void SetOutlineWidth(uint8_t v) { Assign(OutlineWidthValue, v); }
    uint16_t EdgeKind() const { return EdgeKindValue; }
    void SetEdgeKind(uint16_t v) { Assign(EdgeKindValue, v); }
    uint16_t EdgeSides() const { return EdgeSidesValue; }
    void SetEdgeSides(uint16_t v) { Assign(EdgeSidesValue, v); }
    uint8_t TextHAlign() const { return TextHAlignValue; }
    void SetTextHAlign(uint8_t v) { Assign(TextHAlignValue, v); }
    uint8_t TextVAlign() const { return TextVAlignValue; }
    void SetTextVAlign(uint8_t v) { Assign(TextVAlignValue, v); }
    int16_t ImageIndex() const { return ImageIndexValue; }
    void SetImageIndex(int16_t v) { Assign(ImageIndexValue, v); }
    uint8_t ImageHAlign() const { return ImageHAlignValue; }
    void SetImageHAlign(uint8_t v) { Assign(ImageHAlignValue, v); }
    uint8_t ImageVAlign() const { return ImageVAlignValue; }
    void SetImageVAlign(uint8_t v) { Assign(ImageVAlignValue, v); }
    bool Visible() const { return VisibleValue; }
    void SetVisible(bool v) { Assign(VisibleValue, v); }

    // The owner's fields: never drawn, never interpreted. DataText holds bytes.
    int32_t TagCode = 0;
    std::string DataText;

    const std::vector<TFcConnection*>& Connections() const { return ConnectionList; }

    int AttachedCount() const { return int(AttachedList.size()); }
    // None for an index outside 0 .. AttachedCount() - 1.
    TFcObject* Attached(int i) const;
    // Ignores none, the object itself, anything already reachable through
    // Attached (directly or through attached objects) and anything from which
    // this object can be reached.
    void AttachObject(TFcObject* other);
    // Whether other can be reached from this object through Attached lists.
    bool Reaches(const TFcObject* other) const;

    // Makes the object visible and scrolls the canvas so that it can be seen.
    void ScrollIntoView();

protected:
    void Changed() override;

private:
    friend class TCustomFlowChart;
    friend class TFcConnection;
    TFcObject(TCustomFlowChart* owner, const TFcBounds& bounds, uint8_t shape);

    template <typename T> void Assign(T& field, T value) {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    TFcBounds BoundsValue;
    uint8_t ShapeValue = 0;
    TColor FillColorValue = 0;
    TColor OutlineColorValue = clBlack;
    uint8_t OutlineWidthValue = 1;
    uint16_t EdgeKindValue = 0;
    uint16_t EdgeSidesValue = 15;
    uint8_t TextHAlignValue = 0;
    uint8_t TextVAlignValue = 0;
    int16_t ImageIndexValue = -1;
    uint8_t ImageHAlignValue = 0;
    uint8_t ImageVAlignValue = 0;
    bool VisibleValue = true;

    std::vector<TFcConnection*> ConnectionList;
    std::vector<TFcObject*> AttachedList;
    // Objects whose Attached list holds this one, so that removal is cheap.
    std::vector<TFcObject*> AttachedBy;
    template <typename> friend class TFcItemStore;
    size_t Slot = 0;
};
