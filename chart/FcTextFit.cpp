#include "chart/FcTextFit.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Pixels between the ink of one line and the next.
constexpr int LineGap = 1;

struct TWrapped {
    QList<qsizetype> Starts;
    QList<qsizetype> Lengths;
    bool Complete = true;
};

TWrapped Wrap(const QString& text, const QFont& font, qreal width, int maxLines) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    TWrapped wrapped;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (wrapped.Starts.size() == maxLines) {
            wrapped.Complete = false;
            break;
        }
        line.setLineWidth(width);
        wrapped.Starts.append(line.textStart());
        wrapped.Lengths.append(line.textLength());
    }
    layout.endLayout();
    return wrapped;
}

} // namespace

TFcTextFit FcFitText(const QString& text, const QFont& font, const QRect& box,
                     Qt::Alignment alignment) {
    TFcTextFit fit;
    if (text.isEmpty() || box.isEmpty())
        return fit;
    // The box decides where lines break.
    QString flat = text;
    flat.replace(u'\n', u' ').replace(u'\r', u' ');
    const int largest = font.pixelSize() > 0 ? font.pixelSize() : 12;
    const int smallest = std::min(largest, FcMinTextPixelSize);
    int ascent = 0; // baseline below the top of the ink
    int inkHeight = 0;
    int maxLines = 1;
    const auto setSize = [&](int size) {
        fit.Font = font;
        fit.Font.setPixelSize(size);
        // Lines are spaced by what is drawn, not by the font's generous line
        // height: the ink of the text itself, and of a CJK character and a
        // capital so that short captions sit alike.
        const QRectF ink = QFontMetricsF(fit.Font).tightBoundingRect(flat + u"国A"_s);
        ascent = int(std::ceil(-ink.top()));
        inkHeight = ascent + int(std::ceil(ink.bottom()));
        maxLines = std::max(1, (box.height() + LineGap) / (inkHeight + LineGap));
    };

    // One line in the object's own size if it fits; else a caption such as
    // "调用子程序:闪灯" reads best broken after its prefix, even in smaller
    // type; else wherever the lines fill up.
    setSize(largest);
    TWrapped wrapped = Wrap(flat, fit.Font, box.width(), 1);
    const qsizetype colon = flat.indexOf(u':');
    qsizetype valueStart = colon + 1;
    while (valueStart < flat.size() && flat[valueStart] == u' ')
        ++valueStart;
    bool split = false;
    if (!wrapped.Complete && colon > 0 && valueStart < flat.size()) {
        // The prefix on a line of its own, the value on the lines below it;
        // a value too long even in the smallest type is cut, the prefix never.
        const QString value = flat.mid(valueStart);
        int splitSize = 0;
        for (int size = largest; size >= smallest; --size) {
            setSize(size);
            if (maxLines < 2 ||
                QFontMetricsF(fit.Font).horizontalAdvance(flat.left(colon + 1)) > box.width())
                continue;
            TWrapped lines = Wrap(value, fit.Font, box.width(), maxLines - 1);
            for (qsizetype& start : lines.Starts)
                start += valueStart;
            lines.Starts.prepend(0);
            lines.Lengths.prepend(colon + 1);
            wrapped = lines;
            splitSize = size;
            if (wrapped.Complete)
                break;
        }
        split = splitSize > 0;
        if (split)
            setSize(splitSize);
    }
    for (int size = largest; !split && !wrapped.Complete && size >= smallest; --size) {
        setSize(size);
        wrapped = Wrap(flat, fit.Font, box.width(), maxLines);
    }
    const QFontMetricsF metrics(fit.Font);
    for (qsizetype i = 0; i < wrapped.Starts.size(); ++i)
        fit.Lines.append(flat.mid(wrapped.Starts[i], wrapped.Lengths[i]));
    if (!wrapped.Complete) {
        fit.Lines.last() =
            metrics.elidedText(flat.mid(wrapped.Starts.last()), Qt::ElideRight, box.width());
        fit.Elided = true;
    }

    const qsizetype count = fit.Lines.size();
    const int height = int(count) * inkHeight + int(count - 1) * LineGap;
    int top = box.top();
    if (alignment & Qt::AlignVCenter)
        top += (box.height() - height) / 2;
    else if (alignment & Qt::AlignBottom)
        top += box.height() - height;
    for (qsizetype i = 0; i < count; ++i) {
        QString& line = fit.Lines[i];
        // A space where a line was broken is not drawn.
        while (line.endsWith(u' '))
            line.chop(1);
        const qreal width = metrics.horizontalAdvance(line);
        qreal left = box.left();
        if (alignment & Qt::AlignHCenter)
            left += (box.width() - width) / 2;
        else if (alignment & Qt::AlignRight)
            left += box.width() - width;
        fit.Origins.append(
            QPointF(std::round(left), top + int(i) * (inkHeight + LineGap) + ascent));
    }
    return fit;
}
