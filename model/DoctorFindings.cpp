#include "model/DoctorFindings.h"

#include <QFile>

#include <unistd.h>

namespace doctor {

Finding ok(const QString &text)
{
    return {true, text, QString()};
}

Finding problem(const QString &text, const QString &fix)
{
    return {false, text, fix};
}

bool readWritable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

bool allWell(const QList<Finding> &findings)
{
    for (const Finding &finding : findings) {
        if (!finding.ok)
            return false;
    }
    return true;
}

QString report(const QList<Finding> &findings)
{
    QString text;
    for (const Finding &finding : findings) {
        text += (finding.ok ? QStringLiteral("ok       ") : QStringLiteral("PROBLEM  ")) + finding.text + '\n';
        if (!finding.fix.isEmpty())
            text += QStringLiteral("   fix:  ") + finding.fix + '\n';
    }
    text += allWell(findings) ? QStringLiteral("All is well.\n") : QStringLiteral("Something needs fixing (above).\n");
    return text;
}

} // namespace doctor
