#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The controller's settings saved before a firmware update, as presets in the
// data folder's "backups": YYYY-MM-DD_hhmmss_SERIAL.stm, the newest kMaxKept kept.
namespace settingsbackup {

constexpr int kMaxKept = 50;

// The editor's data folder's "backups", for the editor and mavuctl alike.
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
