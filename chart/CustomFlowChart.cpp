#include "chart/CustomFlowChart.h"

#include "chart/FcTextFit.h"

#include <QHelpEvent>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace {

// Selection marks reach two pixels beyond an object's rectangle.
constexpr int ObjectRepaintMargin = FcMarkSize / 2 + 1;
constexpr int LineHitTolerance = 1;

// Colours of a raised 3D edge: outer light and dark, inner light and dark.
const QColor EdgeOuterLight(0xE3, 0xE3, 0xE3);
const QColor EdgeOuterDark(0x69, 0x69, 0x69);
const QColor EdgeInnerLight(0xFF, 0xFF, 0xFF);
const QColor EdgeInnerDark(0xA0, 0xA0, 0xA0);

enum : uint16_t { SideLeft = 1, SideTop = 2, SideRight = 4, SideBottom = 8 };

void DrawRaisedEdge(QPainter& p, const TFcBounds& b, uint16_t sides) {
    const int l = b.Left, t = b.Top, r = b.Left + b.Width - 1, bt = b.Top + b.Height - 1;
    auto line = [&p](int x0, int y0, int x1, int y1, const QColor& c) {
        if (x1 >= x0 && y1 >= y0)
            p.fillRect(QRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1), c);
    };
    // Dark sides first so that the light corners stay light, as the system
    // edge drawing does.
    if (sides & SideBottom)
        line(l, bt, r, bt, EdgeOuterDark);
    if (sides & SideRight)
        line(r, t, r, bt, EdgeOuterDark);
    if (sides & SideTop)
        line(l, t, r - 1, t, EdgeOuterLight);
    if (sides & SideLeft)
        line(l, t, l, bt - 1, EdgeOuterLight);
    if (sides & SideBottom)
        line(l + 1, bt - 1, r - 1, bt - 1, EdgeInnerDark);
    if (sides & SideRight)
        line(r - 1, t + 1, r - 1, bt - 1, EdgeInnerDark);
    if (sides & SideTop)
        line(l + 1, t + 1, r - 2, t + 1, EdgeInnerLight);
    if (sides & SideLeft)
        line(l + 1, t + 1, l + 1, bt - 2, EdgeInnerLight);
}

Qt::Alignment TextAlignment(uint8_t h, uint8_t v) {
    Qt::Alignment a = h == 1 ? Qt::AlignHCenter : (h == 2 ? Qt::AlignRight : Qt::AlignLeft);
    a |= v == 1 ? Qt::AlignVCenter : (v == 2 ? Qt::AlignBottom : Qt::AlignTop);
    return a;
}

} // namespace

TCustomFlowChart::TCustomFlowChart(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(8);
    verticalScrollBar()->setSingleStep(8);
    ApplyScrollRanges();
}

TCustomFlowChart::~TCustomFlowChart() {
    Destroying = true;
    SelectedObjects.clear();
    SelectedLines.clear();
    ConnectionStore.Clear();
    ObjectStore.Clear();
}

void TCustomFlowChart::SetColor(TColor color) {
    if (color == ColorValue)
        return;
    ColorValue = color;
    Invalidate(Extent.United(FcRectOfViewport()));
}

TFcRect TCustomFlowChart::FcRectOfViewport() const {
    const TFcPoint o = ScrollOffset();
    return {o.X, o.Y, o.X + viewport()->width(), o.Y + viewport()->height()};
}

void TCustomFlowChart::SetFont(const TFcFont& font) {
    if (font == FontValue)
        return;
    FontValue = font;
    for (const auto& e : ObjectStore.Entries())
        if (e.Item && e.Item->ParentFontValue)
            e.Item->FontValue = font;
    for (const auto& e : ConnectionStore.Entries())
        if (e.Item && e.Item->ParentFontValue)
            e.Item->FontValue = font;
    Invalidate(FcRectOfViewport());
}

void TCustomFlowChart::SetImages(const QList<QPixmap>& images) {
    ImageList = images;
    Invalidate(FcRectOfViewport());
}

TFcObject* TCustomFlowChart::AddObject() {
    return NewObject({0, 0, 0, 0}, 0);
}

