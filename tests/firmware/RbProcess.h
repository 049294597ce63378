#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class PtyLink;

// lrzsz's rb receiving one YMODEM batch on a terminal, in a directory of its own.
class RbProcess
{
public:
    RbProcess();
    ~RbProcess();

    bool start(const PtyLink &link);
    bool waitForFinished(int ms);
    bool succeeded() const;
    QString directory() const { return m_dir.path(); }
    QStringList receivedFiles() const;
    QByteArray received(const QString &name) const;
    QByteArray log() const { return m_log; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    mutable QByteArray m_log;
};
