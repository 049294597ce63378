#include "model/PresetFile.h"
#include "simulator/SimCommandLine.h"
#include "simulator/SimMidiPorts.h"
#include "simulator/SimulatedDevice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <unistd.h>

namespace {

int s_signalPipe[2] = {-1, -1};
const char kDefaultPlay[] = "pad:A1,pad:B3,knob:A2,button:stop";

void onSignal(int number)
{
    const char byte = char(number);
    const ssize_t ignored = ::write(s_signalPipe[1], &byte, 1);
    (void)ignored;
}

void say(const QString &line)
{
    QTextStream out(stdout);
    out << "mavu-sim: " << line << '\n';
    out.flush();
}

int fail(const QString &line)
{
    QTextStream err(stderr);
    err << "mavu-sim: " << line << '\n';
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mavu-sim"));
    // The lines as they always read, without the layer's name in front.
    qSetMessagePattern(QStringLiteral("%{message}"));
    const SimCommandLine options = SimCommandLine::parse(QCoreApplication::arguments());
    if (options.help) {
        QTextStream(stdout) << SimCommandLine::helpText();
        return 0;
    }
    if (!options.error.isEmpty())
        return fail(options.error);

    bool jack = options.midiApi == QLatin1String("jack");
    if (options.midiApi.isEmpty())
        jack = !QFileInfo::exists(QStringLiteral("/dev/snd/seq"));

    auto *device = new SimulatedDevice(new RtMidiSimPorts(jack, options.name), options.device, &app);
    SimController &controller = device->controller();
    controller.setVersion(options.version[0], options.version[1], options.version[2]);
    if (!options.serial.isEmpty())
        controller.setSerial(options.serial.toUtf8());
    controller.setReplyMode(options.replyMode);
    controller.setReplyDelay(options.replyDelayMs);
    if (!options.imagePath.isEmpty()) {
        QByteArray image;
        QString error;
        if (!preset::readFile(options.imagePath, &image, &error))
            return fail(QStringLiteral("cannot use %1: %2").arg(options.imagePath, error));
        controller.setImage(image);
    }
    QObject::connect(device, &SimulatedDevice::note, &app, say);

    if (::pipe(s_signalPipe) != 0)
        return fail(QStringLiteral("cannot set up signal handling"));
    auto *notifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [device, &options] {
        char number = 0;
        if (::read(s_signalPipe[0], &number, 1) != 1)
            return;
        if (number == SIGUSR1)
            device->togglePlug();
        else if (number == SIGUSR2)
            device->play(options.device.play.isEmpty() ? QString::fromLatin1(kDefaultPlay) : options.device.play);
        else
            QCoreApplication::quit();
    });
    std::signal(SIGUSR1, onSignal);
    std::signal(SIGUSR2, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    const auto cannotPlug = [jack](const QString &error) {
        return fail(QStringLiteral("cannot open the MIDI ports (%1): %2")
                        .arg(jack ? QStringLiteral("jack") : QStringLiteral("alsa"), error));
    };
    QString error;
    if (options.updateMode) {
        device->enterUpdateMode();
    } else if (options.portsDelayMs > 0) {
        say(QStringLiteral("ports in %1 ms").arg(options.portsDelayMs));
        QTimer::singleShot(options.portsDelayMs, device, [device, cannotPlug] {
            QString error;
            if (!device->plug(&error))
                QCoreApplication::exit(cannotPlug(error));
        });
    } else if (!device->plug(&error)) {
        return cannotPlug(error);
    }
    if (options.unplugAfterMs >= 0) {
        QTimer::singleShot(options.unplugAfterMs, device, [device, options] {
            device->unplug();
            if (options.replugAfterMs >= 0)
                QTimer::singleShot(options.replugAfterMs, device, [device] {
                    if (!device->isPlugged())
                        device->togglePlug();
                });
        });
    }
    const int code = QCoreApplication::exec();
    delete device; // closes the ports before the MIDI system goes
    return code;
}
