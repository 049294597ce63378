#include "model/PlainFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace plainfile {

bool fitsToRead(const QString &path, qint64 maxBytes, QString *error)
{
    const QFileInfo info(path);
    QString why;
    if (!info.exists())
        return true;
    if (info.isDir())
        why = QCoreApplication::translate("PlainFile", "This is a folder, not a file.");
    else if (!info.isFile())
        why = QCoreApplication::translate(
            "PlainFile", "This is not a regular file but a device, pipe or socket; it is not read.");
    else if (info.size() > maxBytes)
        why = QCoreApplication::translate("PlainFile", "The file is %1 bytes long; at most %2 bytes are expected.")
                  .arg(info.size())
                  .arg(maxBytes);
    else
        return true;
    if (error)
        *error = why;
    return false;
}

int pruneOldest(const QString &dirPath, int maxFileCount)
{
    QDir dir(dirPath);
    QStringList names = dir.entryList(QDir::Files, QDir::Name);
    int deleted = 0;
    // A failed deletion still counts as gone, so a stuck file cannot make
    // the loop eat younger files.
    while (names.size() > qMax(0, maxFileCount)) {
        if (dir.remove(names.takeFirst()))
            ++deleted;
    }
    return deleted;
}

} // namespace plainfile
