#include "resources/IconPaths.h"

#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Every icon the program asks for, with the pixel size its place needs.
std::vector<std::pair<QString, QSize>> ExpectedIcons() {
    std::vector<std::pair<QString, QSize>> icons;
    for (int kind = 1; kind <= 26; ++kind)
        icons.emplace_back(u":/icons/palette/kind%1.svg"_s.arg(kind, 2, 10, QChar(u'0')), QSize(38, 38));
    for (int button = 1; button <= 10; ++button)
        icons.emplace_back(u":/icons/toolbar/SpeedButton%1.svg"_s.arg(button), QSize(32, 32));
    for (const char16_t* edit : {u"Undo", u"Redo"})
        icons.emplace_back(u":/icons/toolbar/%1.svg"_s.arg(QString::fromUtf16(edit)), QSize(32, 32));
    icons.emplace_back(u":/icons/robot_head.svg"_s, QSize(32, 31));
    icons.emplace_back(u":/icons/about.svg"_s, QSize(96, 96));
    icons.emplace_back(u":/icons/app.svg"_s, QSize(64, 64));
    return icons;
}

TEST(IconResource, EveryIconIsValidSvgOfItsSizeAndDrawsSomething) {
    for (const auto &[path, size] : ExpectedIcons()) {
        SCOPED_TRACE(path.toStdString());
        QSvgRenderer renderer(path);
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), size);
        EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));

        // An SVG can parse yet draw nothing when it leans on features the
        // renderer skips; a picture must cover at least a tenth of its square.
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(opaque, size.width() * size.height() / 10);
    }
}

TEST(IconResource, NumberedPathsMatchTheResource) {
    const auto icons = ExpectedIcons();
    for (int kind = 1; kind <= 26; ++kind)
        EXPECT_EQ(PaletteIconPath(kind), icons[kind - 1].first);
    for (int button = 1; button <= 10; ++button)
        EXPECT_EQ(ToolbarIconPath(button), icons[26 + button - 1].first);
}

TEST(IconResource, ResourceHoldsExactlyTheExpectedIcons) {
    std::set<QString> expected;
    for (const auto &icon : ExpectedIcons())
        expected.insert(icon.first);
    std::set<QString> found;
    QDirIterator it(u":/icons"_s, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.insert(it.next());
    EXPECT_EQ(found, expected);
}

}  // namespace
