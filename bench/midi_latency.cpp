// GET round trip through JACK: the editor's MIDI layer asking mavu-sim for
// its settings (8-byte request, 458-byte reply), against a bare RtMidi echo
// of the same bytes on the same server in the same run.
//
//   midi_latency [ROUNDS [PERIOD_FRAMES]]

#include "support/device/JackServer.h"

#include "device/ControllerLink.h"
#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "device/Protocol.h"
#include "simulator/SimController.h"
#include "workflows/ControllerRequest.h"

#include <rtmidi/RtMidi.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Stats {
    double median = 0, p95 = 0, mean = 0, best = 0;
};

Stats stats(std::vector<double> ms)
{
    Stats s;
    if (ms.empty())
        return s;
    std::sort(ms.begin(), ms.end());
    s.median = ms[ms.size() / 2];
    s.p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    s.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    s.best = ms.front();
    return s;
}

// Answers every message on its input with the settings reply, from JACK's thread.
class Echo
{
public:
    explicit Echo(const QByteArray &reply)
        : m_reply(reply.begin(), reply.end())
    {
        m_out.openVirtualPort("Mavu Echo");
        m_in.ignoreTypes(false, true, true);
        m_in.setCallback(&Echo::answer, this);
        m_in.openVirtualPort("Mavu Echo");
    }

private:
    static void answer(double, std::vector<unsigned char> *, void *user)
    {
        auto *self = static_cast<Echo *>(user);
        self->m_out.sendMessage(&self->m_reply);
    }

    std::vector<unsigned char> m_reply;
    RtMidiOut m_out{RtMidi::UNIX_JACK, "Mavu Echo"};
    RtMidiIn m_in{RtMidi::UNIX_JACK, "Mavu Echo"};
};

int findPort(RtMidi &port, const std::string &name)
{
    for (unsigned i = 0; i < port.getPortCount(); ++i) {
        if (port.getPortName(i).find(name) != std::string::npos)
            return int(i);
    }
    return -1;
}

// The same exchange with nothing but RtMidi in between.
std::vector<double> bareRoundTrips(int rounds, const QByteArray &request)
{
    std::mutex lock;
    std::condition_variable arrived;
    size_t got = 0;
    struct Wait {
        std::mutex *lock;
        std::condition_variable *arrived;
        size_t *got;
    } wait{&lock, &arrived, &got};

    RtMidiIn in(RtMidi::UNIX_JACK, "bench bare");
    RtMidiOut out(RtMidi::UNIX_JACK, "bench bare");
    in.ignoreTypes(false, true, true);
    in.setCallback(
        [](double, std::vector<unsigned char> *message, void *user) {
            auto *w = static_cast<Wait *>(user);
            std::lock_guard<std::mutex> guard(*w->lock);
            *w->got = message->size();
            w->arrived->notify_one();
        },
        &wait);
    const int inPort = findPort(in, "Mavu Echo");
    const int outPort = findPort(out, "Mavu Echo");
    if (inPort < 0 || outPort < 0)
        return {};
    in.openPort(unsigned(inPort), "bench bare in");
    out.openPort(unsigned(outPort), "bench bare out");

    std::vector<double> ms;
    const std::vector<unsigned char> bytes(request.begin(), request.end());
    for (int i = 0; i < rounds; ++i) {
        std::unique_lock<std::mutex> guard(lock);
        got = 0;
        const auto start = Clock::now();
        out.sendMessage(&bytes);
        if (!arrived.wait_for(guard, std::chrono::seconds(2), [&] { return got != 0; }))
            continue;
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return ms;
}

// The editor's path: MidiIn/MidiOut on the RtMidi back end, mavu-sim answering.
std::vector<double> getRoundTrips(MidiBackend *midi, int rounds, QString *error)
{
    ControllerLink link(midi);
    if (!link.open(error))
        return {};
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QByteArray reply;
        const auto start = Clock::now();
        if (!ControllerRequest::wait(link, protocol::ReadSettings, &reply, error, 2000))
            continue;
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return ms;
}

QString line(const char *what, const Stats &s, size_t count)
{
    return QStringLiteral("%1 n=%2  median %3 ms  p95 %4 ms  mean %5 ms  best %6 ms")
        .arg(QLatin1String(what))
        .arg(count)
        .arg(s.median, 0, 'f', 3)
        .arg(s.p95, 0, 'f', 3)
        .arg(s.mean, 0, 'f', 3)
        .arg(s.best, 0, 'f', 3);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("mavu.*.debug=false"));
    QTextStream out(stdout);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    JackServer jack;
    QString error;
    const int period = argc > 2 ? std::max(16, atoi(argv[2])) : 256;
    if (!jack.start(&error, period)) {
        out << "cannot start JACK: " << error << '\n';
        return 1;
    }
    GuardedProcess simulator;
    if (!simulator.start(QStringLiteral(MAVU_SIM_PATH), {QStringLiteral("--midi-api"), QStringLiteral("jack")})
        || !simulator.waitForOutput(QStringLiteral("plugged in"), 10000)) {
        out << "cannot start mavu-sim: " << simulator.output() << '\n';
        return 1;
    }
    std::unique_ptr<MidiBackend> midi = startSystemMidi(QStringLiteral("jack"), QStringLiteral("bench"), &error);
    if (!midi) {
        out << "no MIDI: " << error << '\n';
        return 1;
    }

    const QByteArray request = protocol::request(protocol::ReadSettings);
    const QByteArray reply = SimController().settingsReply();
    std::vector<double> ours, bare;
    try {
        Echo echo(reply);
        // Interleaved halves, so that drift on the shared machine hits both alike.
        for (int half = 0; half < 2; ++half) {
            const std::vector<double> g = getRoundTrips(midi.get(), rounds / 2, &error);
            ours.insert(ours.end(), g.begin(), g.end());
            const std::vector<double> b = bareRoundTrips(rounds / 2, request);
            bare.insert(bare.end(), b.begin(), b.end());
        }
    } catch (const RtMidiError &e) {
        out << "RtMidi: " << QString::fromStdString(e.getMessage()) << '\n';
        return 1;
    }
    if (ours.empty() || bare.empty()) {
        out << "no round trips measured: " << error << '\n';
        return 1;
    }
    const Stats g = stats(ours), b = stats(bare);
    out << "JACK server " << jack.name() << ", dummy driver 48 kHz / " << period << " frames; " << request.size()
        << "-byte request, " << reply.size() << "-byte reply\n";
    out << line("GET via editor layer + mavu-sim:", g, ours.size()) << '\n';
    out << line("bare RtMidi echo:               ", b, bare.size()) << '\n';
    out << QStringLiteral("ratio (median): %1").arg(g.median / b.median, 0, 'f', 2) << '\n';
    midi.reset(); // its ports go before the server
    return 0;
}
