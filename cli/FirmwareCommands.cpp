#include "cli/FirmwareCommands.h"

#include "cli/CliSupport.h"
#include "cli/FirmwareBackup.h"
#include "cli/TerminalPrompt.h"
#include "device/ControllerLink.h"
#include "device/Protocol.h"
#include "firmware/PortAccessHint.h"
#include "firmware/SettingsSafeguard.h"
#include "firmware/TransferEstimate.h"
#include "firmware/MyFtp.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "firmware/UpdatePortWait.h"
#include "firmware/YmodemFileTransmit.h"
#include "model/DataManagement.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace cli {

namespace {

constexpr int kReplyTimeoutMs = 3000;
constexpr int kDefaultPortWaitSeconds = UpdatePortWait::kLastLookMs / 1000;
constexpr int kBarWidth = 40;
constexpr int kDetailWidth = 44;
constexpr qint32 kUpdateBaudRate = 115200;

MidiBackend *startMidi(const Invocation &call, QString *error)
{
    QString why;
    if (MidiBackend *midi = call.midi(&why))
        return midi;
    *error = QStringLiteral("cannot start the MIDI system: %1").arg(why);
    return nullptr;
}

// The controller's firmware version, read from its settings over MIDI.
bool readControllerVersion(const Invocation &call, QString *version, QString *error)
{
    MidiBackend *midi = startMidi(call, error);
    if (!midi)
        return false;
    ControllerLink link(midi);
    QByteArray image;
    if (!link.open(error) || !link.request(protocol::ReadSettings, kReplyTimeoutMs, &image, error))
        return false;
    link.close();
    DataManagement settings;
    settings.setImage(image.constData(), image.size());
    const QVariantList v = settings.getVerInfo();
    *version = QStringLiteral("%1.%2.%3").arg(v.value(0).toString(), v.value(1).toString(), v.value(2).toString());
    return true;
}

} // namespace

int runFirmwareCheck(const Invocation &call)
{
    const SharedOptions &options = call.shared;
    QString current = call.value(QStringLiteral("current"));
    QString error;
    if (!call.args.isEmpty())
        return call.usageError();
    MyFtp ftp;
    if (!ftp.setServer(options.firmwareServer, &error))
        return fail(error);
    if (current.isEmpty() && !readControllerVersion(call, &current, &error))
        return fail(QStringLiteral("%1 (or give the present version with --current VERSION)").arg(error));

    // The version is known, read or given: what the check asks a connected controller for.
    TerminalPrompt prompt;
    ftp.setPrompt(&prompt);
    ftp.setDeviceConnected(true);
    ftp.setCurrentVersion(current);
    QEventLoop loop;
    int status = 1;
    QObject::connect(&ftp, &MyFtp::info, &loop, [&](const QString &name, const QString &ver, const QStringList &notes) {
        QString text;
        if (ver.isEmpty()) {
            text = QStringLiteral("The controller's firmware %1 is up to date.\n").arg(current);
        } else {
            text = QStringLiteral("Firmware %1 is available: %2 (the controller has %3).\n").arg(ver, name, current);
            for (const QString &line : notes)
                text += QStringLiteral("  %1\n").arg(line);
        }
        printOut(text);
        status = 0;
        loop.quit();
    });
    QObject::connect(&ftp, &MyFtp::failed, &loop, [&](const QString &reason) {
        fail(reason);
        loop.quit();
    });
    ftp.checkOnLineFirmware();
    loop.exec();
    return status;
}

