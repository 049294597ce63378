#include "simulator/PtyUpdatePort.h"

#include "firmware/YmodemFileTransmit.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyUpdatePort::PtyUpdatePort(QObject *parent)
    : QObject(parent)
{ }

PtyUpdatePort::~PtyUpdatePort()
{
    delete m_notifier;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    if (!m_linkPath.isEmpty() && QFile::symLinkTarget(m_linkPath) == m_slavePath)
        QFile::remove(m_linkPath);
}

bool PtyUpdatePort::open(const QString &linkPath, QString *error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error
            = QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    termios raw{};
    if (::tcgetattr(m_slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        // glibc takes the rate itself as well as its B constant.
        ::cfsetspeed(&raw, speed_t(YmodemFileTransmit::kBaudRate));
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(m_slavePath, linkPath)) {
            *error = QStringLiteral("cannot make the link %1").arg(linkPath);
            return false;
        }
        m_linkPath = linkPath;
    }

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyUpdatePort::readMaster);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &PtyUpdatePort::tick);
    m_timer->start(1000);
    write(m_receiver.start());
    return true;
}

void PtyUpdatePort::write(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a full line: the sender resends what it misses
        data += n;
        left -= n;
    }
}

void PtyUpdatePort::readMaster()
{
    char buffer[4096];
    QByteArray received;
    while (true) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!received.isEmpty())
        write(m_receiver.feed(received));
    checkDone();
}

void PtyUpdatePort::tick()
{
    if (m_receiver.state() == YmodemReceiver::State::WaitHeader) {
        // Requests nobody read yet would pile up for the sender: keep only the latest.
        ::tcflush(m_slave, TCIFLUSH);
    }
    write(m_receiver.tick());
    checkDone();
}

void PtyUpdatePort::checkDone()
{
    if (!m_receiver.finished() || m_reported)
        return;
    m_reported = true;
    m_timer->stop();
    m_notifier->setEnabled(false);
    const bool ok = m_receiver.state() == YmodemReceiver::State::Done && !m_receiver.files().isEmpty();
    QString error = m_receiver.error();
    if (!ok && error.isEmpty())
        error = QStringLiteral("the batch held no file");
    emit finished(ok, m_receiver.files(), error);
}
