#include "firmware/FirmwareServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>

namespace firmwareserver {

const char kDefaultHost[] = "firmware.korvel-audio.com";
const char kLogin[] = "qwelkrnvotx";
const char kDescriptionPath[] = "/firmware/korvel/zt18/describe1.json";
const char kFolderPath[] = "/firmware/korvel/zt18/";

namespace {

constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53
constexpr int kSha256HexLength = 64;

QUrl baseUrl(const Address &address)
{
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(address.host);
    if (address.port > 0)
        url.setPort(address.port);
    url.setUserName(QLatin1String(kLogin), QUrl::DecodedMode);
    url.setPassword(QLatin1String(kLogin), QUrl::DecodedMode);
    return url;
}

bool isHex(const QString &text)
{
    for (const QChar c : text) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool letter
            = (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!digit && !letter)
            return false;
    }
    return true;
}

} // namespace

bool parseAddress(const QString &text, Address *address, QString *error)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *address = Address();
        return true;
    }
    const bool hasScheme = trimmed.contains(QLatin1String("://"));
    const QUrl url(hasScheme ? trimmed : QStringLiteral("ftp://") + trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const bool known = scheme == QLatin1String("ftp") || scheme == QLatin1String("http")
        || scheme == QLatin1String("https") || scheme == QLatin1String("file");
    const bool isFile = scheme == QLatin1String("file");
    if (!url.isValid() || !known || (isFile ? !url.host().isEmpty() : url.host().isEmpty()) || url.hasQuery()
        || url.hasFragment() || (isFile && !url.path().startsWith(QLatin1Char('/')))) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a firmware server (HOST[:PORT], or an ftp://, http://, "
                                    "https:// or file:// URL)")
                         .arg(withoutLogin(text));
        return false;
    }
    const bool serverRoot = scheme == QLatin1String("ftp") && url.userInfo().isEmpty()
        && (url.path().isEmpty() || url.path() == QLatin1String("/"));
    *address = Address();
    if (serverRoot) {
        address->host = url.host();
        address->port = url.port(-1);
        return true;
    }
    QUrl base = url;
    if (!base.path().endsWith(QLatin1Char('/')))
        base.setPath(base.path() + QLatin1Char('/'));
    address->host = base.host();
    address->port = base.port(-1);
    address->base = base;
    return true;
}

QUrl descriptionUrl(const Address &address)
{
    if (!address.base.isEmpty())
        return address.base.resolved(QUrl(QStringLiteral("describe1.json")));
    QUrl url = baseUrl(address);
    url.setPath(QLatin1String(kDescriptionPath));
    return url;
}

QUrl firmwareUrl(const Address &address, const QString &name)
{
    if (!address.base.isEmpty()) {
        QUrl url = address.base;
        url.setPath(address.base.path(QUrl::FullyDecoded) + name, QUrl::DecodedMode);
        return url;
    }
    QUrl url = baseUrl(address);
    url.setPath(QLatin1String(kFolderPath) + name, QUrl::DecodedMode);
    return url;
}

QString withoutLogin(QString text)
{
    static const QRegularExpression login(QStringLiteral("([A-Za-z][A-Za-z0-9+.-]*://)[^/@\\s]*@"));
    return text.replace(login, QStringLiteral("\\1"));
}

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

ParseResult parseDescription(const QByteArray &json, FirmwareInfo *info, QString *error)
{
    info->name.clear();
    info->infoList.clear();
    info->size = -1;
    info->sha256.clear();

    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) {
        *error = QStringLiteral("the firmware description is not a JSON object");
        return ParseResult::NotObject;
    }
    const QJsonObject object = document.object();
    if (object.contains(QLatin1String("name")))
        info->name = object.value(QLatin1String("name")).toString();
    const QJsonValue ver = object.value(QLatin1String("ver"));
    if (!ver.isString() || ver.toString().trimmed().isEmpty()) {
        *error = QStringLiteral("the firmware description has no version");
        return ParseResult::Invalid;
    }
    info->ver = ver.toString().trimmed();
    if (object.contains(QLatin1String("info"))) {
        const QJsonArray lines = object.value(QLatin1String("info")).toArray();
        for (const auto &line : lines)
            info->infoList << line.toString();
    }
    if (object.contains(QLatin1String("size"))) {
        const QJsonValue size = object.value(QLatin1String("size"));
        const double bytes = size.toDouble(-1);
        if (!size.isDouble() || bytes < 0 || bytes > kLargestExactInteger || std::floor(bytes) != bytes) {
            *error = QStringLiteral("the firmware description gives an invalid size");
            return ParseResult::Invalid;
        }
        info->size = qint64(bytes);
    }
    if (object.contains(QLatin1String("sha256"))) {
        const QString hex = object.value(QLatin1String("sha256")).toString();
        if (hex.size() != kSha256HexLength || !isHex(hex)) {
            *error = QStringLiteral("the firmware description gives an invalid sha256");
            return ParseResult::Invalid;
        }
        info->sha256 = hex.toLatin1().toLower();
    }
    return ParseResult::Ok;
}

} // namespace firmwareserver
