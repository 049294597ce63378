#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Online firmware check and download.
class MyFtp : public QObject
{
    Q_OBJECT
public:
    explicit MyFtp(QObject *parent = nullptr);
    void setDeviceConnected(bool connected);
    void setCurrentVersion(QString version);

public slots:
    void checkOnLineFirmware();
    void downloadFir();

signals:
    void showDialog();
    void info(QString name, QString ver, QStringList infoList);
    void downloadComplete(QString filePath);
};
