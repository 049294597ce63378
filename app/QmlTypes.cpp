#include "app/QmlTypes.h"

#include "app/ColorPalette.h"
#include "app/WebLinks.h"

#include <QQmlEngine>
#include <QQuickStyle>

void registerQmlTypes()
{
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    WebLinks::registerQmlType();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 takes Fusion on Linux; the pages are drawn on Qt 5's default
    // style (a lighter shade behind dialogs, other paddings), now "Basic".
    if (qEnvironmentVariableIsEmpty("QT_QUICK_CONTROLS_STYLE"))
        QQuickStyle::setStyle(QStringLiteral("Basic"));
#endif
}
