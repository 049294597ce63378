// The colour wheel: geometry, picking and the marker.
#include "app/ColorPalette.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

class TestColorPalette : public QObject
{
    Q_OBJECT

private:
    // The hue at a pixel centre is a fraction of a degree off the exact angle.
    static bool near(const QString &name, const QColor &expected)
    {
        const QColor c(name);
        return qAbs(c.red() - expected.red()) <= 4 && qAbs(c.green() - expected.green()) <= 4
            && qAbs(c.blue() - expected.blue()) <= 4;
    }

    static void paintOnce(ColorPalette &wheel)
    {
        QImage target(int(wheel.width()), int(wheel.height()), QImage::Format_ARGB32);
        target.fill(Qt::transparent);
        QPainter painter(&target);
        wheel.paint(&painter);
    }

private slots:
    void geometryFollowsTheSize()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        QCOMPARE(wheel.radius(), 145);
        QCOMPARE(wheel.wheelRect(), QRect(5, 5, 290, 290));

        wheel.setSize(QSizeF(200, 120));
        paintOnce(wheel);
        QCOMPARE(wheel.radius(), 55);
        QCOMPARE(wheel.wheelRect(), QRect(45, 5, 110, 110));
    }

    void picksHuesCounterClockwiseFromThreeOClock()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        QSignalSpy picked(&wheel, &ColorPalette::colorChang);

        wheel.mouseMove(280, 150); // 3 o'clock
        QCOMPARE(picked.count(), 1);
        QString name = picked.takeFirst().at(0).toString();
        QVERIFY2(near(name, Qt::red), qPrintable(name));

        // 60 degrees above it: yellow; 180 degrees: cyan.
        wheel.mouseMove(150 + 65, 150 - 113);
        const QColor yellowish(picked.takeFirst().at(0).toString());
        QVERIFY2(yellowish.red() > 200 && yellowish.green() > 200 && yellowish.blue() < 40,
                 qPrintable(yellowish.name()));
        wheel.mouseMove(20, 150);
        name = picked.takeFirst().at(0).toString();
        QVERIFY2(near(name, Qt::cyan), qPrintable(name));
    }

    void rimPicksOutsideDoesNot()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        QSignalSpy picked(&wheel, &ColorPalette::colorChang);

        wheel.mouseMove(5, 150); // distance 145, exactly the radius
        QCOMPARE(picked.count(), 1);
        wheel.mouseMove(150, 295);
        QCOMPARE(picked.count(), 2);

        wheel.mouseMove(2, 2);
        wheel.mouseMove(150, 297);
        wheel.mouseMove(299, 299);
        QCOMPARE(picked.count(), 2);
    }

    void pickOnTheMarkerIsWhite()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        paintOnce(wheel);
        QSignalSpy picked(&wheel, &ColorPalette::colorChang);

        wheel.mouseMove(100, 150);
        paintOnce(wheel); // draws the cross around (100, 150)
        wheel.mouseMove(108, 150); // on its right arm
        QCOMPARE(picked.last().at(0).toString(), QStringLiteral("#ffffff"));
        wheel.mouseMove(100, 150); // the gap in the middle shows the wheel
        QVERIFY(picked.last().at(0).toString() != QStringLiteral("#ffffff"));

        // Cleared, the cross is gone from the next paint.
        wheel.clearPoint();
        paintOnce(wheel);
        wheel.mouseMove(108, 150);
        QVERIFY(picked.last().at(0).toString() != QStringLiteral("#ffffff"));
    }

    void noImageBeforeTheFirstPaint()
    {
        ColorPalette wheel;
        wheel.setSize(QSizeF(300, 300));
        QSignalSpy picked(&wheel, &ColorPalette::colorChang);
        wheel.mouseMove(150, 150);
        QCOMPARE(picked.count(), 0);
    }
};

QTEST_MAIN(TestColorPalette)
#include "tst_colorpalette.moc"
