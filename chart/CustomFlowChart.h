#pragma once

// The behaviour of the chart canvas: it owns its objects and connections,
// paints them in creation order with the lines on top and the selection marks
// last, hit-tests presses, keeps the selection (asking OnSelection first) and
// scrolls over the union of all items.
//
// Moving many objects must stay cheap, so the scrollable extent grows at once
// but is recomputed from scratch only when a move may have shrunk it, and then
// once, after the current event or at the end of an update lock.

#include "chart/FcConnection.h"
#include "chart/FcItemStore.h"
#include "chart/FcObject.h"
#include "chart/FcTextFit.h"
#include "chart/FcTypes.h"

#include <QAbstractScrollArea>

class QMimeData;
class QDropEvent;
#include <QList>
#include <QPixmap>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

class TCustomFlowChart : public QAbstractScrollArea {
    Q_OBJECT
public:
    using TFcAllowEvent = std::function<void(TCustomFlowChart* sender, TFcItem* item, bool& allow)>;
    using TNotifyEvent = std::function<void(TCustomFlowChart* sender)>;

    explicit TCustomFlowChart(QWidget* parent = nullptr);
    ~TCustomFlowChart() override;

    TColor Color() const { return ColorValue; }
    void SetColor(TColor color);
    const TFcFont& Font() const { return FontValue; }
    // Items whose ParentFont is still true follow.
    void SetFont(const TFcFont& font);
    const QList<QPixmap>& Images() const { return ImageList; }
    void SetImages(const QList<QPixmap>& images);
    TFcOptions Options() const { return OptionsValue; }
    void SetOptions(TFcOptions options) { OptionsValue = options; }
    int Zoom() const { return 100; }

    // A new object on top of all others, every other property at its default.
    TFcObject* AddObject();
    TFcObject* AddObject(int32_t left, int32_t top, uint16_t width, uint16_t height, uint8_t shape);
    // Destroys the object together with the connections that end at it.
    void RemoveObject(TFcObject* object);
    TFcConnection* AddConnection(TFcObject* source, TFcObject* destination, uint8_t sourcePoint,
                                 uint8_t destinationPoint);
    void RemoveConnection(TFcConnection* connection);

    int ObjectCount() const { return ObjectStore.Count(); }
    int ConnectionCount() const { return ConnectionStore.Count(); }
    // In creation order, which is also the painting order.
    std::vector<TFcObject*> Objects() const;
    std::vector<TFcConnection*> Connections() const;

    // The selected object when exactly one object and no connection is selected.
    TFcObject* Selection() const;
    void SetSelection(TFcItem* item);
    // Selects exactly these objects (each still asked through OnSelection),
    // whatever the multi-select option says: a range of blocks.
    void SelectObjects(const std::vector<TFcObject*>& objects);
    const std::vector<TFcObject*>& SelectedObjectList() const { return SelectedObjects; }
    int SelectionCount() const { return int(SelectedObjects.size()); }
    const std::vector<TFcConnection*>& SelectedConnections() const { return SelectedLines; }

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return UpdateCounter; }

    // The item a left press at p (content coordinates) goes to, or none.
    TFcItem* ItemAt(TFcPoint p) const;
    // Content point shown at the viewport's top-left corner.
    TFcPoint ScrollOffset() const;
    void SetScrollOffset(TFcPoint offset);
    // Union of every object rectangle and every line's bounding box.
    TFcRect ScrollExtent();
    void ScrollIntoView(TFcObject* object);

    // Paints the part of the content that lies in area (content coordinates).
    void PaintContent(QPainter& painter, const TFcRect& area) const;
    // How the object's text is set in its box (FcFitText).
    static TFcTextFit FitObjectText(const TFcObject& object);
    // The whole text of the object at p when its box shows it cut; else empty.
    QString ToolTipAt(TFcPoint p) const;

    TFcAllowEvent OnSelection;
    TNotifyEvent OnDblClick;
    // A left press with Shift held, on the item under the mouse (or none).
    std::function<void(TCustomFlowChart* sender, TFcItem* item)> OnShiftClick;
    // A right press: the item under the mouse (selected first unless it was
    // already) and where the menu goes, in global coordinates.
    std::function<void(TCustomFlowChart* sender, TFcItem* item, QPoint globalPos)> OnContextMenu;
    // The mouse left the pressed object with the left button held: a drag
    // may start (the handler runs it, e.g. with QDrag).
    std::function<void(TCustomFlowChart* sender, TFcObject* pressed)> OnStartDrag;
    // A drag over the chart at p (content coordinates): answers whether a
    // drop would be taken, and the object to highlight as the target.
    std::function<bool(TCustomFlowChart* sender, const QMimeData* data, TFcPoint p,
                       TFcObject*& target)>
        OnDragOver;
    std::function<void(TCustomFlowChart* sender, const QMimeData* data, TFcPoint p)> OnDrop;

    // The object drawn as a drop's target while a drag is over the chart.
    TFcObject* DropTarget() const { return DropTargetObject; }
    void SetDropTarget(TFcObject* object);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class TFcItem;
    friend class TFcObject;
    friend class TFcConnection;

    TFcObject* NewObject(const TFcBounds& bounds, uint8_t shape);
    void Invalidate(const TFcRect& contentRect);
    TFcRect FcRectOfViewport() const;
    void ObjectChanged(TFcObject* object);
    void ObjectBoundsChanged(TFcObject* object, const TFcBounds& old);
    void ConnectionChanged(TFcConnection* connection);
    void ExtentChanged(const TFcRect& oldRect, const TFcRect& newRect);
    void MarkExtentDirty();
    void RecomputeExtent();
    void ApplyScrollRanges();
    void FlushExtent();

    void ClearSelection();
    void Deselect(TFcItem* item);
    void Offer(TFcItem* item);

    void PaintObject(QPainter& painter, const TFcObject& object) const;

    TColor ColorValue = clWhite;
    TFcFont FontValue;
    QList<QPixmap> ImageList;
    TFcOptions OptionsValue = fcoCanDrag | fcoCanSelect;

    TFcItemStore<TFcObject> ObjectStore;
    TFcItemStore<TFcConnection> ConnectionStore;
    std::vector<TFcObject*> SelectedObjects;
    std::vector<TFcConnection*> SelectedLines;

    TFcObject* PressedObject = nullptr;
    QPoint PressPos;
    TFcObject* DropTargetObject = nullptr;
    bool DragOver(QDropEvent* event);

    int UpdateCounter = 0;
    bool RepaintPending = false;

    TFcRect Extent;
    bool ExtentDirty = false;
    bool ExtentRecomputeQueued = false;
    bool Destroying = false;
};
