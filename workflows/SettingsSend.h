#pragma once

#include <QByteArray>
#include <QString>

class ControllerChannel;

// Writes a settings image to the controller: the channel opened (open ports
// stay as they are) and the image sent as the write message, byte 1 set to 01
// in the copy that goes. No answer is awaited; false with *error when it did
// not go out.
bool sendSettings(ControllerChannel &channel, const QByteArray &image, QString *error);
