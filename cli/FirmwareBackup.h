#pragma once

#include <QString>

class ControllerLink;
class MidiBackend;
class SettingsSafeguard;

// mavuctl's side of the settings backup around a firmware update.
namespace cli {

// Saves the settings of the controller on the open link and says where; false
// when the update is not to go on (*error says why).
bool backUpBeforeUpdate(ControllerLink &link, SettingsSafeguard &safeguard, QString *error);

// Waits for the updated controller to come back on midi, compares its settings with
// the backup and writes the backup back where the user wants it.
void checkAfterReturn(MidiBackend *midi, SettingsSafeguard &safeguard);

} // namespace cli