TFcObject* TCustomFlowChart::AddObject(int32_t left, int32_t top, uint16_t width, uint16_t height,
                                       uint8_t shape) {
    return NewObject({left, top, width, height}, shape);
}

TFcObject* TCustomFlowChart::NewObject(const TFcBounds& bounds, uint8_t shape) {
    TFcObject* object = ObjectStore.Add(
        std::unique_ptr<TFcObject>(new TFcObject(this, bounds, shape)), bounds.Rect());
    Invalidate(object->BoundsRect().Inflated(ObjectRepaintMargin));
    ExtentChanged({}, object->BoundsRect());
    return object;
}

void TCustomFlowChart::RemoveObject(TFcObject* object) {
    // No pointer the input handling keeps may outlive its object.
    if (object == DropTargetObject)
        DropTargetObject = nullptr;
    if (object == PressedObject)
        PressedObject = nullptr;
    if (object == nullptr || object->Chart() != this)
        return;
    if (object->SelectedValue) {
        std::erase(SelectedObjects, object);
        object->SelectedValue = false;
    }
    const std::vector<TFcConnection*> connections = object->ConnectionList;
    for (TFcConnection* c : connections)
        RemoveConnection(c);
    for (TFcObject* holder : object->AttachedBy)
        std::erase(holder->AttachedList, object);
    for (TFcObject* member : object->AttachedList)
        std::erase(member->AttachedBy, object);
    const TFcRect rect = object->BoundsRect();
    ObjectStore.Remove(object);
    Invalidate(rect.Inflated(ObjectRepaintMargin));
    ExtentChanged(rect, {});
}

TFcConnection* TCustomFlowChart::AddConnection(TFcObject* source, TFcObject* destination,
                                               uint8_t sourcePoint, uint8_t destinationPoint) {
    if (source == nullptr || destination == nullptr || source->Chart() != this ||
        destination->Chart() != this)
        return nullptr;
    auto created = std::unique_ptr<TFcConnection>(
        new TFcConnection(this, source, destination, sourcePoint, destinationPoint));
    const TFcRect box = created->BoundsRect();
    TFcConnection* connection = ConnectionStore.Add(std::move(created), box);
    source->ConnectionList.push_back(connection);
    if (destination != source)
        destination->ConnectionList.push_back(connection);
    Invalidate(connection->BoundsRect().Inflated(1));
    ExtentChanged({}, connection->BoundsRect());
    return connection;
}

void TCustomFlowChart::RemoveConnection(TFcConnection* connection) {
    if (connection == nullptr || connection->Chart() != this)
        return;
    if (connection->SelectedValue) {
        std::erase(SelectedLines, connection);
        connection->SelectedValue = false;
    }
    std::erase(connection->SourceObject->ConnectionList, connection);
    std::erase(connection->DestinationObject->ConnectionList, connection);
    const TFcRect box = connection->BoundsRect();
    ConnectionStore.Remove(connection);
    Invalidate(box.Inflated(1));
    ExtentChanged(box, {});
}

std::vector<TFcObject*> TCustomFlowChart::Objects() const {
    std::vector<TFcObject*> result;
    result.reserve(size_t(ObjectStore.Count()));
    for (const auto& e : ObjectStore.Entries())
        if (e.Item)
            result.push_back(e.Item.get());
    return result;
}

std::vector<TFcConnection*> TCustomFlowChart::Connections() const {
    std::vector<TFcConnection*> result;
    result.reserve(size_t(ConnectionStore.Count()));
    for (const auto& e : ConnectionStore.Entries())
        if (e.Item)
            result.push_back(e.Item.get());
    return result;
}

TFcObject* TCustomFlowChart::Selection() const {
    return SelectedObjects.size() == 1 && SelectedLines.empty() ? SelectedObjects.front() : nullptr;
}

void TCustomFlowChart::SetSelection(TFcItem* item) {
    if (item != nullptr && item == Selection())
        return;
    ClearSelection();
    if (item != nullptr && item->Chart() == this)
        Offer(item);
}

void TCustomFlowChart::ClearSelection() {
    while (!SelectedLines.empty())
        Deselect(SelectedLines.back());
    while (!SelectedObjects.empty())
        Deselect(SelectedObjects.back());
}

