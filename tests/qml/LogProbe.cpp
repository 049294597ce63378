#include "LogProbe.h"

#include <QtGlobal>

namespace {

LogProbe *s_probe = nullptr;
QStringList *s_lines = nullptr;
QtMessageHandler s_previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (s_lines)
        s_lines->append(message);
    if (s_previous)
        s_previous(type, context, message);
}

} // namespace

LogProbe::~LogProbe()
{
    stop();
}

void LogProbe::start()
{
    m_lines.clear();
    if (s_probe == this)
        return;
    stop();
    s_probe = this;
    s_lines = &m_lines;
    s_previous = qInstallMessageHandler(collect);
}

void LogProbe::stop()
{
    if (s_probe != this)
        return;
    qInstallMessageHandler(s_previous);
    s_previous = nullptr;
    s_lines = nullptr;
    s_probe = nullptr;
}

int LogProbe::count(const QStringList &parts) const
{
    int n = 0;
    for (const QString &line : m_lines) {
        bool all = true;
        for (const QString &part : parts)
            all = all && line.contains(part);
        n += all ? 1 : 0;
    }
    return n;
}
