#include "app/LogHandler.h"

#include "app/RunLog.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdio>

namespace {

std::shared_ptr<RunLog> s_log;

// Set while this thread is inside the handler: a message raised by the file
// work itself must not reach the (non-recursive) mutex again.
thread_local bool t_inHandler = false;

void toConsole(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const std::shared_ptr<RunLog> log = std::atomic_load(&s_log);
    if (!log || t_inHandler) {
        toConsole(message);
        return;
    }
    t_inHandler = true;
    const QString text = log->write(type, message);
    t_inHandler = false;
    toConsole(text); // after the mutex is released
}

} // namespace

void installLogHandler(QString folderName, int maxFileCount, bool keepFileOpen, std::shared_ptr<const LogClock> clock)
{
    const QString dirPath
        = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QLatin1Char('/') + folderName;
    QDir().mkpath(dirPath);
    RunLog::prune(dirPath, maxFileCount);
    std::atomic_store(&s_log, std::make_shared<RunLog>(dirPath, keepFileOpen, std::move(clock)));
    qInstallMessageHandler(messageHandler);
}

QString logFolderPath()
{
    const std::shared_ptr<RunLog> log = std::atomic_load(&s_log);
    return log ? log->dirPath() : QString();
}
