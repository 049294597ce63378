#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Where copies of the editor meet: one copy claims a key for its lifetime and
// listens; later copies hand it a request.
class InstanceRendezvous
{
public:
    virtual ~InstanceRendezvous() = default;

    // Claims the key for this process. True when no other living copy holds
    // it; the claim then lasts until this object is destroyed or the process
    // ends (also by a crash).
    virtual bool claim() = 0;

    // Sends a request to the copy that holds the key and waits for its answer
    // line. Returns the answer, or empty when none came within timeoutMs.
    virtual QByteArray deliver(const QByteArray &request, int timeoutMs) = 0;

    // After a successful claim: the listening socket for the running copy's
    // server. The caller takes it over; -1 when there is none.
    virtual qintptr takeListeningSocket() = 0;
};

// The Linux rendezvous: a lock file held with flock (the kernel drops the lock
// when the process ends, however it ends, so a killed copy leaves nothing
// that blocks the next start) and a local socket beside it, both in the
// user's runtime folder.
class LocalRendezvous : public InstanceRendezvous
{
public:
    // runtimeDir empty: $XDG_RUNTIME_DIR, else a private folder in /tmp.
    explicit LocalRendezvous(const QString &key, const QString &runtimeDir = QString());
    ~LocalRendezvous() override;

    bool claim() override;
    QByteArray deliver(const QByteArray &request, int timeoutMs) override;
    qintptr takeListeningSocket() override;

    QString lockPath() const { return m_lockPath; }
    QString socketPath() const { return m_socketPath; }

    static QString defaultRuntimeDir();

private:
    int listenOn();

    QString m_lockPath;
    QString m_socketPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    bool m_ownsSocketFile = false;
};
