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

    // The controller was reported gone (by this source or another): whatever
    // this source remembers of it is stale, so its return counts as an arrival.
    virtual void forgetController() { }

signals:
    void deviceEvent(const QString &path, bool arrival);
};
