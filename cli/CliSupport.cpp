#include "cli/CliSupport.h"

#include "model/DataManagement.h"
#include "model/PresetFile.h"

#include <QTextStream>

#include <cstdio>

namespace cli {

int fail(const QString &message)
{
    QTextStream err(stderr);
    err << "mavuctl: " << message << '\n';
    return 1;
}

void printOut(const QString &text)
{
    QTextStream out(stdout);
    out << text;
}

bool loadPreset(const QString &path, DataManagement &settings)
{
    QByteArray image;
    QString error;
    if (!preset::readFile(path, &image, &error)) {
        fail(QStringLiteral("cannot open %1: %2").arg(path, error));
        return false;
    }
    settings.setImage(image.constData(), image.size());
    return true;
}

bool savePreset(const QString &path, DataManagement &settings)
{
    QString error;
    if (!preset::writeFile(path, settings.imageBytes(), &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, error));
        return false;
    }
    return true;
}

} // namespace cli
