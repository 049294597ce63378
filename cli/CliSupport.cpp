#include "cli/CliSupport.h"

#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "simulator/InProcess.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace cli {

int fail(const QString &message)
{
    QTextStream err(stderr);
    err << "mavuctl: " << message << '\n';
    return 1;
}

void printOut(const QString &text)
{
    QTextStream out(stdout);
    out << text;
}

Invocation::Invocation() = default;

Invocation::~Invocation() = default;

bool Invocation::isSet(const QString &option) const
{
    return parser->isSet(option);
}

QString Invocation::value(const QString &option) const
{
    return parser->value(option);
}

int Invocation::usageError() const
{
    return fail(QStringLiteral("usage: ") + synopsis);
}

MidiBackend *Invocation::midi(QString *error) const
{
    if (!m_midi && m_midiError.isEmpty())
        m_midi = startSystemMidi(shared.midiApi, QCoreApplication::applicationName(), &m_midiError);
    if (!m_midi)
        *error = m_midiError;
    return m_midi.get();
}

void Invocation::startSimulator()
{
    m_simulator = std::make_unique<QObject>();
    sim::SimulatedLink link = sim::startSimulatedLink(shared, m_simulator.get());
    m_midi = std::move(link.midi);
    shared.updatePort = link.updatePort;
    shared.firmwareServer = link.firmwareServer;
    dataFolder = link.dataFolder;
}

bool loadPreset(const QString &path, DataManagement &settings)
{
    QByteArray image;
    QString error;
    if (!preset::readFile(path, &image, &error)) {
        fail(QStringLiteral("cannot open %1: %2").arg(path, error));
        return false;
    }
    settings.setImage(image.constData(), image.size());
    return true;
}

bool savePreset(const QString &path, DataManagement &settings)
{
    QString error;
    if (!preset::writeFile(path, settings.imageBytes(), &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, error));
        return false;
    }
    return true;
}

} // namespace cli
