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
        m_findings << doctor::serverFinding(error);
        m_running = false;
        emit finished();
    });
}

void SystemCheck::start(const systemcheck::Setup &setup)
{
    doctor::Inputs inputs;
    inputs.root = setup.root;
    inputs.updatePortOverride = setup.updatePort;
    inputs.midiError = setup.midiError;
    inputs.midiApi = setup.midi ? setup.midi->apiName() : QString();
    inputs.midiProducts = doctor::midiProducts(setup.midi);
    const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
    m_findings = doctor::midiFindings(inputs, !port.isEmpty()) + doctor::updateFindings(inputs, port);
    m_running = true;
    m_probe.ask(setup.firmwareServer);
}

void SystemCheck::cancel()
{
    m_probe.cancel();
    m_running = false;
}
