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
    // The sequencer matters when ALSA is the MIDI system in use (or none
    // started); beside a working JACK or the simulator it is only worth knowing.
    const bool otherInUse = in.midiError.isEmpty()
        && (in.midiApi == QLatin1String("jack") || in.midiApi == QLatin1String(kSimulatedMidi));
    const auto finding = [otherInUse](const QString &text, const QString &fix) {
        return otherInUse ? note(text, fix) : problem(text, fix);
    };
    const QString seq = in.root + QStringLiteral("/dev/snd/seq");
    if (!QFileInfo::exists(seq)) {
        found << finding(Doctor::tr("No ALSA sequencer: /dev/snd/seq is missing, so USB MIDI devices cannot be "
                                    "reached through ALSA."),
            Doctor::tr("Load it with \"sudo modprobe snd-seq\". Without sound hardware (containers, virtual "
                       "machines) use JACK: start a server (\"jackd -d dummy\", or your desktop's JACK or "
                       "PipeWire) and run \"korvel-mavu --midi-api=jack\"; \"a2jmidid -e\" brings ALSA MIDI "
                       "devices into JACK."));
    } else if (!readWritable(seq)) {
        found << finding(Doctor::tr("The ALSA sequencer /dev/snd/seq may not be used by you."),
            Doctor::tr("Join the audio group (\"sudo usermod -aG audio $USER\") and log in again."));
    } else {
        found << ok(Doctor::tr("ALSA sequencer: reachable."));
    }
    const QStringList jack = jackServers(in.root);
    if (in.midiApi == QLatin1String(kSimulatedMidi) && in.midiError.isEmpty())
        found << ok(Doctor::tr("MIDI: the simulated controller (--simulator) stands in for the system's MIDI."));
    else if (in.midiApi == QLatin1String("jack") && in.midiError.isEmpty())
        found << ok(Doctor::tr("JACK: in use."));
    else
        found << ok(jack.isEmpty()
                ? Doctor::tr("JACK: no server running (only needed with --midi-api=jack).")
                : Doctor::tr("JACK: server running (%1); use --midi-api=jack.").arg(jack.join(", ")));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("/run/user/%1").arg(::getuid()));
    if (QFileInfo::exists(in.root + runtime + QStringLiteral("/pipewire-0"))) {
        found << ok(Doctor::tr("PipeWire: running. Its JACK (\"pw-jack korvel-mavu --midi-api=jack\") shows ALSA "
                               "MIDI devices as Midi-Bridge ports."));
    }
    if (!in.midiError.isEmpty()) {
        QString fix = Doctor::tr("Choose one that runs here with --midi-api=alsa or --midi-api=jack.");
        if (!jack.isEmpty() && !jack.contains(QLatin1String("default")))
            fix += QLatin1Char(' ')
                + Doctor::tr("A JACK server of another name is reached with JACK_DEFAULT_SERVER=%1.").arg(jack.first());
        found << problem(Doctor::tr("The MIDI system did not start: %1.").arg(in.midiError), fix);
    }
    return found;
}

Finding controllerPorts(const Inputs &in, bool updatePortPresent)
{
    if (in.midiProducts.contains(QLatin1String(controllerids::kPortName)))
        return ok(Doctor::tr("The controller's MIDI ports are present."));
    if (updatePortPresent) {
        return problem(Doctor::tr("The controller is in update mode: it has its update port but no MIDI ports."),
            Doctor::tr("Finish the firmware update (the editor offers it, or \"mavuctl firmware update FILE --port "
                       "PORT\")."));
    }
    return problem(Doctor::tr("The controller's MIDI ports are not listed."),
        Doctor::tr("Plug the controller in with a cable that carries data. Under JACK its ports appear only through "
                   "a bridge (a2jmidid -e, or PipeWire's JACK)."));
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