void TCustomFlowChart::Deselect(TFcItem* item) {
    if (!item->SelectedValue)
        return;
    item->SelectedValue = false;
    if (item->IsObject()) {
        auto* object = static_cast<TFcObject*>(item);
        std::erase(SelectedObjects, object);
        ObjectChanged(object);
    } else {
        auto* connection = static_cast<TFcConnection*>(item);
        std::erase(SelectedLines, connection);
        ConnectionChanged(connection);
    }
}

void TCustomFlowChart::Offer(TFcItem* item) {
    if (item->SelectedValue)
        return;
    bool allow = (OptionsValue & fcoCanSelect) != 0;
    if (OnSelection)
        OnSelection(this, item, allow);
    if (!allow)
        return;
    if (!(OptionsValue & fcoMultiSelect))
        ClearSelection();
    item->SelectedValue = true;
    if (item->IsObject()) {
        auto* object = static_cast<TFcObject*>(item);
        SelectedObjects.push_back(object);
        ObjectChanged(object);
    } else {
        auto* connection = static_cast<TFcConnection*>(item);
        SelectedLines.push_back(connection);
        ConnectionChanged(connection);
    }
}

void TCustomFlowChart::BeginUpdate() {
    if (UpdateCounter == 0)
        RepaintPending = false;
    ++UpdateCounter;
}

void TCustomFlowChart::EndUpdate() {
    if (UpdateCounter == 0)
        return;
    if (--UpdateCounter > 0)
        return;
    if (RepaintPending) {
        RepaintPending = false;
        viewport()->update();
    }
    if (ExtentDirty)
        RecomputeExtent();
}

TFcItem* TCustomFlowChart::ItemAt(TFcPoint p) const {
    // Lines are painted over the objects, so they take the press first.
    const auto& lines = ConnectionStore.Entries();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->Item && it->Rect.Inflated(LineHitTolerance).Contains(p) &&
            FcSegmentHit(it->Item->First, it->Item->Last, p, LineHitTolerance))
            return it->Item.get();
    const auto& objects = ObjectStore.Entries();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if (!it->Item || !it->Rect.Contains(p))
            continue;
        const TFcObject& o = *it->Item;
        if (o.VisibleValue &&
            FcBodyContains(o.BoundsValue, o.ShapeValue, o.EdgeKindValue, o.OutlineWidthValue, p))
            return it->Item.get();
    }
    return nullptr;
}

TFcPoint TCustomFlowChart::ScrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void TCustomFlowChart::SetScrollOffset(TFcPoint offset) {
    horizontalScrollBar()->setValue(offset.X);
    verticalScrollBar()->setValue(offset.Y);
}

TFcRect TCustomFlowChart::ScrollExtent() {
    FlushExtent();
    return Extent;
}

void TCustomFlowChart::ScrollIntoView(TFcObject* object) {
    if (object == nullptr || object->Chart() != this)
        return;
    object->SetVisible(true);
    FlushExtent();
    const TFcPoint o = ScrollOffset();
    TFcRect rect = object->BoundsRect();
    TFcRect inner = FcInnerRect(object->BoundsValue, object->OutlineWidthValue);
    rect = {rect.Left - o.X, rect.Top - o.Y, rect.Right - o.X, rect.Bottom - o.Y};
    inner = {inner.Left - o.X, inner.Top - o.Y, inner.Right - o.X, inner.Bottom - o.Y};
    if (auto target = FcScrollIntoView(rect, inner, viewport()->width(), viewport()->height(), o))
        SetScrollOffset(*target);
}

void TCustomFlowChart::Invalidate(const TFcRect& contentRect) {
    if (Destroying)
        return;
    if (UpdateCounter > 0) {
        RepaintPending = true;
        return;
    }
    const TFcRect visible = FcRectOfViewport();
    if (!contentRect.Intersects(visible))
        return;
    const QRect r =
        FcToQRect(contentRect).translated(-visible.Left, -visible.Top) & viewport()->rect();
    if (!r.isEmpty())
        viewport()->update(r);
}

void TCustomFlowChart::ObjectChanged(TFcObject* object) {
    Invalidate(object->BoundsRect().Inflated(ObjectRepaintMargin));
}

