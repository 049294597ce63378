#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// What the simulated controller does with the editor's messages in normal
// mode: it holds a settings image, a firmware version and a serial number,
// answers reads, takes writes and asks to enter update mode. It can be told
// to misbehave.
class SimController : public QObject
{
    Q_OBJECT
public:
    enum class ReplyMode {
        Normal,
        Silent, // answers nothing
        Short, // a settings reply cut off after its first bytes
        Long, // a settings reply with bytes too many
    };

    explicit SimController(QObject *parent = nullptr);

    QByteArray image() const { return m_image; }
    // Takes a complete image; false (image unchanged) otherwise.
    bool setImage(const QByteArray &image);
    void setVersion(int major, int minor, int patch);
    QString versionText() const;
    void setSerial(const QByteArray &serial) { m_serial = serial; }
    QByteArray serial() const { return m_serial; }
    void setReplyMode(ReplyMode mode) { m_replyMode = mode; }
    void setReplyDelay(int ms) { m_replyDelayMs = ms; }

    // The settings reply as the controller sends it: its image with byte 1
    // set to 02 and its firmware version.
    QByteArray settingsReply() const;

    // Parses "1.2.3"; false when it is not three numbers 0..127.
    static bool parseVersion(const QString &text, int version[3]);
    static bool parseReplyMode(const QString &text, ReplyMode *mode);

public slots:
    void handleMessage(const QByteArray &message);

signals:
    void reply(const QByteArray &message);
    void updateRequested();
    // Every message taken in, for whoever watches (tests, the program's log).
    void messageReceived(const QByteArray &message);
    void settingsWritten();

private:
    void answer(const QByteArray &message);

    QByteArray m_image;
    QByteArray m_serial;
    int m_version[3] = {1, 0, 2};
    ReplyMode m_replyMode = ReplyMode::Normal;
    int m_replyDelayMs = 0;
};
