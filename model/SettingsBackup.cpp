#include "model/SettingsBackup.h"

#include "model/PlainFile.h"
#include "model/PresetFile.h"
#include "model/SettingsLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace settingsbackup {

namespace {

// Everything from the velocity curve on is a setting; before it come the
// header and the firmware version, which an update changes by design.
constexpr int kSettingsOffset = layout::kCurveOffset;

} // namespace

QString dataFolder(bool simulated)
{
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/korvel-mavu");
    return simulated ? folder + QStringLiteral("/simulator") : folder;
}

QString folderIn(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("/backups");
}

QString defaultFolder()
{
    return folderIn(dataFolder());
}

QString safeSerial(const QString &serial)
{
    // Serial numbers come from the device: nothing in one may lead out of
    // the folder, hide a file or make a name too long to be written.
    constexpr int kMaxLength = 64;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString name = serial.trimmed().left(kMaxLength);
    name.replace(unsafe, QStringLiteral("_"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name = QStringLiteral("unknown-serial");
    return name;
}

QString fileName(const QDateTime &when, const QString &serial)
{
    return when.toString(QStringLiteral("yyyy-MM-dd_HHmmss_")) + safeSerial(serial) + QStringLiteral(".stm");
}

bool store(const QString &folder, const QByteArray &image, const QString &serial, const QDateTime &when, QString *path,
    QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QCoreApplication::translate("SettingsBackup", "The folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QString target = QDir(folder).filePath(fileName(when, serial));
    if (!preset::writeFile(target, image, preset::Format::Stm, error))
        return false;
    // The names begin with the time, so the oldest sort first.
    plainfile::pruneOldest(folder, kMaxKept);
    *path = target;
    return true;
}

bool sameSettings(const QByteArray &a, const QByteArray &b)
{
    return a.size() == layout::kImageSize && b.size() == layout::kImageSize
        && a.mid(kSettingsOffset) == b.mid(kSettingsOffset);
}

QByteArray restoredImage(const QByteArray &backup, const QByteArray &current)
{
    return current.left(kSettingsOffset) + backup.mid(kSettingsOffset);
}

} // namespace settingsbackup
