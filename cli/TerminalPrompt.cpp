#include "cli/TerminalPrompt.h"

#include <QTextStream>

#include <cstdio>

void TerminalPrompt::notify(Kind, const QString &title, const QString &text)
{
    QTextStream(stderr) << title << ": " << text << '\n';
}

bool TerminalPrompt::question(const QString &title, const QString &text)
{
    QTextStream err(stderr);
    err << title << ": " << text << " [y/N] ";
    err.flush();
    const QString answer = QTextStream(stdin).readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}
