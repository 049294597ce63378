#include "cli/FirmwareCommands.h"

#include "cli/CliSupport.h"
#include "cli/TerminalPrompt.h"
#include "device/ControllerLink.h"
#include "device/Protocol.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "firmware/PortAccessHint.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "firmware/UpdatePortWait.h"
#include "firmware/YmodemFileTransmit.h"
#include "model/DataManagement.h"
#include "workflows/ControllerRequest.h"
#include "workflows/FirmwareUpdateFlow.h"
#include "workflows/SettingsSend.h"
#include "workflows/StopSignals.h"
#include "workflows/UpdateShutdown.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kDefaultPortWaitSeconds = UpdatePortWait::kLastLookMs / 1000;
constexpr int kBarWidth = 40;
constexpr int kDetailWidth = 44;
constexpr int kLineStepPercent = 10; // progress into a log: a line at each step

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
    if (!link.open(error) || !ControllerRequest::wait(link, protocol::ReadSettings, &image, error))
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

// The percentage sent and the bytes the controller acknowledged with the
// rate and time left: on a terminal one line, redrawn, with a bar; into a
// file or a pipe a line now and then, which a log can keep.
class Progress
{
public:
    void show(int percent, const QString &detail)
    {
        QTextStream err(stderr);
        if (!m_terminal) {
            if (percent / kLineStepPercent > m_lastStep / kLineStepPercent || m_lastStep < 0)
                err << qSetFieldWidth(3) << percent << qSetFieldWidth(0) << "%  " << detail << '\n';
            m_lastStep = qMax(m_lastStep, percent);
            return;
        }
        const int filled = percent * kBarWidth / 100;
        err << '\r' << '[' << QString(filled, QLatin1Char('#')) << QString(kBarWidth - filled, QLatin1Char(' ')) << "] "
            << qSetFieldWidth(3) << percent << qSetFieldWidth(0) << "%  " << qSetFieldWidth(kDetailWidth) << Qt::left
            << detail << qSetFieldWidth(0);
        m_shown = true;
    }
    // Ends the redrawn line.
    void done()
    {
        if (m_shown)
            QTextStream(stderr) << '\n';
    }

private:
    const bool m_terminal = ::isatty(STDERR_FILENO) == 1;
    int m_lastStep = -1;
    bool m_shown = false;
};

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

// Why an update that did not succeed failed, in mavuctl's words.
QString updateFailure(const FirmwareUpdate &update, int waitSeconds)
{
    switch (update.failure()) {
    case FirmwareUpdate::Failure::PortNotFound:
        return QStringLiteral("the controller's update port did not appear within %1 s").arg(waitSeconds);
    case FirmwareUpdate::Failure::PortNotOpened: {
        const QString hint = portAccessHint(update.transmitter()->openError(), update.port());
        return QStringLiteral("cannot open the update port %1%2")
            .arg(update.port(), hint.isEmpty() ? QString() : QStringLiteral(": ") + hint);
    }
    default:
        return failureText(update.transferStatus());
    }
}

// Waits for the updated controller, compares its settings with the backup and
// writes the backup back where the user wants it.
void checkAfterReturn(FirmwareUpdateFlow &flow, ControllerChannel &link, const int &stopStatus)
{
    QEventLoop loop;
    auto how = FirmwareUpdateFlow::Return::NotBack;
    QObject::connect(&flow, &FirmwareUpdateFlow::restore, &loop, [&](const QByteArray &restored) {
        QString why;
        if (sendSettings(link, restored, &why))
            printOut(QStringLiteral("Settings written back from %1\n").arg(flow.backupPath()));
        else
            fail(why);
    });
    QObject::connect(&flow, &FirmwareUpdateFlow::returned, &loop, [&](FirmwareUpdateFlow::Return returned) {
        how = returned;
        loop.quit();
    });
    flow.awaitReturn();
    loop.exec();
    if (stopStatus >= 0)
        return; // ended by a signal meanwhile
    if (how == FirmwareUpdateFlow::Return::NotBack)
        fail(QStringLiteral("the controller did not come back with its settings within %1 s; "
                            "compare them with %2 (mavuctl send %2 writes them back)")
                 .arg(FirmwareUpdateFlow::kReturnWaitMs / 1000)
                 .arg(flow.backupPath()));
    else if (how == FirmwareUpdateFlow::Return::Unchanged)
        printOut(QStringLiteral("The controller's settings came through the update unchanged.\n"));
}

} // namespace

