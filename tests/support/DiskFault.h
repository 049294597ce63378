#pragma once

#include <QFileDevice>
#include <QString>

#include <sys/resource.h>

// A disk that is full or read-only for this process while the fault lasts,
// for any user and without mounting anything. Full: no file may grow
// (RLIMIT_FSIZE at 0, SIGXFSZ ignored, so a write fails as on a full disk).
// Read-only: the folder's write permission taken away, and for root, whom
// permissions do not stop, the effective user made nobody's meanwhile.
class DiskFault
{
public:
    enum Kind { Full, ReadOnly };
    DiskFault(Kind kind, const QString &folder)
        : m_kind(kind)
        , m_folder(folder)
    { }
    ~DiskFault() { end(); }
    DiskFault(const DiskFault &) = delete;
    DiskFault &operator=(const DiskFault &) = delete;

    // False, and why, where this system does not let the fault be made.
    bool begin(QString *error);
    void end();

private:
    Kind m_kind;
    QString m_folder;
    bool m_active = false;
    bool m_userChanged = false;
    rlimit m_limit{};
    void (*m_previousHandler)(int) = nullptr;
    QFileDevice::Permissions m_permissions;
};
