#include "app/AppLog.h"
#include "app/AppOptions.h"
#include "app/ColorPalette.h"
#include "app/InstanceServer.h"
#include "app/LogHandler.h"
#include "app/LogindPowerSource.h"
#include "app/MainWindow.h"
#include "app/SceneGraphChoice.h"
#include "app/SingleInstance.h"
#include "app/WebLinks.h"
#include "simulator/InProcess.h"

#include <QApplication>
#include <QDebug>
#include <QQmlEngine>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const AppOptions options = AppOptions::parse(arguments);
    if (!options.error.isEmpty() || options.showHelp || options.showVersion) {
        QTextStream out(options.error.isEmpty() ? stdout : stderr);
        if (!options.error.isEmpty())
            out << "korvel-mavu: " << options.error << '\n';
        else if (options.showHelp)
            out << AppOptions::helpText();
        else
            out << "korvel-mavu " << MAVU_VERSION << '\n';
        return options.error.isEmpty() ? 0 : 2;
    }

    if (isAppRunning(QStringLiteral("korvelMavu"), options.files))
        return 0;

    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    WebLinks::registerQmlType();

    QApplication app(argc, argv);
    installLogHandler(QStringLiteral("Log"), 1024, true);
    qCDebug(lcApp) << "app/main.cpp" << 20 << "================progress start================";
    // Before the first window: the scene graph back end cannot change later.
    scenegraph::settle();

    // The link outlives the window, which looks for the controller as it starts.
    const sim::ControllerLinkSetup link = sim::setUpControllerLink(options, &app);
    MainWindow window(EditorSetup{link.midi.get(), link.updatePort, link.firmwareServer});
    // KORVEL_MAVU_POWER_BUS names a bus standing in for the system bus's logind.
    window.watchPowerEvents(new LogindPowerSource(qEnvironmentVariable("KORVEL_MAVU_POWER_BUS")));
    // Later copies reach this one from here on and hand over their files.
    if (InstanceServer *server = startInstanceServer(&app))
        QObject::connect(server, &InstanceServer::filesRequested, &window, &MainWindow::openPresetFiles);
    window.openPresetFiles(options.files);
    return app.exec();
}
