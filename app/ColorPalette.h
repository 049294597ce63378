#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QRect>

// The painted hue wheel of the colour dialog. QML forwards presses and moves
// to mouseMove(); a point on the wheel is answered with colorChang().
class ColorPalette : public QQuickPaintedItem
{
    Q_OBJECT
public:
    explicit ColorPalette(QQuickItem *parent = nullptr);
    ~ColorPalette() override;

    void paint(QPainter *painter) override;

    Q_INVOKABLE void mouseMove(int x, int y);
    Q_INVOKABLE void clearPoint();

    // Geometry of the last paint; for tests.
    int radius() const { return m_radius; }
    QRect wheelRect() const { return m_wheelRect; }

signals:
    void colorChang(QString colorStr);

private:
    int m_radius = 0;
    QRect m_wheelRect;
    QImage m_image;
    int m_pointX = 0;
    int m_pointY = 0;
};
