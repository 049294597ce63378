#pragma once

#include <QObject>
#include <QString>

class QSerialPort;
class QTimer;

// Whether a loader waits on a named update port. A node that merely exists
// (one that stays, as in a container) is no controller in update mode; a
// loader waiting for a file repeats "C". Only listens: a byte written could
// start a transfer or spoil one. The recovery offer, `mavuctl list` and the
// system check all ask this before they call a named port in update mode.
class LoaderListener : public QObject
{
    Q_OBJECT
public:
    // A waiting loader asks again well within this time.
    static constexpr int kListenMs = 3000;

    explicit LoaderListener(QObject *parent = nullptr);

    // heard() comes once, from the event loop: true at the first "C", false
    // at the limit or when the port cannot be opened. A listen running is
    // given up.
    void listen(const QString &path, int limitMs = kListenMs);
    void cancel();
    bool isListening() const;

    // Listens and waits for the answer.
    static bool hears(const QString &path, int limitMs = kListenMs);

signals:
    void heard(bool loader);

private:
    void end(bool loader);

    QSerialPort *m_port;
    QTimer *m_limit;
    bool m_loader = false;
};
