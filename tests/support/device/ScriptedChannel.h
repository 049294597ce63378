#pragma once

#include "device/ControllerChannel.h"

// The controller's line as the test has it: there, and its sends fail with
// sendError when that is set; answer() is the controller speaking.
class ScriptedChannel : public ControllerChannel
{
public:
    bool isPresent() override { return true; }
    bool open(QString *) override { return true; }
    void close() override { }
    bool send(const QByteArray &message, QString *error) override
    {
        sent << message;
        *error = sendError;
        return sendError.isEmpty();
    }
    void answer(const QByteArray &message) { deliver(message); }

    QString sendError;
    QList<QByteArray> sent; // every message tried
};
