#pragma once

#include "simulator/YmodemReceiver.h"

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

// The controller's update-mode serial port, played by a pseudo-terminal:
// the sender opens the slave side (its path, or the link made to it), and a
// YMODEM receiver answers on the master side.
class PtyUpdatePort : public QObject
{
    Q_OBJECT
public:
    explicit PtyUpdatePort(QObject *parent = nullptr);
    ~PtyUpdatePort() override;

    // Creates the terminal and, when linkPath is given, a symbolic link to it
    // there (replacing an old link). False with *error on failure.
    bool open(const QString &linkPath, QString *error);
    QString slavePath() const { return m_slavePath; }
    QString linkPath() const { return m_linkPath; }

signals:
    // The transfer ended: ok with the files received, or not with the reason.
    void finished(bool ok, const QList<YmodemReceiver::File> &files, const QString &error);

private:
    void readMaster();
    void tick();
    void write(const QByteArray &bytes);
    void checkDone();

    int m_master = -1;
    int m_slave = -1; // kept open so the line survives the sender closing it
    QString m_slavePath;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_timer = nullptr;
    YmodemReceiver m_receiver;
    bool m_reported = false;
};
