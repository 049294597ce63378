// The colour wheel: its geometry, the colour a point picks, and the marker.
#include "app/ColorPalette.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

void paintOnce(ColorPalette &wheel)
{
    QImage target(int(wheel.width()), int(wheel.height()), QImage::Format_ARGB32);
    QPainter painter(&target);
    wheel.paint(&painter);
}

// The colour picked at a point, "" when none; hues at a pixel centre are a
// fraction of a degree off the exact angle, so channels are rounded to 0 or 255.
QString pick(ColorPalette &wheel, int x, int y)
{
    QSignalSpy picked(&wheel, &ColorPalette::colorChang);
    wheel.mouseMove(x, y);
    if (picked.isEmpty())
        return QString();
    const QColor c(picked.first().first().toString());
    return QColor(c.red() > 127 ? 255 : 0, c.green() > 127 ? 255 : 0, c.blue() > 127 ? 255 : 0).name();
}

} // namespace

class TestColorPalette : public QObject
{
    Q_OBJECT

private slots:
    void geometryFollowsTheSize()
    {
        ColorPalette wheel;
        QCOMPARE(pick(wheel, 150, 150), QString()); // nothing to pick before the first paint
        wheel.setSize(QSizeF(200, 120));
        paintOnce(wheel);
        QCOMPARE(wheel.radius(), 55);
        QCOMPARE(wheel.wheelRect(), QRect(45, 5, 110, 110));
    }

    void picks_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("colour");
        QTest::newRow("3 o'clock: red") << QPoint(280, 150) << "#ff0000";
        QTest::newRow("60 degrees above: yellow") << QPoint(215, 37) << "#ffff00";
        QTest::newRow("9 o'clock: cyan") << QPoint(20, 150) << "#00ffff";
        QTest::newRow("on the rim") << QPoint(5, 150) << "any";
        QTest::newRow("on the rim below") << QPoint(150, 295) << "any";
        QTest::newRow("outside") << QPoint(2, 2) << "";
        QTest::newRow("just outside") << QPoint(150, 297) << "";
    }
    void picks()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, colour);
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        QCOMPARE(wheel.wheelRect(), QRect(5, 5, 290, 290));
        const QString picked = pick(wheel, point.x(), point.y());
        if (colour == "any")
            QVERIFY(!picked.isEmpty());
        else
            QCOMPARE(picked, colour);
    }

    void pickOnTheMarkerIsWhite()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        wheel.mouseMove(100, 150);
        paintOnce(wheel); // draws the cross around (100, 150)
        QCOMPARE(pick(wheel, 108, 150), QStringLiteral("#ffffff")); // its right arm
        QVERIFY(pick(wheel, 100, 150) != QStringLiteral("#ffffff")); // the gap in its middle
        wheel.clearPoint();
        paintOnce(wheel);
        QVERIFY(pick(wheel, 108, 150) != QStringLiteral("#ffffff"));
    }
};

QTEST_MAIN(TestColorPalette)
#include "tst_colorpalette.moc"
