#pragma once

// Common part of everything that lives on a chart canvas: the text, the font
// that follows the canvas font until it is set, and the selection flag, which
// only the canvas changes.

#include "chart/FcTypes.h"

#include <QString>

class TCustomFlowChart;

class TFcItem {
public:
    virtual ~TFcItem() = default;
    TFcItem(const TFcItem&) = delete;
    TFcItem& operator=(const TFcItem&) = delete;

    TCustomFlowChart* Chart() const { return Owner; }
    virtual bool IsObject() const = 0;

    const QString& Text() const { return TextValue; }
    void SetText(const QString& text);

    const TFcFont& Font() const { return FontValue; }
    // Any change of the font detaches the item from the canvas font.
    void SetFont(const TFcFont& font);
    bool ParentFont() const { return ParentFontValue; }
    void SetParentFont(bool value);

    bool Selected() const { return SelectedValue; }

protected:
    explicit TFcItem(TCustomFlowChart* owner);
    virtual void Changed() = 0;

private:
    friend class TCustomFlowChart;
    TCustomFlowChart* Owner;
    QString TextValue;
    TFcFont FontValue;
    bool ParentFontValue = true;
    bool SelectedValue = false;
};
