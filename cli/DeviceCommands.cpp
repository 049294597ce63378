#include "cli/DeviceCommands.h"

#include "app/AppOptions.h"
#include "cli/CliSupport.h"
#include "device/ControllerIds.h"
#include "device/ControllerLink.h"
#include "firmware/Doctor.h"
#include "device/MidiBackend.h"
#include "device/MidiPort.h"
#include "device/MidiSetup.h"
#include "device/Protocol.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/SettingsText.h"

#include <QCoreApplication>

namespace cli {

namespace {

constexpr int kReplyTimeoutMs = 3000;

// Takes the shared options (--midi-api, --update-port, ...) and starts the MIDI system.
bool setUp(QStringList *args, AppOptions *options)
{
    *options = AppOptions::takeShared(args);
    if (!options->error.isEmpty()) {
        fail(options->error);
        return false;
    }
    AppOptions::setCurrent(*options);
    QString error;
    if (!installSystemMidi(options->midiApi, QCoreApplication::applicationName(), &error)) {
        fail(QStringLiteral("cannot start the MIDI system: %1").arg(error));
        return false;
    }
    return true;
}

bool openLink(ControllerLink &link)
{
    QString error;
    if (!link.open(&error)) {
        fail(error);
        return false;
    }
    return true;
}

bool readSettings(ControllerLink &link, QByteArray *image)
{
    QString error;
    if (!link.request(protocol::ReadSettings, kReplyTimeoutMs, image, &error)) {
        fail(error);
        return false;
    }
    return true;
}

QString portLines(const char *kind, const QMap<int, QString> &ports)
{
    QString text;
    for (auto it = ports.cbegin(); it != ports.cend(); ++it)
        text += QStringLiteral("midi-%1 %2 %3\n").arg(QLatin1String(kind)).arg(it.key()).arg(it.value());
    return text;
}

} // namespace

int runList(const QStringList &arguments)
{
    QStringList args = arguments;
    AppOptions options;
    if (!setUp(&args, &options))
        return 1;
    if (!args.isEmpty())
        return fail(QStringLiteral("usage: mavuctl list [--midi-api alsa|jack] [--update-port PATH]"));
    const QMap<int, QString> inputs = midiInDevices();
    QString text = portLines("in", inputs) + portLines("out", midiOutDevices());
    const QStringList updatePorts
        = updateport::candidates(SystemSerialPortFinder().availablePorts(), options.updatePort);
    for (const QString &port : qAsConst(updatePorts))
        text += QStringLiteral("update %1\n").arg(port);
    // The loader without the MIDI ports: an update that did not finish.
    if (!updatePorts.isEmpty() && lowestIndexNamed(inputs, QLatin1String(controllerids::kPortName), -1) < 0)
        text += QStringLiteral("in update mode: %1 (flash it with: mavuctl firmware update FILE --port %1)\n")
                    .arg(updatePorts.first());
    printOut(text);
    return 0;
}

int runGet(const QStringList &arguments)
{
    QStringList args = arguments;
    AppOptions options;
    if (!setUp(&args, &options))
        return 1;
    QString outPath;
    const int o = args.indexOf(QStringLiteral("-o"));
    if (o >= 0 && o + 1 < args.size()) {
        outPath = args.at(o + 1);
        args.erase(args.begin() + o, args.begin() + o + 2);
    }
    if (!args.isEmpty())
        return fail(QStringLiteral("usage: mavuctl get [-o FILE] [--midi-api alsa|jack]"));
    ControllerLink link;
    QByteArray image;
    if (!openLink(link) || !readSettings(link, &image))
        return 1;
    link.close();
    DataManagement settings;
    settings.setImage(image.constData(), image.size());
    if (outPath.isEmpty()) {
        printOut(settingsText::toText(settings));
        return 0;
    }
    // The image as the controller sent it, byte for byte.
    QString error;
    if (!preset::writeFile(outPath, image, &error))
        return fail(QStringLiteral("cannot write %1: %2").arg(outPath, error));
    return 0;
}

int runSend(const QStringList &arguments)
{
    QStringList args = arguments;
    AppOptions options;
    if (!setUp(&args, &options))
        return 1;
    if (args.size() != 1)
        return fail(QStringLiteral("usage: mavuctl send FILE [--midi-api alsa|jack]"));
    QByteArray image;
    QString error;
    // A bad file is refused before anything reaches the controller.
    if (!preset::readFile(args.at(0), &image, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(args.at(0), error));
    ControllerLink link;
    if (!openLink(link))
        return 1;
    if (!link.send(protocol::writeSettingsMessage(image), &error))
        return fail(error);
    return 0;
}

int runSerial(const QStringList &arguments)
{
    QStringList args = arguments;
    AppOptions options;
    if (!setUp(&args, &options))
        return 1;
    if (!args.isEmpty())
        return fail(QStringLiteral("usage: mavuctl serial [--midi-api alsa|jack]"));
    ControllerLink link;
    QByteArray reply;
    QString error;
    if (!openLink(link))
        return 1;
    if (!link.request(protocol::ReadSerial, kReplyTimeoutMs, &reply, &error))
        return fail(error);
    printOut(protocol::serialText(reply.constData(), reply.size()) + QLatin1Char('\n'));
    return 0;
}

int runDoctor(const QStringList &arguments)
{
    QStringList args = arguments;
    AppOptions options = AppOptions::takeShared(&args);
    QString root;
    if (args.size() == 2 && args.first() == QLatin1String("--root")) {
        root = args.last();
        args.clear();
    }
    if (!options.error.isEmpty() || !args.isEmpty())
        return fail(options.error.isEmpty() ? QStringLiteral("usage: mavuctl doctor [--root DIR]") : options.error);
    QString midiError;
    installSystemMidi(options.midiApi, QCoreApplication::applicationName(), &midiError);
    doctor::Inputs inputs = doctor::systemInputs(options.updatePort, options.firmwareServer);
    inputs.root = root;
    inputs.midiError = midiError;
    const QList<doctor::Finding> findings = doctor::examine(inputs);
    printOut(doctor::report(findings));
    return doctor::allWell(findings) ? 0 : 1;
}

} // namespace cli
