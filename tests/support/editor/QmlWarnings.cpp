#include "support/editor/QmlWarnings.h"

#include <QtGlobal>

namespace qmlwarnings {

namespace {

QStringList s_warnings;
QtMessageHandler s_previous = nullptr;
bool s_started = false;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The offscreen platform cannot pass size limits on to a window system;
    // that is the test platform talking, not the editor.
    const bool platformOnly = message == QLatin1String("This plugin does not support propagateSizeHints()");
    if (type != QtDebugMsg && type != QtInfoMsg && !platformOnly)
        s_warnings << message;
    if (s_previous)
        s_previous(type, context, message);
}

} // namespace

void start()
{
    // Called again inside a test it goes on top of QtTest's handler, which
    // passes nothing on.
    const QtMessageHandler current = qInstallMessageHandler(collect);
    if (current != collect)
        s_previous = current;
    s_started = true;
}

void stop()
{
    if (!s_started)
        return;
    qInstallMessageHandler(s_previous);
    s_previous = nullptr;
    s_started = false;
}

void clear()
{
    s_warnings.clear();
}

QStringList collected()
{
    return s_warnings;
}

QString report()
{
    return s_warnings.join(QLatin1Char('\n'));
}

} // namespace qmlwarnings
