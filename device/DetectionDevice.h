#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class DeviceEventSource;
class PowerEventSource;
class SerialPortFinder;

// Reports the controller's arrival and removal as a device type text
// ("zt118" for its MIDI function) and whether it came or went. The decisions
// depend only on the path texts the event sources give, the MIDI port names
// and the serial ports; the sources and the serial-port finder are replaceable.
class DetectionDevice : public QObject
{
    Q_OBJECT
public:
    // Watches udev and the MIDI port names, and finds serial ports through the system.
    explicit DetectionDevice(QObject *parent = nullptr);
    // Takes the finder and the sources (they become children). A named
    // update port, when it exists, counts as the controller's update port.
    DetectionDevice(std::unique_ptr<SerialPortFinder> finder, const QList<DeviceEventSource *> &sources,
                    const QString &namedUpdatePort = QString(), QObject *parent = nullptr);
    ~DetectionDevice() override;

    // Looks once for a controller that is already there.
    void checkConnectedDevice();
    // The device type whose identifying text occurs in the path, ignoring case; empty if none.
    QString getDevType(const QString &devicePath) const;
    bool devArrived() const { return m_devArrived; }
    // Logs sleep, wake and shutdown; after waking looks at the controller's
    // ports again, as they may have changed while asleep (takes the source).
    void addPowerSource(PowerEventSource *source);

public slots:
    void handleDeviceEvent(const QString &path, bool arrival);
    void handleSleep(bool sleeping);

signals:
    void s_devTypeAndState(QString devType, bool isDevArrival);

private:
    void addSource(DeviceEventSource *source);
    void watchSession();

    bool m_devArrived = false;
    QStringList m_portsBeforeSleep;
    QMap<QString, QString> m_devTypeMap;
    std::unique_ptr<SerialPortFinder> m_finder;
    QString m_namedUpdatePort;
};
