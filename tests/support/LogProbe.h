#pragma once

#include <QObject>

// Named by the firmware dialogs' Qt Quick test, which publishes it without
// using it; the page tests read the settings through ImageProbe instead.
class LogProbe : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
};
