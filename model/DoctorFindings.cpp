#include "model/DoctorFindings.h"

#include <QFile>

#include <unistd.h>

namespace doctor {

const char kSimulatedMidi[] = "loopback";

Finding ok(const QString &text)
{
    return {true, text, QString()};
}

Finding note(const QString &text, const QString &hint)
{
    return {true, text, hint, true};
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
        const QString label = !finding.ok ? Doctor::tr("PROBLEM")
            : finding.note                ? Doctor::tr("note")
                                          : Doctor::tr("ok");
        text += label.leftJustified(8) + QLatin1Char(' ') + finding.text + '\n';
        if (!finding.fix.isEmpty())
            text += QStringLiteral("   ") + (finding.ok ? Doctor::tr("hint:") : Doctor::tr("fix:")).leftJustified(5)
                + QLatin1Char(' ') + finding.fix + '\n';
    }
    text += allWell(findings) ? Doctor::tr("All is well.") : Doctor::tr("Something needs fixing (above).");
    return text + '\n';
}

} // namespace doctor
