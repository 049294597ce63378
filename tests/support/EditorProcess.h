#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real editor program, with home, data, config, cache and runtime
// folders of its own; killed when it goes.
class EditorProcess
{
public:
    EditorProcess();
    ~EditorProcess();
    QString folder(const QString &name) const { return m_root.filePath(name); }
    // Up once it serves the single-instance rendezvous.
    bool start(const QStringList &args = {});
    // A second start: its exit code, or -1 when it did not end in time or crashed.
    int runSecond(const QStringList &args = {});
    bool isRunning() const { return m_first.state() == QProcess::Running; }
    // What the run log holds so far, every file of it.
    QByteArray log() const;

private:
    QProcessEnvironment environment() const;
    QTemporaryDir m_root;
    QProcess m_first;
};
