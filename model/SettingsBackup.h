#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The controller's settings saved before a firmware update, as presets in the
// data folder's "backups": YYYY-MM-DD_hhmmss_SERIAL.stm, the newest kMaxKept kept.
namespace settingsbackup {

constexpr int kMaxKept = 50;

// The data folder of the editor and mavuctl (downloaded firmware, backups).
// A run on the simulated controller keeps its own inside it, apart: its
// demo firmware is never offered to a real controller, and its backups are
// pruned on their own.
QString dataFolder(bool simulated = false);
// The "backups" of a data folder.
QString folderIn(const QString &dataFolder);
// The real data folder's "backups", for the editor and mavuctl alike.
QString defaultFolder();

// The serial number made safe for a file name; a stand-in when it is unknown.
QString safeSerial(const QString &serial);
QString fileName(const QDateTime &when, const QString &serial);

// Writes the image as a preset into folder (made when missing), then removes
// the oldest backups beyond kMaxKept. False with *error when it cannot.
bool store(const QString &folder, const QByteArray &image, const QString &serial, const QDateTime &when, QString *path,
    QString *error);

// Whether two complete images hold the same settings; the header and the
// firmware version do not count.
bool sameSettings(const QByteArray &a, const QByteArray &b);

// The backup's settings with the current image's header and firmware version,
// ready to be written back.
QByteArray restoredImage(const QByteArray &backup, const QByteArray &current);

} // namespace settingsbackup