void TCustomFlowChart::ObjectBoundsChanged(TFcObject* object, const TFcBounds& old) {
    const TFcRect oldRect = old.Rect();
    const TFcRect newRect = object->BoundsRect();
    ObjectStore.SetRect(object, newRect);
    Invalidate(oldRect.Inflated(ObjectRepaintMargin));
    Invalidate(newRect.Inflated(ObjectRepaintMargin));
    for (TFcConnection* c : object->ConnectionList) {
        const TFcRect oldBox = c->BoundsRect();
        c->Follow();
        const TFcRect newBox = c->BoundsRect();
        if (oldBox == newBox)
            continue;
        ConnectionStore.SetRect(c, newBox);
        Invalidate(oldBox.Inflated(1));
        Invalidate(newBox.Inflated(1));
        ExtentChanged(oldBox, newBox);
    }
    ExtentChanged(oldRect, newRect);
}

void TCustomFlowChart::ConnectionChanged(TFcConnection* connection) {
    Invalidate(connection->BoundsRect().Inflated(1));
}

void TCustomFlowChart::ExtentChanged(const TFcRect& oldRect, const TFcRect& newRect) {
    if (Destroying)
        return;
    if (UpdateCounter > 0) {
        ExtentDirty = true;
        return;
    }
    // Only an item that touched a side of the extent and left it can make the
    // extent smaller; that needs a full pass, which is deferred and batched.
    if (!ExtentDirty && !oldRect.IsEmpty()) {
        const bool gone = newRect.IsEmpty();
        const bool mayShrink =
            (oldRect.Left == Extent.Left && (gone || newRect.Left > Extent.Left)) ||
            (oldRect.Top == Extent.Top && (gone || newRect.Top > Extent.Top)) ||
            (oldRect.Right == Extent.Right && (gone || newRect.Right < Extent.Right)) ||
            (oldRect.Bottom == Extent.Bottom && (gone || newRect.Bottom < Extent.Bottom));
        if (mayShrink)
            MarkExtentDirty();
    }
    if (!newRect.IsEmpty() && !Extent.ContainsRect(newRect)) {
        Extent = Extent.United(newRect);
        ApplyScrollRanges();
    }
}

void TCustomFlowChart::MarkExtentDirty() {
    ExtentDirty = true;
    if (ExtentRecomputeQueued)
        return;
    ExtentRecomputeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            ExtentRecomputeQueued = false;
            FlushExtent();
        },
        Qt::QueuedConnection);
}

void TCustomFlowChart::FlushExtent() {
    if (ExtentDirty && UpdateCounter == 0)
        RecomputeExtent();
}

void TCustomFlowChart::RecomputeExtent() {
    Extent = ObjectStore.Union().United(ConnectionStore.Union());
    ExtentDirty = false;
    ApplyScrollRanges();
}

void TCustomFlowChart::ApplyScrollRanges() {
    const QSize size = viewport()->size();
    const int hMin = std::min(0, Extent.Left);
    const int vMin = std::min(0, Extent.Top);
    horizontalScrollBar()->setRange(hMin, std::max(hMin, Extent.Right - size.width()));
    verticalScrollBar()->setRange(vMin, std::max(vMin, Extent.Bottom - size.height()));
    horizontalScrollBar()->setPageStep(std::max(1, size.width()));
    verticalScrollBar()->setPageStep(std::max(1, size.height()));
}

void TCustomFlowChart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ApplyScrollRanges();
}

void TCustomFlowChart::scrollContentsBy(int, int) {
    viewport()->update();
}

void TCustomFlowChart::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const TFcPoint o = ScrollOffset();
    const QRect damaged = event->rect();
    painter.translate(-o.X, -o.Y);
    PaintContent(painter,
                 {damaged.left() + o.X, damaged.top() + o.Y, damaged.left() + o.X + damaged.width(),
                  damaged.top() + o.Y + damaged.height()});
}

