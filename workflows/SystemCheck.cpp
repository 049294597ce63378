#include "workflows/SystemCheck.h"

#include "device/MidiBackend.h"
#include "device/MidiDoctor.h"

#include <QEventLoop>

namespace systemcheck {

QList<doctor::Finding> run(const Setup &setup)
{
    SystemCheck check;
    QEventLoop loop;
    QObject::connect(&check, &SystemCheck::finished, &loop, &QEventLoop::quit);
    check.start(setup);
    loop.exec();
    return check.findings();
}

} // namespace systemcheck

SystemCheck::SystemCheck(QObject *parent)
    : QObject(parent)
{
    connect(&m_probe, &doctor::FirmwareServerProbe::answered, this, [this](const QString &error) {
        m_server = doctor::serverFinding(error);
        m_answered = true;
        conclude();
    });
    connect(&m_listener, &LoaderListener::heard, this, &SystemCheck::listened);
}

void SystemCheck::start(const systemcheck::Setup &setup)
{
    m_inputs = doctor::Inputs();
    m_inputs.root = setup.root;
    m_inputs.updatePortOverride = setup.updatePort;
    m_inputs.midiError = setup.midiError;
    m_inputs.midiApi = setup.midi ? setup.midi->apiName() : QString();
    m_inputs.midiProducts = doctor::midiProducts(setup.midi);
    m_port = doctor::findUpdatePort(m_inputs.root, m_inputs.updatePortOverride);
    m_findings.clear();
    m_running = true;
    m_answered = false;
    m_listened = false;
    // A named port that merely exists is no controller in update mode.
    if (!m_inputs.updatePortOverride.isEmpty() && !m_port.isEmpty())
        m_listener.listen(m_port);
    else
        listened(!m_port.isEmpty());
    m_probe.ask(setup.firmwareServer);
}

void SystemCheck::listened(bool loader)
{
    // Looked at only once the port is let go: opening it is one of the checks.
    m_findings = doctor::midiFindings(m_inputs, loader) + doctor::updateFindings(m_inputs, m_port);
    m_listened = true;
    conclude();
}

void SystemCheck::conclude()
{
    if (!m_running || !m_listened || !m_answered)
        return;
    m_findings << m_server;
    m_running = false;
    emit finished();
}

void SystemCheck::cancel()
{
    m_probe.cancel();
    m_listener.cancel();
    m_running = false;
}
