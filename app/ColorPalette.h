#pragma once

#include <QQuickPaintedItem>

// The painted colour wheel of the colour dialog.
class ColorPalette : public QQuickPaintedItem
{
    Q_OBJECT
public:
    explicit ColorPalette(QQuickItem *parent = nullptr);
    void paint(QPainter *painter) override;
};
