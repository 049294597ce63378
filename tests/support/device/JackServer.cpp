#include "support/device/JackServer.h"

#include "device/MidiBackend.h"
#include "device/MidiSetup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace {

// jack_wait gives up at once when it reaches the server's socket before the
// server takes clients (seen with several servers starting together), so it
// is asked again until the deadline.
bool waitForServer(const QString &name, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (QProcess::execute(QStringLiteral("jack_wait"), {"-s", name, "-w", "-t", "5"}) != 0) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(200);
    }
    return true;
}

} // namespace

bool JackServer::start(QString *error, int periodFrames, const QString &midiClient)
{
    static int counter = 0;
    m_name = QStringLiteral("mavu-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    qputenv("JACK_DEFAULT_SERVER", m_name.toUtf8());
    // The dummy driver needs no audio hardware. Real-time scheduling (where
    // allowed; jackd carries on without it otherwise) keeps a busy machine
    // from making JACK overrun its cycles and lose MIDI on the way; the long
    // client time-out keeps it from dropping a client held up anyway.
    m_jackd.start(QStringLiteral("jackd"),
        {"-R", "-t", "10000", "-n", m_name, "-d", "dummy", "-r", "48000", "-p", QString::number(periodFrames)});
    if (!waitForServer(m_name, 15000)) {
        *error = QStringLiteral("the JACK server %1 did not come up (is jackd2 installed?): %2")
                     .arg(m_name, QString::fromLocal8Bit(m_jackd.output()));
        return false;
    }
    if (!midiClient.isEmpty())
        m_midi = startSystemMidi(QStringLiteral("jack"), midiClient, error);
    return midiClient.isEmpty() || m_midi;
}

JackServer::JackServer() = default;

JackServer::~JackServer()
{
    stop();
}

void JackServer::stop()
{
    m_midi.reset(); // its ports go before the server
    m_jackd.stop();
}