void TCustomFlowChart::PaintContent(QPainter& painter, const TFcRect& area) const {
    painter.save();
    painter.setClipRect(FcToQRect(area), Qt::IntersectClip);
    painter.fillRect(FcToQRect(area), FcToQColor(ColorValue));
    for (const auto& e : ObjectStore.Entries())
        if (e.Rect.Intersects(area) && e.Item->VisibleValue)
            PaintObject(painter, *e.Item);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    for (const auto& e : ConnectionStore.Entries())
        if (e.Rect.Intersects(area))
            painter.drawLine(QPoint(e.Item->First.X, e.Item->First.Y),
                             QPoint(e.Item->Last.X, e.Item->Last.Y));
    if (DropTargetObject && DropTargetObject->BoundsRect().Inflated(ObjectRepaintMargin).Intersects(area)) {
        // Where a dragged block would land: a frame the colour of a selection
        // in the toolkit's palette, clear of the object.
        const TFcBounds& b = DropTargetObject->BoundsValue;
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(b.Left - 2, b.Top - 2, b.Width + 4, b.Height + 4));
    }
    for (const TFcObject* o : SelectedObjects) {
        if (!o->BoundsRect().Inflated(ObjectRepaintMargin).Intersects(area))
            continue;
        for (const TFcPoint& m : FcSelectionMarkCentres(o->BoundsValue))
            painter.fillRect(
                QRect(m.X - FcMarkSize / 2, m.Y - FcMarkSize / 2, FcMarkSize, FcMarkSize),
                Qt::black);
    }
    painter.restore();
}

void TCustomFlowChart::PaintObject(QPainter& painter, const TFcObject& o) const {
    const TFcBounds& b = o.BoundsValue;
    const QRect full(b.Left, b.Top, b.Width, b.Height);
    const int ow = o.OutlineWidthValue;
    const QColor fill = FcToQColor(o.FillColorValue);
    if (o.ShapeValue == 1 && o.EdgeKindValue != 0) {
        painter.fillRect(full, fill);
        DrawRaisedEdge(painter, b, o.EdgeSidesValue);
    } else if (o.ShapeValue == 3) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (ow > 0)
            painter.setPen(QPen(FcToQColor(o.OutlineColorValue), ow));
        else
            painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        const QRectF r = QRectF(full).adjusted(ow / 2.0, ow / 2.0, -ow / 2.0, -ow / 2.0);
        painter.drawRoundedRect(r, b.Width / 4.0, b.Height / 4.0);
        painter.restore();
    } else if (o.ShapeValue != 0) {
        if (ow > 0) {
            painter.fillRect(full, FcToQColor(o.OutlineColorValue));
            painter.fillRect(full.adjusted(ow, ow, -ow, -ow), fill);
        } else {
            painter.fillRect(full, fill);
        }
    }

    const TFcRect inner = FcInnerRect(b, ow);
    const int index = o.ImageIndexValue;
    if (index >= 0 && index < ImageList.size()) {
        const QPixmap& picture = ImageList[index];
        if (auto at = FcPicturePlace(inner, picture.width(), picture.height(), o.ImageHAlignValue,
                                     o.ImageVAlignValue))
            painter.drawPixmap(at->X, at->Y, picture);
    }
    if (!o.Text().isEmpty() && !inner.IsEmpty()) {
        const TFcTextFit fit = FitObjectText(o);
        painter.save();
        painter.setClipRect(FcToQRect(inner), Qt::IntersectClip);
        painter.setFont(fit.Font);
        painter.setPen(FcToQColor(o.Font().Color));
        for (qsizetype i = 0; i < fit.Lines.size(); ++i)
            painter.drawText(fit.Origins[i], fit.Lines[i]);
        painter.restore();
    }
}

TFcTextFit TCustomFlowChart::FitObjectText(const TFcObject& o) {
    const TFcRect inner = FcInnerRect(o.BoundsValue, o.OutlineWidthValue);
    QRect box = FcToQRect(inner);
    // The inner rows and columns of a raised edge belong to the edge.
    if (o.ShapeValue == 1 && o.EdgeKindValue != 0)
        box.adjust(1, 1, 0, 0);
    return FcFitText(o.Text(), o.Font().ToQFont(), box,
                     TextAlignment(o.TextHAlignValue, o.TextVAlignValue));
}

QString TCustomFlowChart::ToolTipAt(TFcPoint p) const {
    TFcItem* item = ItemAt(p);
    if (item == nullptr || !item->IsObject())
        return QString();
    const auto* object = static_cast<const TFcObject*>(item);
    return FitObjectText(*object).Elided ? object->Text() : QString();
}

