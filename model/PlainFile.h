#pragma once

#include <QString>

// A path a user hands over can name anything: a pipe that waits for a writer
// for ever, a device that never ends, a folder, a file far too big. Whether a
// file is worth reading is decided from its type and size, before opening it.
namespace plainfile {

// True when path is a regular file (a link to one counts) of at most maxBytes,
// or does not exist (opening it then says so). Otherwise false, with *error
// saying what the path is instead.
bool fitsToRead(const QString &path, qint64 maxBytes, QString *error);

// Deletes the files of a folder whose names sort first until at most
// maxFileCount remain (names that sort by age: the oldest go). Every file of
// the folder counts. Returns how many were deleted.
int pruneOldest(const QString &dirPath, int maxFileCount);

} // namespace plainfile
