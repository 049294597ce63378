#include "cli/DeviceCommands.h"

#include "cli/CliSupport.h"
#include "device/ControllerLink.h"
#include "device/MidiPort.h"
#include "device/Protocol.h"
#include "firmware/LoaderListener.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "model/ControllerHistory.h"
#include "model/ControllerIds.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/SettingsDiff.h"
#include "model/SettingsText.h"
#include "workflows/ControllerRequest.h"
#include "workflows/SettingsSend.h"
#include "workflows/SystemCheck.h"

namespace cli {

namespace {

// Starts the MIDI system the shared options (--midi-api) ask for.
MidiBackend *setUp(const Invocation &call)
{
    QString error;
    MidiBackend *midi = call.midi(&error);
    if (!midi)
        fail(QStringLiteral("cannot start the MIDI system: %1").arg(error));
    return midi;
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
    if (!ControllerRequest::wait(link, protocol::ReadSettings, image, &error)) {
        fail(error);
        return false;
    }
    return true;
}

// Keeps what went across in the controller's history, under its serial
// number (asked for now); a snapshot not kept is said, but fails nothing.
void keepSnapshot(ControllerLink &link, history::Event event, const QByteArray &image)
{
    QByteArray reply;
    QString error;
    const QString serial = ControllerRequest::wait(link, protocol::ReadSerial, &reply, &error)
        ? protocol::serialText(reply.constData(), reply.size())
        : QString();
    if (!history::record(history::defaultFolder(), serial, event, image, QDateTime::currentDateTimeUtc(), &error))
        fail(QStringLiteral("the settings were not kept in the history: %1").arg(error));
}

QString portLines(const char *kind, const QMap<int, QString> &ports)
{
    QString text;
    for (auto it = ports.cbegin(); it != ports.cend(); ++it)
        text += QStringLiteral("midi-%1 %2 %3\n").arg(QLatin1String(kind)).arg(it.key()).arg(it.value());
    return text;
}

// "-" is the controller, anything else a preset file.
bool readSide(const Invocation &call, const QString &side, QByteArray *image)
{
    if (side != QLatin1String("-")) {
        QString error;
        if (preset::readFile(side, image, &error))
            return true;
        fail(QStringLiteral("cannot open %1: %2").arg(side, error));
        return false;
    }
    MidiBackend *midi = setUp(call);
    if (!midi)
        return false;
    ControllerLink link(midi);
    return openLink(link) && readSettings(link, image);
}

} // namespace

int runList(const Invocation &call)
{
    const QStringList &args = call.args;
    MidiBackend *midi = setUp(call);
    if (!midi)
        return 1;
    if (!args.isEmpty())
        return call.usageError();
    MidiPortList ports(midi);
    const QMap<int, QString> inputs = ports.midiInDevices();
    QString text = portLines("in", inputs) + portLines("out", ports.midiOutDevices());
    const QStringList updatePorts
        = updateport::candidates(SystemSerialPortFinder().availablePorts(), call.shared.updatePort);
    for (const QString &port : qAsConst(updatePorts))
        text += QStringLiteral("update %1\n").arg(port);
    // The loader without the MIDI ports: an update that did not finish. A
    // named port is one only while a loader asks for a file on it.
    if (!updatePorts.isEmpty() && lowestIndexNamed(inputs, QLatin1String(controllerids::kPortName), -1) < 0
        && (call.shared.updatePort.isEmpty() || LoaderListener::hears(updatePorts.first())))
        text += QStringLiteral("in update mode: %1 (flash it with: mavuctl firmware update FILE --port %1)\n")
                    .arg(updatePorts.first());
    printOut(text);
    return 0;
}

int runGet(const Invocation &call)
{
    const QStringList &args = call.args;
    MidiBackend *midi = setUp(call);
    if (!midi)
        return 1;
    const QString outPath = call.value(QStringLiteral("o"));
    if (!args.isEmpty())
        return call.usageError();
    ControllerLink link(midi);
    QByteArray image;
    if (!openLink(link) || !readSettings(link, &image))
        return 1;
    keepSnapshot(link, history::Event::Get, image);
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

int runSend(const Invocation &call)
{
    const QStringList &args = call.args;
    MidiBackend *midi = setUp(call);
    if (!midi)
        return 1;
    if (args.size() != 1)
        return call.usageError();
    QByteArray image;
    QString error;
    // A bad file is refused before anything reaches the controller.
    if (!preset::readFile(args.at(0), &image, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(args.at(0), error));
    ControllerLink link(midi);
    if (!openLink(link))
        return 1;
    if (!sendSettings(link, image, &error))
        return fail(error);
    keepSnapshot(link, history::Event::Send, image);
    return 0;
}

int runSerial(const Invocation &call)
{
    const QStringList &args = call.args;
    MidiBackend *midi = setUp(call);
    if (!midi)
        return 1;
    if (!args.isEmpty())
        return call.usageError();
    ControllerLink link(midi);
    QByteArray reply;
    QString error;
    if (!openLink(link))
        return 1;
    if (!ControllerRequest::wait(link, protocol::ReadSerial, &reply, &error))
        return fail(error);
    printOut(protocol::serialText(reply.constData(), reply.size()) + QLatin1Char('\n'));
    return 0;
}

int runDiff(const Invocation &call)
{
    // As diff(1): 1 already means "they differ", so trouble is 2.
    constexpr int kTrouble = 2;
    const QStringList &args = call.args;
    if (args.size() != 2) {
        call.usageError();
        return kTrouble;
    }
    QByteArray left;
    QByteArray right;
    if (!readSide(call, args.at(0), &left) || !readSide(call, args.at(1), &right))
        return kTrouble;
    const QList<settingsDiff::Difference> differences = settingsDiff::compare(left, right);
    printOut(settingsDiff::toText(differences));
    return differences.isEmpty() ? 0 : 1;
}

int runDoctor(const Invocation &call)
{
    if (!call.args.isEmpty())
        return call.usageError();
    systemcheck::Setup setup;
    setup.midi = call.midi(&setup.midiError);
    setup.updatePort = call.shared.updatePort;
    setup.firmwareServer = call.shared.firmwareServer;
    setup.root = call.value(QStringLiteral("root"));
    const QList<doctor::Finding> findings = systemcheck::run(setup);
    printOut(doctor::report(findings));
    return doctor::allWell(findings) ? 0 : 1;
}

} // namespace cli
