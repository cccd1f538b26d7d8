#pragma once

// A straight line between a numbered connection point of one object and one
// of another. Its ends follow the objects whenever their bounds change.

#include "chart/FcItem.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TFcObject;

struct TFcConnectionArrow {
    // 0: no arrowhead; the program never draws any.
    uint8_t Kind = 0;
};

class TFcConnection : public TFcItem {
public:
    bool IsObject() const override { return false; }

    TFcObject* Source() const { return SourceObject; }
    uint8_t SourcePoint() const { return SourcePointValue; }
    TFcObject* Destination() const { return DestinationObject; }
    uint8_t DestinationPoint() const { return DestinationPointValue; }

    uint8_t Style() const { return StyleValue; }
    void SetStyle(uint8_t style);

    TFcConnectionArrow SourceArrow;
    TFcConnectionArrow DestinationArrow;
    TColor PenColor() const { return clBlack; }
    int PenWidth() const { return 1; }

    TFcPoint FirstEnd() const { return First; }
    TFcPoint LastEnd() const { return Last; }
    // Bounding box of the line's pixels.
    TFcRect BoundsRect() const { return FcSegmentBounds(First, Last); }

protected:
    void Changed() override;

private:
    friend class TCustomFlowChart;
    friend class TFcObject;
    TFcConnection(TCustomFlowChart* owner, TFcObject* source, TFcObject* destination,
                  uint8_t sourcePoint, uint8_t destinationPoint);
    // Recomputes both ends from the objects.
    void Follow();

    TFcObject* SourceObject;
    TFcObject* DestinationObject;
    uint8_t SourcePointValue;
    uint8_t DestinationPointValue;
    uint8_t StyleValue = 0;
    TFcPoint First;
    TFcPoint Last;
    template <typename> friend class TFcItemStore;
    size_t Slot = 0;
};
