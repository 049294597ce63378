#include "app/ColorPalette.h"

#include "app/AppLog.h"

#include <QColor>
#include <QConicalGradient>
#include <QDebug>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 5;
constexpr int kCrossOuter = 10;
constexpr int kCrossInner = 7;

} // namespace

ColorPalette::ColorPalette(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    qCDebug(lcApp) << "width" << width() << height();
}

ColorPalette::~ColorPalette() = default;

void ColorPalette::paint(QPainter *painter)
{
    const int w = int(width());
    const int h = int(height());
    m_image = QImage(w, h, QImage::Format_RGBA8888);
    m_image.fill(QColor(0, 0, 0, 0));
    if (m_image.isNull())
        return; // nothing to draw on yet

    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing, true);

    const QRect frame(0, 0, w, h);
    m_radius = std::min(frame.height(), frame.width()) / 2 - kMargin;
    m_wheelRect
        = QRect((frame.width() - 2 * m_radius) / 2, (frame.height() - 2 * m_radius) / 2, 2 * m_radius, 2 * m_radius);

    static const Qt::GlobalColor hues[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta};
    QConicalGradient gradient(0, 0, 0);
    for (int i = 0; i < 6; ++i)
        gradient.setColorAt(i * 60.0 / 360.0, hues[i]);
    gradient.setColorAt(1.0, hues[0]);

    p.save();
    p.translate(QRectF(frame).center());
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(gradient));
    p.drawEllipse(QPointF(0, 0), m_radius, m_radius);
    p.restore();

    if (m_pointX != 0 || m_pointY != 0) {
        p.save();
        p.setPen(QPen(Qt::white, 3));
        const int x = m_pointX;
        const int y = m_pointY;
        p.drawLine(x - kCrossOuter, y, x - kCrossInner, y);
        p.drawLine(x + kCrossInner, y, x + kCrossOuter, y);
        p.drawLine(x, y - kCrossOuter, x, y - kCrossInner);
        p.drawLine(x, y + kCrossInner, x, y + kCrossOuter);
        p.restore();
    }
    p.end();

    painter->drawImage(QRect(0, 0, w, h), m_image);
}

void ColorPalette::mouseMove(int x, int y)
{
    m_pointX = x;
    m_pointY = y;
    const QPointF centre = QRectF(m_wheelRect).center();
    const double distance = std::sqrt((y - centre.y()) * (y - centre.y()) + (x - centre.x()) * (x - centre.x()));
    if (m_wheelRect.width() / 2.0 < distance)
        return;
    // The image exists only after the first paint; a point outside it has no colour.
    if (!m_image.valid(x, y))
        return;
    emit colorChang(QColor(m_image.pixel(x, y)).name());
    update();
}

void ColorPalette::clearPoint()
{
    m_pointX = 0;
    m_pointY = 0;
    update();
}
