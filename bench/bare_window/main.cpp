// The yardstick for the editor's memory: a plain Qt Quick window of the
// editor's size with 48 buttons and nothing else.
#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine(QUrl(QStringLiteral("qrc:/bare_window.qml")));
    return engine.rootObjects().isEmpty() ? 1 : app.exec();
}
