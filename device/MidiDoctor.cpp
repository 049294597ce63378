#include "device/MidiDoctor.h"

#include "device/MidiBackend.h"
#include "model/ControllerIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace doctor {

namespace {

// A Unix socket somebody listens on (a stale file of a killed server is not).
bool listening(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (size_t(native.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool up = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        ::close(fd);
    return up;
}

// JACK 2 servers of this user: sockets /dev/shm/jack_NAME_UID_0.
QStringList jackServers(const QString &root)
{
    QStringList names;
    const QRegularExpression shape(QStringLiteral("^jack_(.+)_%1_0$").arg(::getuid()));
    const QDir shm(root + QStringLiteral("/dev/shm"));
    for (const QString &entry : shm.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        const auto match = shape.match(entry);
        if (match.hasMatch() && listening(shm.filePath(entry)))
            names << match.captured(1);
    }
    return names;
}

QList<Finding> midiSystems(const Inputs &in)
{
    QList<Finding> found;
    const QString seq = in.root + QStringLiteral("/dev/snd/seq");
    if (!QFileInfo::exists(seq)) {
        found << problem(QStringLiteral("No ALSA sequencer: /dev/snd/seq is missing, so USB MIDI devices cannot "
                                        "be reached through ALSA."),
            QStringLiteral("Load it with \"sudo modprobe snd-seq\". Without sound hardware (containers, virtual "
                           "machines) use JACK: start a server (\"jackd -d dummy\", or your desktop's JACK or "
                           "PipeWire) and run \"korvel-mavu --midi-api=jack\"; \"a2jmidid -e\" brings ALSA MIDI "
                           "devices into JACK."));
    } else if (!readWritable(seq)) {
        found << problem(QStringLiteral("The ALSA sequencer /dev/snd/seq may not be used by you."),
            QStringLiteral("Join the audio group (\"sudo usermod -aG audio $USER\") and log in again."));
    } else {
        found << ok(QStringLiteral("ALSA sequencer: reachable."));
    }
    const QStringList jack = jackServers(in.root);
    found << ok(jack.isEmpty()
            ? QStringLiteral("JACK: no server running (only needed with --midi-api=jack).")
            : QStringLiteral("JACK: server running (%1); use --midi-api=jack.").arg(jack.join(", ")));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("/run/user/%1").arg(::getuid()));
    if (QFileInfo::exists(in.root + runtime + QStringLiteral("/pipewire-0"))) {
        found << ok(QStringLiteral("PipeWire: running. Its JACK (\"pw-jack korvel-mavu --midi-api=jack\") shows "
                                   "ALSA MIDI devices as Midi-Bridge ports."));
    }
    if (!in.midiError.isEmpty()) {
        QString fix = QStringLiteral("Choose one that runs here with --midi-api=alsa or --midi-api=jack.");
        if (!jack.isEmpty() && !jack.contains(QLatin1String("default")))
            fix += QStringLiteral(" A JACK server of another name is reached with JACK_DEFAULT_SERVER=%1.")
                       .arg(jack.first());
        found << problem(QStringLiteral("The MIDI system did not start: %1.").arg(in.midiError), fix);
    }
    return found;
}

Finding controllerPorts(const Inputs &in, bool updatePortPresent)
{
    if (in.midiProducts.contains(QLatin1String(controllerids::kPortName)))
        return ok(QStringLiteral("The controller's MIDI ports are present."));
    if (updatePortPresent) {
        return problem(QStringLiteral("The controller is in update mode: it has its update port but no MIDI ports."),
            QStringLiteral("Finish the firmware update (the editor offers it, or \"mavuctl firmware update FILE "
                           "--port PORT\")."));
    }
    return problem(QStringLiteral("The controller's MIDI ports are not listed."),
        QStringLiteral("Plug the controller in with a cable that carries data. Under JACK its ports appear only "
                       "through a bridge (a2jmidid -e, or PipeWire's JACK)."));
}

} // namespace

QList<Finding> midiFindings(const Inputs &in, bool updatePortPresent)
{
    return midiSystems(in) << controllerPorts(in, updatePortPresent);
}

QStringList midiProducts(MidiBackend *backend)
{
    QStringList products;
    if (backend) {
        for (const QString &id : backend->inputPortIds())
            products << backend->productName(id);
    }
    return products;
}

} // namespace doctor
