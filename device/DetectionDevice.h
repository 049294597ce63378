#pragma once

#include <QObject>
#include <QString>

// Reports the controller's arrival and removal.
class DetectionDevice : public QObject
{
    Q_OBJECT
public:
    explicit DetectionDevice(QObject *parent = nullptr);
    void checkConnectedDevice();

signals:
    void s_devTypeAndState(QString devType, bool isDevArrival);
};
