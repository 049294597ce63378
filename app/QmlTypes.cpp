#include "app/QmlTypes.h"

#include "app/ColorPalette.h"
#include "app/WebLinks.h"

#include <QQmlEngine>

void registerQmlTypes()
{
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    WebLinks::registerQmlType();
}