int runFirmwareUpdate(const Invocation &call)
{
    const QStringList &args = call.args;
    const QString port = call.value(QStringLiteral("port"));
    const QString wait = call.isSet(QStringLiteral("wait")) ? call.value(QStringLiteral("wait"))
                                                            : QString::number(kDefaultPortWaitSeconds);
    const bool backUp = !call.isSet(QStringLiteral("no-backup"));
    bool waitOk = false;
    const int waitSeconds = wait.toInt(&waitOk);
    if (args.size() != 1 || !waitOk || waitSeconds < 0)
        return call.usageError();

    // Everything about the file is checked before the controller is touched
    // (the update checks again, as on every road).
    const QFileInfo file(args.at(0));
    QString unfit;
    if (!firmwarefile::checkToSend(file.filePath(), &unfit))
        return fail(unfit);
    if (!port.isEmpty() && !QFileInfo::exists(port))
        return fail(QStringLiteral("no port %1").arg(port));

    // A port given is in update mode already: no MIDI, no settings.
    QString midiError;
    MidiBackend *midi = port.isEmpty() ? startMidi(call, &midiError) : nullptr;
    ControllerLink link(midi);
    FirmwareUpdate update; // without a prompt: mavuctl words the failures itself
    update.setPortOverride(port.isEmpty() ? call.shared.updatePort : port);
    update.setLastLookMs(waitSeconds * 1000);
    TerminalPrompt prompt;
    FirmwareUpdateFlow flow(link, update);
    flow.setPrompt(&prompt);
    flow.setBackUp(backUp);
    if (!call.dataFolder.isEmpty())
        flow.setDataFolder(call.dataFolder);
    // SIGTERM and SIGINT wait for a transfer to end; a second one does not.
    ProcessStopSignals stopSignals;
    UpdateShutdown shutdown(flow);
    shutdown.watch(&stopSignals);
    int stopStatus = -1;
    bool signalled = false;
    QObject::connect(&stopSignals, &StopSignals::received, [&signalled] { signalled = true; });
    QObject::connect(&shutdown, &UpdateShutdown::endNow, [&stopStatus](int exitStatus) {
        stopStatus = exitStatus;
        QCoreApplication::quit(); // every waiting loop returns
    });

    QEventLoop loop;
    bool ended = false;
    bool sent = false;
    QString error;
    const auto end = [&](const QString &why) {
        error = why;
        ended = true;
        loop.quit();
    };
    QObject::connect(&flow, &FirmwareUpdateFlow::backedUp, &loop,
        [](const QString &path) { printOut(QStringLiteral("Settings saved to %1\n").arg(path)); });
    QObject::connect(&flow, &FirmwareUpdateFlow::commandFailed, &loop, end);
    QObject::connect(&flow, &FirmwareUpdateFlow::refused, &loop, end);
    QObject::connect(&update, &FirmwareUpdate::declined, &loop, [&] {
        if (!ended)
            end(signalled ? QStringLiteral("the update was not begun: a signal came before the update-mode command")
                          : QStringLiteral("the update was cancelled: the controller's settings could not be saved"));
    });
    QObject::connect(&update, &FirmwareUpdate::transferStarted, &loop,
        [&](const QString &name) { QTextStream(stderr) << "Sending " << file.fileName() << " to " << name << '\n'; });
    int percent = 0;
    QString detail;
    Progress progress;
    QObject::connect(&update, &FirmwareUpdate::transmitProgress, &loop, [&](int value) {
        percent = value;
        progress.show(percent, detail);
    });
    QObject::connect(&update, &FirmwareUpdate::transferDetail, &loop, [&](const QString &text) {
        detail = text;
        progress.show(percent, detail);
    });
    QObject::connect(&update, &FirmwareUpdate::transStatus, &loop, [&](bool isSuccess) {
        sent = isSuccess;
        end(isSuccess ? QString() : updateFailure(update, waitSeconds));
    });

    // A named port means the controller already waits in its loader.
    if (port.isEmpty() && midi && link.open(&midiError)) {
        QString serial; // names the backup
        QByteArray reply;
        QString ignored;
        if (backUp && ControllerRequest::wait(link, protocol::ReadSerial, &reply, &ignored))
            serial = protocol::serialText(reply.constData(), reply.size());
        if (stopStatus >= 0)
            return stopStatus;
        flow.start(file.absoluteFilePath(), serial);
    } else if (port.isEmpty() && updateport::locate(SystemSerialPortFinder(), call.shared.updatePort).isEmpty()) {
        return fail(midiError);
    } else {
        flow.startInUpdateMode(file.absoluteFilePath());
    }
    if (!ended && stopStatus < 0)
        loop.exec();
    progress.done();
    if (!sent) {
        fail(error.isEmpty() ? QStringLiteral("the transfer was cut short by a second signal; the controller waits "
                                              "in its loader for the firmware")
                             : error);
        return stopStatus >= 0 ? stopStatus : 1;
    }
    printOut(QStringLiteral("Firmware %1 sent.\n").arg(file.fileName()));
    if (stopStatus < 0 && !flow.backupPath().isEmpty())
        checkAfterReturn(flow, link, stopStatus);
    return stopStatus >= 0 ? stopStatus : 0;
}

} // namespace cli
