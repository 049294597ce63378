#include "firmware/FirmwareFile.h"

#include "firmware/FirmwareLog.h"
#include "firmware/YmodemFileTransmit.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace firmwarefile {

namespace {

const char kDescriptionSuffix[] = ".description.json";

QString descriptionPath(const QString &path)
{
    return path + QLatin1String(kDescriptionSuffix);
}

bool matchesDescription(const QFileInfo &file)
{
    QFile description(descriptionPath(file.absoluteFilePath()));
    if (!checkToSend(file.absoluteFilePath(), nullptr) || !description.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject known = QJsonDocument::fromJson(description.read(4096)).object();
    const QByteArray sha256 = known.value(QLatin1String("sha256")).toString().toLatin1();
    if (sha256.isEmpty() || known.value(QLatin1String("size")).toDouble(-1) != double(file.size()))
        return false;
    QFile data(file.absoluteFilePath());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return data.open(QIODevice::ReadOnly) && hash.addData(&data) && hash.result().toHex() == sha256;
}

} // namespace

bool checkToSend(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const QString name = QDir::toNativeSeparators(path);
    QString why;
    if (!info.exists())
        why = QCoreApplication::translate("FirmwareFile", "The firmware file %1 does not exist.").arg(name);
    else if (info.isDir())
        why = QCoreApplication::translate("FirmwareFile", "%1 is a folder, not a firmware file.").arg(name);
    else if (!info.isFile())
        why = QCoreApplication::translate("FirmwareFile", "%1 is a device, pipe or socket, not a firmware file.")
                  .arg(name);
    else if (info.size() == 0)
        why = QCoreApplication::translate("FirmwareFile", "The firmware file %1 is empty.").arg(name);
    else if (info.size() > kMaxBytes)
        why = QCoreApplication::translate(
            "FirmwareFile", "The firmware file %1 has %2 bytes; the controller takes at most %3.")
                  .arg(name)
                  .arg(info.size())
                  .arg(kMaxBytes);
    else if (!info.isReadable())
        why = QCoreApplication::translate("FirmwareFile", "The firmware file %1 cannot be read.").arg(name);
    else if (!YmodemFileTransmit::headerFits(info.fileName().toLocal8Bit(), info.size()))
        why = QCoreApplication::translate("FirmwareFile", "The name %1 is too long to be sent; rename the file.")
                  .arg(info.fileName());
    else
        return true;
    if (error)
        *error = why;
    return false;
}

bool remember(const QString &path, const firmwareserver::FirmwareInfo &info)
{
    QJsonObject known{{QStringLiteral("name"), info.name}, {QStringLiteral("ver"), info.ver}};
    if (info.size >= 0)
        known.insert(QStringLiteral("size"), double(info.size));
    if (!info.sha256.isEmpty())
        known.insert(QStringLiteral("sha256"), QString::fromLatin1(info.sha256));
    QSaveFile out(descriptionPath(path));
    const bool written
        = out.open(QIODevice::WriteOnly) && out.write(QJsonDocument(known).toJson()) >= 0 && out.commit();
    if (!written)
        qCWarning(lcFirmware) << "cannot keep the firmware's description beside it:" << out.fileName()
                              << out.errorString();
    return written;
}

QString newestVerified(const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Time);
    for (const QFileInfo &file : files) {
        if (!file.fileName().endsWith(QLatin1String(kDescriptionSuffix)) && matchesDescription(file))
            return file.absoluteFilePath();
    }
    return QString();
}

} // namespace firmwarefile
