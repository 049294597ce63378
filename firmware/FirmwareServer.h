#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

// The firmware server: where it is, what it offers, and how its answers read.
namespace firmwareserver {

extern const char kDefaultHost[];
extern const char kLogin[];
extern const char kDescriptionPath[];
extern const char kFolderPath[];

// How long the firmware server may take to answer before a check gives up:
// the About box's check and the system check alike.
constexpr int kAnswerLimitMs = 10000;

struct Address {
    QString host = QLatin1String(kDefaultHost);
    int port = -1; // -1: the scheme's default
    // A folder given as a URL (ftp, http, https or file) that holds
    // describe1.json and the firmware files; empty for the maker's server layout.
    QUrl base;
};

// "HOST", "HOST:PORT", "[IPv6]:PORT" or "ftp://HOST[:PORT][/]" name a server
// laid out as the maker's; any other ftp://, http://, https:// or file:// URL
// names the folder itself.
bool parseAddress(const QString &text, Address *address, QString *error);

QUrl descriptionUrl(const Address &address);
QUrl firmwareUrl(const Address &address, const QString &name);

// What the description document announces.
struct FirmwareInfo {
    QString name;
    QString ver;
    QStringList infoList;
    qint64 size = -1; // bytes, -1 when not announced
    QByteArray sha256; // lower-case hex, empty when not announced
};

enum class ParseResult { Ok, NotObject, Invalid };

// Parses describe1.json. Anything but Ok comes with a reason: not a JSON
// object, no version, or a malformed "size" or "sha256".
ParseResult parseDescription(const QByteArray &json, FirmwareInfo *info, QString *error);

// text with the user name and password taken out of every URL in it, for
// the log and the user: "ftp://user:pw@host/x" reads "ftp://host/x".
QString withoutLogin(QString text);

// A bare file name that stays inside the download folder.
bool isPlainFileName(const QString &name);

} // namespace firmwareserver
