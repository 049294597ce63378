#include "workflows/SystemCheck.h"

#include "device/MidiDoctor.h"
#include "firmware/Doctor.h"

namespace systemcheck {

QList<doctor::Finding> run(const Setup &setup)
{
    doctor::Inputs inputs = doctor::systemInputs(setup.updatePort, setup.firmwareServer);
    inputs.root = setup.root;
    inputs.midiError = setup.midiError;
    inputs.midiProducts = doctor::midiProducts(setup.midi);
    const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
    return doctor::midiFindings(inputs, !port.isEmpty()) + doctor::updateFindings(inputs, port);
}

} // namespace systemcheck
