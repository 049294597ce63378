#include "simulator/SimController.h"

#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "model/ImageCheck.h"
#include "model/SettingsLayout.h"

#include <QStringList>
#include <QTimer>

namespace {

constexpr int kShortReplySize = 100;
constexpr int kLongReplyExtra = 12;

} // namespace

SimController::SimController(QObject *parent)
    : QObject(parent)
    , m_serial("MAVU-SIM-0001")
{
    DataManagement defaults;
    defaults.initDefaultData();
    m_image = defaults.imageBytes();
}

bool SimController::setImage(const QByteArray &image)
{
    if (!isCompleteImage(image))
        return false;
    m_image = image;
    return true;
}

void SimController::setVersion(int major, int minor, int patch)
{
    m_version[0] = major;
    m_version[1] = minor;
    m_version[2] = patch;
}

QString SimController::versionText() const
{
    return QStringLiteral("%1.%2.%3").arg(m_version[0]).arg(m_version[1]).arg(m_version[2]);
}

bool SimController::parseVersion(const QString &text, int version[3])
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = parts.at(i).toInt(&ok);
        if (!ok || value < 0 || value > 127)
            return false;
        version[i] = value;
    }
    return true;
}

bool SimController::parseReplyMode(const QString &text, ReplyMode *mode)
{
    static const QList<QPair<QString, ReplyMode>> modes = {
        {QStringLiteral("normal"), ReplyMode::Normal},
        {QStringLiteral("none"), ReplyMode::Silent},
        {QStringLiteral("short"), ReplyMode::Short},
        {QStringLiteral("long"), ReplyMode::Long},
    };
    for (const auto &m : modes) {
        if (m.first == text) {
            *mode = m.second;
            return true;
        }
    }
    return false;
}

QByteArray SimController::settingsReply() const
{
    QByteArray message = m_image;
    message[layout::kCommandOffset] = char(protocol::ReadSettings);
    for (int i = 0; i < 3; ++i)
        message[layout::kVersionOffset + i] = char(m_version[i]);
    return message;
}

void SimController::handleMessage(const QByteArray &message)
{
    emit messageReceived(message);
    switch (protocol::commandOf(message.constData(), message.size())) {
    case protocol::WriteSettings:
        // A damaged write is refused whole rather than half taken.
        if (setImage(message))
            emit settingsWritten();
        break;
    case protocol::ReadSettings: {
        QByteArray reply = settingsReply();
        if (m_replyMode == ReplyMode::Short)
            reply = reply.left(kShortReplySize - 1) + char(layout::kSysExEnd);
        else if (m_replyMode == ReplyMode::Long)
            reply = reply.left(layout::kImageSize - 1) + QByteArray(kLongReplyExtra, 0x11) + char(layout::kSysExEnd);
        answer(reply);
        break;
    }
    case protocol::ReadSerial:
        answer(protocol::serialReply(m_serial));
        break;
    case protocol::EnterUpdate:
        emit updateRequested();
        break;
    default:
        break;
    }
}

void SimController::answer(const QByteArray &message)
{
    if (m_replyMode == ReplyMode::Silent)
        return;
    if (m_replyDelayMs <= 0) {
        emit reply(message);
        return;
    }
    QTimer::singleShot(m_replyDelayMs, this, [this, message] { emit reply(message); });
}
