// The firmware server's description document and the version rule that decides
// whether its firmware is offered. Input: the controller's version, a newline,
// then the document.
#include "firmware/FirmwareServer.h"
#include "firmware/FirmwareVersion.h"

#include <QFileInfo>

#include <sanitizer/lsan_interface.h>

#include <cstdint>
#include <cstdlib>

namespace {

using firmwareversion::isNewer;
using firmwareversion::isValid;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The rule must be an order: never both ways, never against itself, and a
// version one part longer than another (ending in 1) is newer.
void checkOrder(const QString &untrimmedA, const QString &b)
{
    const QString a = untrimmedA.trimmed();
    check(isNewer(untrimmedA, b) == isNewer(a, b));
    bool ok = false;
    const bool forward = isNewer(a, b, &ok);
    check(ok == (isValid(a) && isValid(b)));
    if (!ok) {
        check(!forward);
        return;
    }
    bool backOk = false;
    const bool backward = isNewer(b, a, &backOk);
    check(backOk);
    check(!(forward && backward));
    check(!isNewer(a, a) && !isNewer(b, b));
    check(isNewer(a, a + QStringLiteral(".1")));
    check(!isNewer(a + QStringLiteral(".0"), a) && !isNewer(a, a + QStringLiteral(".0")));
    // Leading zeros are not part of the number.
    check(!isNewer(QStringLiteral("0") + a, a) && !isNewer(a, QStringLiteral("0") + a));
    // Numbers, not text: 10 sorts after 9.
    if (forward)
        check(!isNewer(b + QStringLiteral(".9"), a));
}

void checkTransitive(const QString &a, const QString &b, const QString &c)
{
    if (isNewer(a, b) && isNewer(b, c))
        check(isNewer(a, c));
}

// A name that passes as plain stays inside the download folder and the
// server's firmware folder.
void checkName(const QString &name)
{
    if (!firmwareserver::isPlainFileName(name))
        return;
    const QString folder = QStringLiteral("/var/tmp/mavu-downloads");
    const QString path = folder + QLatin1Char('/') + name; // as the download builds it
    check(QFileInfo(path).absolutePath() == folder);
    check(QFileInfo(path).fileName() == name);
    const QUrl url = firmwareserver::firmwareUrl(firmwareserver::Address(), name);
    check(url.path(QUrl::FullyDecoded) == QLatin1String(firmwareserver::kFolderPath) + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const int newline = input.indexOf('\n');
    const QString current = QString::fromUtf8(newline < 0 ? QByteArray() : input.left(newline));
    const QByteArray json = newline < 0 ? input : input.mid(newline + 1);

    firmwareserver::FirmwareInfo info;
    info.ver = QStringLiteral("previous");
    QString error;
    firmwareserver::ParseResult parsed;
    {
        // Qt 5.15's JSON parser leaks the earlier array or object of a key that
        // appears twice ({"info":[],"info":[]}); that is Qt's, not ours.
        __lsan::ScopedDisabler qtLeaksAKeyTwice;
        parsed = firmwareserver::parseDescription(json, &info, &error);
    }
    if (parsed != firmwareserver::ParseResult::Ok) {
        check(!error.isEmpty()); // a refusal must say why
        return 0;
    }
    check(!info.ver.isEmpty());
    check(info.size >= -1);
    check(info.sha256.isEmpty() || info.sha256.size() == 64);

    checkOrder(current, info.ver);
    checkName(info.name);
    // A third version from the notes, when there is one, for transitivity.
    const QString third = info.infoList.value(0);
    checkTransitive(current, info.ver, third);
    checkTransitive(info.ver, current, third);
    checkTransitive(third, current, info.ver);
    return 0;
}
