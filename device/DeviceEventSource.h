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

    // The controller was reported arrived or gone (by this source or another):
    // a source that remembers it takes that as its last look, so a change seen
    // by another source first is neither lost nor reported twice.
    virtual void controllerReported(bool present) { Q_UNUSED(present) }

signals:
    void deviceEvent(const QString &path, bool arrival);
};
