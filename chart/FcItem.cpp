#include "chart/FcItem.h"

#include "chart/CustomFlowChart.h"

TFcItem::TFcItem(TCustomFlowChart* owner) : Owner(owner), FontValue(owner->Font()) {}

void TFcItem::SetText(const QString& text) {
    if (text == TextValue)
        return;
    TextValue = text;
    Changed();
}

void TFcItem::SetFont(const TFcFont& font) {
    ParentFontValue = false;
    if (font == FontValue)
        return;
    FontValue = font;
    Changed();
}

void TFcItem::SetParentFont(bool value) {
    if (value == ParentFontValue)
        return;
    ParentFontValue = value;
    if (value && !(FontValue == Owner->Font())) {
        FontValue = Owner->Font();
        Changed();
    }
}

QFont TFcFont::ToQFont() const {
    QFont font(Name);
    font.setPixelSize(Height < 0 ? -Height : (Height > 0 ? Height : 12));
    font.setBold(Style & fsBold);
    font.setItalic(Style & fsItalic);
    font.setUnderline(Style & fsUnderline);
    font.setStrikeOut(Style & fsStrikeOut);
    return font;
}
