#pragma once

#include "firmware/FirmwareServer.h"

#include <QString>

// Firmware files on this machine: whether one can be sent at all, and what
// a download was verified against, kept beside it.
namespace firmwarefile {

// The most the controller's loader takes; a larger file is not its firmware.
constexpr qint64 kMaxBytes = qint64(1) << 20;

// Whether path can be sent to the controller: a regular file (a link to one
// counts), not empty, at most kMaxBytes, readable, with a name that fits the
// YMODEM header. Decided from its type and size, without opening it (a FIFO
// would block). False with *error for the user otherwise.
bool checkToSend(const QString &path, QString *error);

// After a verified download: the description's size and sha256 are written
// beside the file, so the file can be offered again later.
bool remember(const QString &path, const firmwareserver::FirmwareInfo &info);

// The newest file in folder whose remembered size and sha256 it still
// matches; empty when there is none.
QString newestVerified(const QString &folder);

} // namespace firmwarefile