namespace {

// Puts the controller into update mode and waits for its update port.
// Its settings are saved first unless safeguard is null.
bool reachUpdatePort(
    const Invocation &call, int waitSeconds, SettingsSafeguard *safeguard, QString *port, QString *error)
{
    const SharedOptions &options = call.shared;
    const SystemSerialPortFinder finder;
    QString midiError;
    MidiBackend *midi = startMidi(call, &midiError);
    ControllerLink link(midi);
    int firstLookMs = 0; // already in update mode: look at once
    if (midi && link.open(&midiError)) {
        if (safeguard && !backUpBeforeUpdate(link, *safeguard, error))
            return false;
        if (!link.send(protocol::request(protocol::EnterUpdate), error))
            return false;
        link.close();
        firstLookMs = UpdatePortWait::kFirstLookMs;
    } else if (updateport::locate(finder, options.updatePort).isEmpty()) {
        *error = midiError;
        return false;
    }
    UpdatePortWait wait;
    QEventLoop loop;
    QObject::connect(&wait, &UpdatePortWait::found, &loop, [&](const QString &name) {
        *port = name;
        loop.quit();
    });
    QObject::connect(&wait, &UpdatePortWait::gaveUp, &loop, &QEventLoop::quit);
    wait.start(&finder, options.updatePort, firstLookMs, waitSeconds * 1000);
    loop.exec();
    if (!port->isEmpty())
        return true;
    *error = QStringLiteral("the controller's update port did not appear within %1 s").arg(waitSeconds);
    return false;
}

// One line, redrawn: the bar, the percentage sent, and the bytes the
// controller acknowledged with the rate and time left.
void drawProgress(int percent, const QString &detail)
{
    const int filled = percent * kBarWidth / 100;
    QTextStream err(stderr);
    err << '\r' << '[' << QString(filled, QLatin1Char('#')) << QString(kBarWidth - filled, QLatin1Char(' ')) << "] "
        << qSetFieldWidth(3) << percent << qSetFieldWidth(0) << "%  " << qSetFieldWidth(kDetailWidth) << Qt::left
        << detail << qSetFieldWidth(0);
    err.flush();
}

QString failureText(YmodemFileTransmit::Status status)
{
    switch (status) {
    case YmodemFileTransmit::StatusAbort:
        return QStringLiteral("the controller cancelled the transfer");
    case YmodemFileTransmit::StatusTimeout:
        return QStringLiteral("the controller did not ask for the firmware");
    default:
        return QStringLiteral("the transfer failed (no answer, too many rejections, or the port went away)");
    }
}

} // namespace

int runFirmwareUpdate(const Invocation &call)
{
    const QStringList &args = call.args;
    QString port = call.value(QStringLiteral("port"));
    const QString wait = call.isSet(QStringLiteral("wait")) ? call.value(QStringLiteral("wait"))
                                                            : QString::number(kDefaultPortWaitSeconds);
    QString error;
    const bool backUp = !call.isSet(QStringLiteral("no-backup"));
    bool waitOk = false;
    const int waitSeconds = wait.toInt(&waitOk);
    if (args.size() != 1 || !waitOk || waitSeconds < 0)
        return call.usageError();

    // Everything about the file is checked before the controller is touched.
    const QFileInfo file(args.at(0));
    if (!file.isFile() || !file.isReadable())
        return fail(QStringLiteral("cannot read the firmware file %1").arg(args.at(0)));
    if (!YmodemFileTransmit::headerFits(file.fileName().toLocal8Bit(), file.size()))
        return fail(QStringLiteral("the file name %1 is too long to be sent").arg(file.fileName()));

    TerminalPrompt prompt;
    SettingsSafeguard safeguard;
    safeguard.setPrompt(&prompt);
    if (port.isEmpty()) {
        if (!reachUpdatePort(call, waitSeconds, backUp ? &safeguard : nullptr, &port, &error))
            return fail(error);
    } else if (!QFileInfo::exists(port)) {
        return fail(QStringLiteral("no port %1").arg(port));
    }

    YmodemFileTransmit transmit;
    transmit.setFileName(file.absoluteFilePath());
    transmit.setPortName(port);
    transmit.setPortBaudRate(kUpdateBaudRate);
    QEventLoop loop;
    YmodemFileTransmit::Status outcome = YmodemFileTransmit::StatusError;
    int percent = 0;
    TransferEstimate estimate;
    QObject::connect(&transmit, &YmodemFileTransmit::transmitProgress, &loop, [&](int value) {
        percent = value;
        drawProgress(percent, estimate.text());
    });
    QObject::connect(&transmit, &YmodemFileTransmit::bytesAcknowledged, &loop, [&](qint64 done, qint64 total) {
        estimate.add(done, total);
        drawProgress(percent, estimate.text());
    });
    QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, &loop, [&](YmodemFileTransmit::Status s) {
        if (s == YmodemFileTransmit::StatusEstablish || s == YmodemFileTransmit::StatusTransmit)
            return;
        outcome = s;
        loop.quit();
    });
    if (!transmit.startTransmit()) {
        const QString hint = portAccessHint(transmit.openError(), port);
        return fail(QStringLiteral("cannot open the update port %1%2")
                        .arg(port, hint.isEmpty() ? QString() : QStringLiteral(": ") + hint));
    }
    QTextStream(stderr) << "Sending " << file.fileName() << " to " << port << '\n';
    loop.exec();
    QTextStream(stderr) << '\n';
    if (outcome != YmodemFileTransmit::StatusFinish)
        return fail(failureText(outcome));
    printOut(QStringLiteral("Firmware %1 sent.\n").arg(file.fileName()));
    if (!safeguard.backupPath().isEmpty()) {
        safeguard.expectReturn();
        checkAfterReturn(call.midi(&error), safeguard);
    }
    return 0;
}

} // namespace cli
