#include "workflows/SettingsSend.h"

#include "device/ControllerChannel.h"
#include "device/Protocol.h"

bool sendSettings(ControllerChannel &channel, const QByteArray &image, QString *error)
{
    channel.open(error);
    return channel.send(protocol::writeSettingsMessage(image), error);
}
