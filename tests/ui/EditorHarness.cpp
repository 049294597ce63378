#include "EditorHarness.h"

#include "QmlWarnings.h"

#include "app/ColorPalette.h"
#include "app/WebLinks.h"

#include <QFile>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtTest>

namespace editorharness {

void prepare(const QString &configFolder)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder));
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    WebLinks::registerQmlType();
    qmlwarnings::start();
}

QObject *child(QObject *object, const char *property)
{
    return object ? object->property(property).value<QObject *>() : nullptr;
}

void click(QObject *button)
{
    QVERIFY(button);
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
}

void enterNumber(QObject *field, const QString &text)
{
    QObject *input = child(field, "textInput");
    QVERIFY(input);
    input->setProperty("text", text);
    QVERIFY(QMetaObject::invokeMethod(input, "editingFinished"));
}

} // namespace editorharness
