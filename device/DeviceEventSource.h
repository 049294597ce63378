#pragma once

#include <QObject>
#include <QString>

// Something that observes devices coming and going and reports each as the
// device's path text and whether it arrived or left.
class DeviceEventSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void deviceEvent(const QString &path, bool arrival);
};
