#include "app/ColorPalette.h"

ColorPalette::ColorPalette(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
}

void ColorPalette::paint(QPainter *) {}
