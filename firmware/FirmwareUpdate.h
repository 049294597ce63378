#pragma once

#include <QObject>
#include <QString>

// Sends a firmware file to the controller in its update mode.
class FirmwareUpdate : public QObject
{
    Q_OBJECT
public:
    explicit FirmwareUpdate(QObject *parent = nullptr);
    void startUpdate(QString filePath);

signals:
    void transmitProgress(int value);
    void transStatus(bool isSuccess);
};
