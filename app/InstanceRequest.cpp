#include "app/InstanceRequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace instancerequest {

namespace {
const QLatin1String kKind("korvelMavu.open");
}

QByteArray encode(const QStringList &files)
{
    QJsonObject object;
    object.insert(QStringLiteral("request"), kKind);
    object.insert(QStringLiteral("files"), QJsonArray::fromStringList(files));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

bool decode(const QByteArray &line, QStringList *files, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (line.size() > kMaxSize)
        return fail(QStringLiteral("request too long"));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return fail(QStringLiteral("not a JSON object"));
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("request")).toString() != kKind)
        return fail(QStringLiteral("unknown request"));
    const QJsonValue list = object.value(QStringLiteral("files"));
    if (!list.isArray())
        return fail(QStringLiteral("no file list"));
    QStringList result;
    for (const QJsonValue value : list.toArray()) {
        if (!value.isString() || value.toString().isEmpty())
            return fail(QStringLiteral("a file name is not a text"));
        result << value.toString();
    }
    if (files)
        *files = result;
    return true;
}

QByteArray acceptedReply()
{
    return QByteArrayLiteral("ok\n");
}

QByteArray rejectedReply()
{
    return QByteArrayLiteral("error\n");
}

} // namespace instancerequest
