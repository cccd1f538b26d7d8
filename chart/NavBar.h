#pragma once

// The block palette: the catalogue's groups of block kinds, one open at a
// time, each item a 38 x 38 icon over its catalogue caption. Kinds 7 and 8
// have items but belong to no group, so they are never shown and cannot be
// clicked.

#include "blocks/BlockCatalogue.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <vector>

class QAbstractButton;
class QScrollArea;
class QPushButton;
class QVBoxLayout;

class TNavBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int ItemCount = LastBlockKind;
    static constexpr int IconSize = 38;

    explicit TNavBar(QWidget* parent = nullptr);

    int GroupCount() const { return int(Groups.size()); }
    QString GroupCaption(int group) const;
    // Kinds of the group's items, top to bottom.
    std::vector<int> GroupItems(int group) const;
    int ActiveGroupIndex() const { return ActiveGroup; }
    void SetActiveGroupIndex(int group);

    // Caption of item kind (1..26); empty outside.
    QString ItemCaption(int kind) const;
    QPixmap ItemIcon(int kind) const;
    // The item's button in its group, or none for kinds in no group.
    QAbstractButton* ItemButton(int kind) const;
    QAbstractButton* GroupButton(int group) const;

signals:
    void ItemClicked(int kind);

protected:
    // An item dragged away from its button starts a drag of its kind.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TGroup {
        QString Caption;
        std::vector<int> Kinds;
        QPushButton* Header = nullptr;
        QScrollArea* Page = nullptr;
    };
    std::vector<TGroup> Groups;
    std::vector<QString> Captions;
    std::vector<QPixmap> Icons;
    std::vector<QAbstractButton*> Buttons;
    int ActiveGroup = 0;
    QPoint DragStart;
};

// A palette item on the move: its kind under a MIME type of the program's own.
inline const QString PaletteKindMimeType = QStringLiteral("application/x-dedevav-kind");
class QMimeData;
QMimeData* PaletteKindMimeData(int kind);
// The kind a drag carries, or 0.
int PaletteKindOf(const QMimeData* data);
