#include "app/RunLog.h"

#include "app/LogFormat.h"
#include "model/PlainFile.h"

#include <QMutexLocker>

RunLog::RunLog(const QString &dirPath, bool keepFileOpen, std::shared_ptr<const LogClock> clock)
    : m_dirPath(dirPath)
    , m_keepFileOpen(keepFileOpen)
    , m_clock(clock ? std::move(clock) : std::make_shared<SystemLogClock>())
{ }

QString RunLog::write(QtMsgType type, const QString &message)
{
    const QDateTime now = m_clock->now();
    const QString fileName = logformat::fileName(m_dirPath, now);
    const QByteArray line = logformat::htmlLine(type, now, message).toUtf8();

    QMutexLocker locker(&m_mutex);
    if (m_keepFileOpen)
        writeKeepingOpen(fileName, line);
    else
        writeOnce(fileName, line);
    return logformat::plainText(now, message);
}

bool RunLog::openForAppend(QFile &file, const QString &fileName)
{
    file.setFileName(fileName);
    const bool isNew = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // A file restarted within its hour already has its header.
    if (isNew)
        file.write((logformat::header() + QStringLiteral("\r\n")).toUtf8());
    return true;
}

void RunLog::writeKeepingOpen(const QString &fileName, const QByteArray &line)
{
    // The file changes with the hour; one that failed to open is tried again
    // at the next line rather than losing the rest of the hour.
    if (m_file.fileName() != fileName || !m_file.isOpen()) {
        m_file.close();
        if (!openForAppend(m_file, fileName))
            return;
    }
    m_file.write(line);
    // Hand the line to the system at once so a crash or a reader sees it,
    // without the cost of reopening the file.
    m_file.flush();
}

void RunLog::writeOnce(const QString &fileName, const QByteArray &line)
{
    QFile file;
    if (!openForAppend(file, fileName))
        return;
    file.write(line);
    file.close();
}

int RunLog::prune(const QString &dirPath, int maxFileCount)
{
    return plainfile::pruneOldest(dirPath, maxFileCount);
}
