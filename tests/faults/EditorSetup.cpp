#include "EditorSetup.h"

#include "app/ColorPalette.h"
#include "app/WebLinks.h"

#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace faults {

void prepareEditorWindow()
{
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    WebLinks::registerQmlType();
}

} // namespace faults
