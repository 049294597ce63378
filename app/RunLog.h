#pragma once

#include "app/LogClock.h"

#include <QFile>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <memory>

// Writes messages into one HTML file per clock hour in a folder. Safe to call
// from any thread; the file work is serialised by one mutex.
class RunLog
{
public:
    // keepFileOpen: keep the hour's file open between messages (flushed after
    // every line); otherwise open, append and close for each message.
    RunLog(const QString &dirPath, bool keepFileOpen, std::shared_ptr<const LogClock> clock);

    QString dirPath() const { return m_dirPath; }

    // Appends one line; returns the plain text (time and message) for the
    // console copy. A file that cannot be opened loses the line.
    QString write(QtMsgType type, const QString &message);

    // Deletes the files whose names sort first until at most maxFileCount
    // remain. Every file of the folder counts. Returns how many were deleted.
    static int prune(const QString &dirPath, int maxFileCount);

private:
    void writeKeepingOpen(const QString &fileName, const QByteArray &line);
    static void writeOnce(const QString &fileName, const QByteArray &line);
    static bool openForAppend(QFile &file, const QString &fileName);

    const QString m_dirPath;
    const bool m_keepFileOpen;
    const std::shared_ptr<const LogClock> m_clock;
    QMutex m_mutex;
    QFile m_file; // keep-open mode only
};