bool TCustomFlowChart::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const TFcPoint o = ScrollOffset();
        const QString tip = ToolTipAt({help->pos().x() + o.X, help->pos().y() + o.Y});
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TCustomFlowChart::mousePressEvent(QMouseEvent* event) {
    const TFcPoint o = ScrollOffset();
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        OnShiftClick) {
        setFocus(Qt::MouseFocusReason);
        OnShiftClick(this, ItemAt({pos.x() + o.X, pos.y() + o.Y}));
        return;
    }
    if (event->button() != Qt::LeftButton || (event->modifiers() & Qt::ShiftModifier)) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    TFcItem* item = ItemAt({pos.x() + o.X, pos.y() + o.Y});
    PressedObject = item && item->IsObject() ? static_cast<TFcObject*>(item) : nullptr;
    PressPos = pos;
    if (item == nullptr || (item->IsObject() && item->SelectedValue))
        return;
    ClearSelection();
    Offer(item);
}

void TCustomFlowChart::mouseMoveEvent(QMouseEvent* event) {
    if (PressedObject && OnStartDrag && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - PressPos).manhattanLength() >=
            QApplication::startDragDistance()) {
        TFcObject* pressed = PressedObject;
        PressedObject = nullptr;
        // Only an object still on the chart and selected is dragged.
        if (pressed->SelectedValue)
            OnStartDrag(this, pressed);
        return;
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TCustomFlowChart::mouseReleaseEvent(QMouseEvent* event) {
    PressedObject = nullptr;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TCustomFlowChart::SetDropTarget(TFcObject* object) {
    if (object == DropTargetObject)
        return;
    if (DropTargetObject)
        ObjectChanged(DropTargetObject);
    DropTargetObject = object;
    if (DropTargetObject)
        ObjectChanged(DropTargetObject);
}

bool TCustomFlowChart::DragOver(QDropEvent* event) {
    TFcObject* target = nullptr;
    const TFcPoint o = ScrollOffset();
    const QPoint pos = event->position().toPoint();
    const bool take =
        OnDragOver && OnDragOver(this, event->mimeData(), {pos.x() + o.X, pos.y() + o.Y}, target);
    SetDropTarget(take ? target : nullptr);
    if (take)
        event->acceptProposedAction();
    else
        event->ignore();
    return take;
}

void TCustomFlowChart::dragEnterEvent(QDragEnterEvent* event) {
    DragOver(event);
}

void TCustomFlowChart::dragMoveEvent(QDragMoveEvent* event) {
    DragOver(event);
}

void TCustomFlowChart::dragLeaveEvent(QDragLeaveEvent*) {
    SetDropTarget(nullptr);
}

void TCustomFlowChart::dropEvent(QDropEvent* event) {
    const bool take = DragOver(event);
    SetDropTarget(nullptr);
    if (!take || !OnDrop)
        return;
    const TFcPoint o = ScrollOffset();
    const QPoint pos = event->position().toPoint();
    OnDrop(this, event->mimeData(), {pos.x() + o.X, pos.y() + o.Y});
}

void TCustomFlowChart::contextMenuEvent(QContextMenuEvent* event) {
    if (!OnContextMenu) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const TFcPoint o = ScrollOffset();
    const QPoint pos = event->pos(); // the viewport's, as for presses
    TFcItem* item = ItemAt({pos.x() + o.X, pos.y() + o.Y});
    if (item != nullptr && !item->SelectedValue) {
        ClearSelection();
        Offer(item);
    }
    OnContextMenu(this, item, event->globalPos());
}

void TCustomFlowChart::SelectObjects(const std::vector<TFcObject*>& objects) {
    ClearSelection();
    for (TFcObject* object : objects) {
        if (object == nullptr || object->SelectedValue || object->Chart() != this)
            continue;
        bool allow = (OptionsValue & fcoCanSelect) != 0;
        if (OnSelection)
            OnSelection(this, object, allow);
        if (!allow)
            continue;
        object->SelectedValue = true;
        SelectedObjects.push_back(object);
        ObjectChanged(object);
    }
}

void TCustomFlowChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    if (OnDblClick)
        OnDblClick(this);
}
