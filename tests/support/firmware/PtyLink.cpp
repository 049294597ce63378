#include "support/firmware/PtyLink.h"

#include <QByteArray>
#include <QDir>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Bytes waiting to go one way, released no faster than the line rate.
struct Direction {
    int from = -1;
    int to = -1;
    std::atomic<long long> *counter = nullptr;
    QByteArray queue;
    double credit = 0;
    Clock::time_point last = Clock::now();
};

constexpr double kBurstBytes = 16; // about 1.4 ms at 115200 baud
constexpr int kChunk = 4096;

bool makePty(int *master, int *slave, QString *path)
{
    char name[256] = {};
    if (openpty(master, slave, name, nullptr, nullptr) != 0)
        return false;
    termios tio{};
    tcgetattr(*slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(*slave, TCSANOW, &tio);
    fcntl(*master, F_SETFL, fcntl(*master, F_GETFL) | O_NONBLOCK);
    // Child processes must not hold the line open, or cut() could not end it.
    fcntl(*master, F_SETFD, FD_CLOEXEC);
    fcntl(*slave, F_SETFD, FD_CLOEXEC);
    *path = QString::fromLocal8Bit(name);
    return true;
}

void closeFd(int *fd)
{
    if (*fd >= 0)
        ::close(*fd);
    *fd = -1;
}

} // namespace

PtyLink::PtyLink(int bytesPerSecond)
    : m_bytesPerSecond(bytesPerSecond)
{ }

bool PtyLink::open(QString *error)
{
    if (!makePty(&m_peerMaster, &m_peerSlave, &m_peerPath) || !makePty(&m_portMaster, &m_portSlave, &m_portPath)
        || pipe2(m_wake, O_CLOEXEC) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void PtyLink::cut()
{
    m_cut = true;
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    // The relay thread closes the port side when it sees the flag.
    for (int i = 0; i < 200 && !m_cutDone; ++i)
        usleep(1000);
}

void PtyLink::close()
{
    m_stop = true;
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    if (m_thread.joinable())
        m_thread.join();
    for (int *fd : {&m_portMaster, &m_portSlave, &m_peerMaster, &m_peerSlave, &m_wake[0], &m_wake[1]})
        closeFd(fd);
}

int PtyLink::descriptorsOn(const QString &path)
{
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : path;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        count += link == target || link == target + QStringLiteral(" (deleted)") ? 1 : 0;
    }
    return count;
}

QVector<PtyLink::Delivery> PtyLink::traffic() const
{
    std::lock_guard<std::mutex> lock(m_trafficMutex);
    return m_traffic;
}

void PtyLink::run()
{
    const Clock::time_point opened = Clock::now();
    Direction out{m_portMaster, m_peerMaster, &m_forwarded, {}};
    Direction back{m_peerMaster, m_portMaster, &m_returned, {}};
    Direction *directions[2] = {&out, &back};

    while (!m_stop) {
        if (m_cut && !m_cutDone) {
            closeFd(&m_portSlave);
            closeFd(&m_portMaster);
            out.from = back.to = -1;
            out.queue.clear();
            back.queue.clear();
            m_cutDone = true;
        }
        bool waiting = false;
        pollfd fds[3] = {{m_wake[0], POLLIN, 0}, {out.from, POLLIN, 0}, {back.from, POLLIN, 0}};
        for (Direction *d : directions) {
            if (d->queue.size() >= kChunk * 4)
                (d == &out ? fds[1] : fds[2]).fd = -1; // let the far side drain first
            waiting = waiting || !d->queue.isEmpty();
        }
        poll(fds, 3, waiting ? 1 : 100);
        if (fds[0].revents & POLLIN) {
            char sink[64];
            (void)!::read(m_wake[0], sink, sizeof sink);
        }
        for (int i = 0; i < 2; ++i) {
            Direction *d = directions[i];
            if (d->from >= 0 && (fds[i + 1].revents & POLLIN)) {
                char buffer[kChunk];
                const ssize_t got = ::read(d->from, buffer, sizeof buffer);
                if (got > 0)
                    d->queue.append(buffer, int(got));
            }
            const Clock::time_point now = Clock::now();
            if (d->queue.isEmpty() || d->to < 0) {
                d->credit = 0;
                d->last = now;
                continue;
            }
            int allowed = d->queue.size();
            if (m_bytesPerSecond > 0) {
                const double elapsed = std::chrono::duration<double>(now - d->last).count();
                d->credit = std::min(kBurstBytes, d->credit + elapsed * m_bytesPerSecond);
                allowed = int(d->credit);
            }
            d->last = now;
            if (allowed <= 0)
                continue;
            const ssize_t put
                = ::write(d->to, d->queue.constData(), size_t(std::min<qint64>(allowed, d->queue.size())));
            if (put > 0) {
                if (m_keep) {
                    std::lock_guard<std::mutex> lock(m_trafficMutex);
                    m_traffic.append(
                        {std::chrono::duration<double>(now - opened).count(), d == &out, d->queue.left(int(put))});
                }
                d->queue.remove(0, int(put));
                *d->counter += put;
                if (m_bytesPerSecond > 0)
                    d->credit -= double(put);
            }
        }
    }
}
