#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QThreadPool>

// Every settings image read from or written to a controller, kept under the
// data folder's "history", a folder per serial number (made safe for a file
// name), one .syx file per snapshot named NUMBER_TIME_EVENT.syx. A snapshot's
// ID is SERIAL.NUMBER, which mavuctl takes.
namespace history {

constexpr int kMaxKept = 1000;
// Never pruned, whatever the count: the newest, and the backups before a firmware update.
constexpr int kNewestKept = 20;

enum class Event { Read, Get, Send, Backup, Restore };
// "read" (on arrival), "get", "send", "backup" (before a firmware update), "restore".
QString eventName(Event event);

struct Snapshot {
    QString id; // "KMV0001.12"
    QString serial; // the folder's name
    int number = 0;
    QDateTime when; // UTC
    QString event;
    QString path;
};

// The "history" of a data folder, and of the editor's and mavuctl's own.
QString folderIn(const QString &dataFolder);
QString defaultFolder();

// Stores image as the newest snapshot of serial (empty: not known) unless it
// holds the same as the newest already; then prunes. False with *error when
// it cannot write.
bool record(const QString &folder, const QString &serial, Event event, const QByteArray &image, const QDateTime &when,
    QString *error);

// Newest first; of one controller (its serial as given or as its folder is
// named), or of all when serial is empty.
QList<Snapshot> list(const QString &folder, const QString &serial = QString());

// The snapshot with this ID and its image; false with *error when there is none.
bool find(const QString &folder, const QString &id, Snapshot *found, QByteArray *image, QString *error);

// Writes snapshots in the order given on a thread of its own, so that an
// exchange with the controller never waits for the disk.
class Recorder
{
public:
    explicit Recorder(QString folder);
    ~Recorder(); // what was handed over is written first
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    QString folder() const { return m_folder; }
    // Returns at once.
    void record(const QString &serial, Event event, const QByteArray &image,
        const QDateTime &when = QDateTime::currentDateTimeUtc());
    void waitForDone();

private:
    QString m_folder;
    QThreadPool m_pool;
};

} // namespace history
