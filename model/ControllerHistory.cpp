#include "model/ControllerHistory.h"

#include "model/ModelLog.h"
#include "model/PresetFile.h"
#include "model/SettingsBackup.h"
#include "model/SettingsLayout.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace history {

namespace {

const char *const kEventNames[] = {"read", "get", "send", "backup", "restore"};
const QString kTimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'");

// NUMBER_TIME_EVENT.syx; the number counts per controller.
const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})_(\\d{8}T\\d{6}\\.\\d{3}Z)_([a-z]+)\\.syx$"));
    return pattern;
}

// The snapshots of one controller's folder, oldest first.
QList<Snapshot> snapshotsIn(const QString &folder, const QString &serial)
{
    QList<Snapshot> found;
    const QDir dir(QDir(folder).filePath(serial));
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = namePattern().match(name);
        if (!match.hasMatch())
            continue;
        Snapshot s;
        s.serial = serial;
        s.number = match.captured(1).toInt();
        s.id = serial + QLatin1Char('.') + QString::number(s.number);
        s.when = QDateTime::fromString(match.captured(2), kTimeFormat);
        s.when.setTimeSpec(Qt::UTC);
        s.event = match.captured(3);
        s.path = dir.filePath(name);
        found << s;
    }
    std::sort(found.begin(), found.end(), [](const Snapshot &a, const Snapshot &b) { return a.number < b.number; });
    return found;
}

// The command byte only tells which way the image went.
bool sameImage(const QByteArray &a, const QByteArray &b)
{
    return a.size() == b.size() && a.left(layout::kCommandOffset) == b.left(layout::kCommandOffset)
        && a.mid(layout::kCommandOffset + 1) == b.mid(layout::kCommandOffset + 1);
}

// Oldest first, skipping the newest kNewestKept and the backups before an update.
void prune(QList<Snapshot> snapshots)
{
    const int protectedFrom = snapshots.size() - kNewestKept;
    int count = snapshots.size();
    for (int i = 0; i < protectedFrom && count > kMaxKept; ++i) {
        if (snapshots.at(i).event == eventName(Event::Backup))
            continue;
        // A file that cannot go counts as gone, so it cannot make younger ones go instead.
        if (!QFile::remove(snapshots.at(i).path))
            qCWarning(lcModel) << "cannot prune the snapshot" << snapshots.at(i).path;
        --count;
    }
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString eventName(Event event)
{
    return QString::fromLatin1(kEventNames[int(event)]);
}

QString folderIn(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("/history");
}

QString defaultFolder()
{
    return folderIn(settingsbackup::dataFolder());
}

bool record(const QString &folder, const QString &serial, Event event, const QByteArray &image, const QDateTime &when,
    QString *error)
{
    const QString name = settingsbackup::safeSerial(serial);
    const QString dir = QDir(folder).filePath(name);
    if (!QDir().mkpath(dir))
        return fail(error,
            QCoreApplication::translate("ControllerHistory", "The folder %1 cannot be created.")
                .arg(QDir::toNativeSeparators(dir)));
    QList<Snapshot> snapshots = snapshotsIn(folder, name);
    if (!snapshots.isEmpty()) {
        QByteArray newest;
        if (preset::readFile(snapshots.last().path, &newest, nullptr) && sameImage(newest, image))
            return true;
    }
    Snapshot s;
    s.number = snapshots.isEmpty() ? 1 : snapshots.last().number + 1;
    s.event = eventName(event);
    s.path = QDir(dir).filePath(QStringLiteral("%1_%2_%3.syx")
                                    .arg(s.number, 6, 10, QLatin1Char('0'))
                                    .arg(when.toUTC().toString(kTimeFormat), s.event));
    if (!preset::writeFile(s.path, image, preset::Format::Syx, error))
        return false;
    snapshots << s;
    prune(snapshots);
    return true;
}

QList<Snapshot> list(const QString &folder, const QString &serial)
{
    QStringList serials = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (!serial.isEmpty())
        serials = QStringList{settingsbackup::safeSerial(serial)};
    QList<Snapshot> all;
    for (const QString &name : qAsConst(serials))
        all += snapshotsIn(folder, name);
    std::stable_sort(all.begin(), all.end(),
        [](const Snapshot &a, const Snapshot &b) { return a.when != b.when ? a.when > b.when : a.number > b.number; });
    return all;
}

bool find(const QString &folder, const QString &id, Snapshot *found, QByteArray *image, QString *error)
{
    const int dot = id.lastIndexOf(QLatin1Char('.'));
    const QString serial = id.left(dot);
    // Only names made safe are looked up, so an ID cannot lead out of the folder.
    if (dot > 0 && settingsbackup::safeSerial(serial) == serial) {
        for (const Snapshot &s : snapshotsIn(folder, serial)) {
            if (s.id == id) {
                *found = s;
                return preset::readFile(s.path, image, error);
            }
        }
    }
    return fail(error, QCoreApplication::translate("ControllerHistory", "There is no snapshot %1.").arg(id));
}

Recorder::Recorder(QString folder)
    : m_folder(std::move(folder))
{
    // One thread: snapshots are written in the order they were taken.
    m_pool.setMaxThreadCount(1);
    // Kept, so that no exchange waits for a thread to start.
    m_pool.setExpiryTimeout(-1);
}

Recorder::~Recorder()
{
    waitForDone();
}

void Recorder::record(const QString &serial, Event event, const QByteArray &image, const QDateTime &when)
{
    const QString folder = m_folder;
    m_pool.start(QRunnable::create([=] {
        QString error;
        if (!history::record(folder, serial, event, image, when, &error))
            qCWarning(lcModel) << "the snapshot was not kept:" << error;
    }));
}

void Recorder::waitForDone()
{
    m_pool.waitForDone();
}

} // namespace history
