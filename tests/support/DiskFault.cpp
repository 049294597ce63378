#include "support/DiskFault.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
constexpr QFileDevice::Permissions kWrite
    = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;

bool failed(QString *error, const char *call)
{
    *error = QStringLiteral("%1: %2").arg(QLatin1String(call), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

bool DiskFault::begin(QString *error)
{
    if (m_active)
        return true;
    if (m_kind == Full) {
        if (::getrlimit(RLIMIT_FSIZE, &m_limit) != 0)
            return failed(error, "getrlimit");
        const rlimit none{0, m_limit.rlim_max};
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &none) != 0) {
            std::signal(SIGXFSZ, m_previousHandler);
            return failed(error, "setrlimit");
        }
        m_active = true;
        return true;
    }
    m_permissions = QFile::permissions(m_folder);
    if (!QFile::setPermissions(m_folder, m_permissions & ~kWrite))
        return failed(error, "chmod");
    m_active = true;
    if (::geteuid() == 0) {
        if (::seteuid(kNobody) != 0) {
            failed(error, "seteuid");
            end();
            return false;
        }
        m_userChanged = true;
    }
    return true;
}

void DiskFault::end()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_kind == Full) {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_previousHandler);
        return;
    }
    if (m_userChanged && ::seteuid(0) != 0)
        qFatal("cannot become root again: %s", std::strerror(errno));
    m_userChanged = false;
    QFile::setPermissions(m_folder, m_permissions);
}
