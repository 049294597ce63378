#include "cli/FirmwareBackup.h"

#include "cli/CliSupport.h"
#include "device/ControllerLink.h"
#include "device/Protocol.h"
#include "device/ReplyParser.h"
#include "firmware/SettingsSafeguard.h"

#include <QEventLoop>
#include <QTimer>

namespace cli {

namespace {

constexpr int kReplyTimeoutMs = 3000;
constexpr int kReturnWaitMs = 30000;
constexpr int kReturnLookMs = 250;

bool isSettings(const QByteArray &message)
{
    return protocol::parseReply(message.constData(), message.size()).kind == protocol::Reply::Settings;
}

// Opens the link once the controller's MIDI ports are back.
bool waitForController(ControllerLink &link, int ms)
{
    QEventLoop loop;
    QTimer look;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool open = false;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        QString ignored;
        open = link.open(&ignored);
        if (open)
            loop.quit();
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    look.start(kReturnLookMs);
    deadline.start(ms);
    loop.exec();
    return open;
}

} // namespace

bool backUpBeforeUpdate(ControllerLink &link, SettingsSafeguard &safeguard, QString *error)
{
    QByteArray reply;
    QString ignored;
    const QString serial = link.request(protocol::ReadSerial, kReplyTimeoutMs, &reply, &ignored)
        ? protocol::serialText(reply.constData(), reply.size())
        : QString();

    QEventLoop loop;
    bool decided = false;
    bool proceed = false;
    QObject::connect(&link, &ControllerLink::received, &loop, [&](const QByteArray &message) {
        if (isSettings(message))
            safeguard.takeSettings(message);
    });
    QObject::connect(&safeguard, &SettingsSafeguard::ready, &loop, [&](bool goOn) {
        decided = true;
        proceed = goOn;
        loop.quit();
    });
    safeguard.backUp(serial, [&](QString *why) { return link.send(protocol::request(protocol::ReadSettings), why); });
    if (!decided)
        loop.exec();
    if (!proceed) {
        *error = QStringLiteral("the update was cancelled: the controller's settings could not be saved");
        return false;
    }
    if (!safeguard.backupPath().isEmpty())
        printOut(QStringLiteral("Settings saved to %1\n").arg(safeguard.backupPath()));
    return true;
}

void checkAfterReturn(MidiBackend *midi, SettingsSafeguard &safeguard)
{
    ControllerLink link(midi);
    QByteArray image;
    QString error;
    if (!waitForController(link, kReturnWaitMs)
        || !link.request(protocol::ReadSettings, kReplyTimeoutMs, &image, &error)) {
        fail(QStringLiteral("the controller did not come back with its settings within %1 s; "
                            "compare them with %2 (mavuctl send %2 writes them back)")
                 .arg(kReturnWaitMs / 1000)
                 .arg(safeguard.backupPath()));
        return;
    }
    QObject::connect(&safeguard, &SettingsSafeguard::restore, &link, [&](const QByteArray &restored) {
        QString why;
        if (link.send(protocol::writeSettingsMessage(restored), &why))
            printOut(QStringLiteral("Settings written back from %1\n").arg(safeguard.backupPath()));
        else
            fail(why);
    });
    if (safeguard.compareOnReturn(image))
        printOut(QStringLiteral("The controller's settings came through the update unchanged.\n"));
}

} // namespace cli
