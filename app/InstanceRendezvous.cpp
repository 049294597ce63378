#include "app/InstanceRendezvous.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The key names files: keep it to a harmless alphabet.
QString safeKey(const QString &key)
{
    QString name = key;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("instance") : name;
}

bool fillAddress(const QString &path, sockaddr_un *address)
{
    const QByteArray native = QFile::encodeName(path);
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    if (size_t(native.size()) >= sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path, native.constData(), size_t(native.size()));
    return true;
}

int remainingMs(const QElapsedTimer &timer, int timeoutMs)
{
    return int(qMax<qint64>(0, timeoutMs - timer.elapsed()));
}

// Waits for the descriptor to become ready for the given events.
bool waitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    int n;
    do {
        n = ::poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & events);
}

} // namespace

LocalRendezvous::LocalRendezvous(const QString &key, const QString &runtimeDir)
{
    const QString dir = runtimeDir.isEmpty() ? defaultRuntimeDir() : runtimeDir;
    m_lockPath = dir + QLatin1Char('/') + safeKey(key) + QStringLiteral(".lock");
    m_socketPath = dir + QLatin1Char('/') + safeKey(key) + QStringLiteral(".socket");
}

LocalRendezvous::~LocalRendezvous()
{
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        // Remove the socket while the lock still keeps others from binding it.
        if (m_ownsSocketFile)
            ::unlink(QFile::encodeName(m_socketPath).constData());
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd); // releases the lock
}

QString LocalRendezvous::defaultRuntimeDir()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir(xdg).exists())
        return xdg;
    // Without a runtime folder: a folder of our own, private to the user.
    const QString dir = QDir::tempPath() + QStringLiteral("/korvel-mavu-") + QString::number(::getuid());
    const QByteArray native = QFile::encodeName(dir);
    ::mkdir(native.constData(), 0700);
    struct stat info;
    if (::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid())
        return dir;
    return QDir::tempPath();
}

bool LocalRendezvous::claim()
{
    if (m_lockFd >= 0)
        return true;
    // Close-on-exec everywhere: a program the editor starts (a browser) must
    // not inherit the lock and keep it after the editor has gone.
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // No lock can be had at all: starting is better than never starting.
        return true;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_lockFd = fd;
    m_listenFd = listenOn();
    return true;
}

int LocalRendezvous::listenOn()
{
    sockaddr_un address;
    if (!fillAddress(m_socketPath, &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // Whatever socket file is there was left by a copy that ended: we hold the lock.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) < 0 || ::listen(fd, 16) < 0) {
        ::close(fd);
        return -1;
    }
    m_ownsSocketFile = true;
    return fd;
}

qintptr LocalRendezvous::takeListeningSocket()
{
    const int fd = m_listenFd;
    m_listenFd = -1; // the new owner closes it and removes the file
    m_ownsSocketFile = false;
    return fd;
}

QByteArray LocalRendezvous::deliver(const QByteArray &request, int timeoutMs)
{
    sockaddr_un address;
    if (!fillAddress(m_socketPath, &address))
        return QByteArray();
    QElapsedTimer timer;
    timer.start();

    // The running copy may have taken the lock an instant ago and not be
    // listening yet: try again for a while.
    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return QByteArray();
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0)
            break;
        const int error = errno;
        if (error == EINPROGRESS || error == EAGAIN) {
            if (waitFor(fd, POLLOUT, remainingMs(timer, timeoutMs)))
                break;
        }
        ::close(fd);
        fd = -1;
        if (remainingMs(timer, timeoutMs) == 0)
            return QByteArray();
        ::usleep(20 * 1000);
    }

    QByteArray answer;
    qint64 sent = 0;
    while (sent < request.size()) {
        if (!waitFor(fd, POLLOUT, remainingMs(timer, timeoutMs)))
            break;
        const ssize_t n = ::send(fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
        if (n > 0)
            sent += n;
    }
    if (sent == request.size()) {
        char buffer[256];
        while (!answer.contains('\n') && answer.size() < 4096) {
            if (!waitFor(fd, POLLIN, remainingMs(timer, timeoutMs)))
                break;
            const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                break;
            if (n > 0)
                answer.append(buffer, int(n));
        }
    }
    ::close(fd);
    const int end = answer.indexOf('\n');
    return end < 0 ? QByteArray() : answer.left(end + 1);
}
