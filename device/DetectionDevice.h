#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class DeviceEventSource;
class MidiBackend;
class PowerEventSource;

// Reports the controller's arrival and removal as a device type text
// ("zt118" for its MIDI function) and whether it came or went. The decisions
// depend only on the path texts the event sources give, the MIDI port names
// and whether the update port is there; the sources are replaceable.
class DetectionDevice : public QObject
{
    Q_OBJECT
public:
    // Whether the controller's update port is there: the firmware side's one
    // decision (updateport::presence), handed in by the program.
    using UpdatePortQuestion = std::function<bool()>;

    // Watches udev and the MIDI port names of midi.
    DetectionDevice(MidiBackend *midi, UpdatePortQuestion updatePortPresent, QObject *parent = nullptr);
    // Takes the sources (they become children).
    DetectionDevice(MidiBackend *midi, UpdatePortQuestion updatePortPresent, const QList<DeviceEventSource *> &sources,
        QObject *parent = nullptr);
    ~DetectionDevice() override;

    // Looks once for a controller that is already there.
    void checkConnectedDevice();
    // The device type whose identifying text occurs in the path, ignoring case; empty if none.
    QString getDevType(const QString &devicePath) const;
    bool devArrived() const { return m_devArrived; }
    // Reported but not yet listed, the controller's ports are looked for this
    // often, for this long (bridges such as a2jmidid list them late).
    static constexpr int kPortLookMs = 250;
    static constexpr int kPortWaitMs = 10000;
    // Logs sleep, wake and shutdown; after waking looks at the controller's
    // ports again, as they may have changed while asleep (takes the source).
    void addPowerSource(PowerEventSource *source);

public slots:
    void handleDeviceEvent(const QString &path, bool arrival);
    void handleSleep(bool sleeping);
    // The session manager ends the session: only logged.
    void sessionEnding();

signals:
    void s_devTypeAndState(QString devType, bool isDevArrival);

private:
    void addSource(DeviceEventSource *source);
    QStringList controllerPortIds() const;
    void waitForPorts();
    void lookForPorts();
    void tellSources(bool present);

    bool m_devArrived = false;
    bool m_cardGone = false; // udev's word on the card, which the port names may lag
    bool m_arrivedWithoutCard = false;
    QStringList m_portsBeforeSleep;
    QMap<QString, QString> m_devTypeMap;
    QList<DeviceEventSource *> m_sources;
    QTimer m_portLook;
    QElapsedTimer m_portWait;
    MidiBackend *m_midi;
    UpdatePortQuestion m_updatePortPresent;
};
