#include "app/ColorPalette.h"
#include "app/LogHandler.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QDebug>
#include <QQmlEngine>

int main(int argc, char *argv[])
{
    if (isAppRunning(QStringLiteral("korvelMavu")))
        return 0;

    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");

    QApplication app(argc, argv);
    installLogHandler(QStringLiteral("Log"), 1024, true);
    qDebug() << "app/main.cpp" << 20 << "================progress start================";

    MainWindow window(nullptr);
    return app.exec();
}
