#include "model/PresetFile.h"

#include "model/ImageCheck.h"
#include "model/PlainFile.h"
#include "model/PresetText.h"
#include "model/SettingsLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

namespace preset {

namespace {

constexpr int kLengthFieldSize = 4;
constexpr int kStmSize = kLengthFieldSize + layout::kImageSize;

QByteArray lengthField(int size)
{
    QByteArray out(kLengthFieldSize, '\0');
    qToBigEndian<quint32>(quint32(size), out.data());
    return out;
}

// Bytes as the user compares them with a hex viewer: "00 00 01 CA".
QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Why contents are no preset, said after what that means for the user.
bool notAPreset(QString *error, const QString &why)
{
    return fail(error,
        QCoreApplication::translate("PresetFile", "This file is not a Korvel Mavu preset.") + QLatin1Char(' ') + why);
}

bool decodeImage(const QByteArray &contents, QByteArray *image, QString *error, Format *form)
{
    if (contents.isEmpty())
        return fail(error, QCoreApplication::translate("PresetFile", "The file is empty."));

    // A raw SysEx file starts with F0; a length field of 458 starts with 00.
    *form = Format::Syx;
    if (quint8(contents.front()) == layout::kSysExStart) {
        if (!isCompleteImage(contents, error))
            return false;
        *image = contents;
        return true;
    }

    if (contents.size() < kLengthFieldSize)
        return fail(error,
            QCoreApplication::translate("PresetFile", "The file is too short to be a preset (%1 bytes).")
                .arg(contents.size()));
    const quint32 length = qFromBigEndian<quint32>(contents.constData());
    if (length != quint32(layout::kImageSize))
        return fail(error,
            QCoreApplication::translate("PresetFile", "A preset begins with %1 or %2; this file begins with %3.")
                .arg(hexText(lengthField(layout::kImageSize)), hexText(QByteArray(1, char(layout::kSysExStart))),
                    hexText(contents.left(kLengthFieldSize))));
    if (contents.size() < kStmSize)
        return fail(error,
            QCoreApplication::translate("PresetFile", "The file is truncated: %1 of %2 bytes are present.")
                .arg(contents.size())
                .arg(kStmSize));
    if (contents.size() > kStmSize)
        return fail(error,
            QCoreApplication::translate("PresetFile", "The file has %1 unexpected bytes after the settings block.")
                .arg(contents.size() - kStmSize));
    const QByteArray block = contents.mid(kLengthFieldSize);
    if (!isCompleteImage(block, error))
        return false;
    *image = block;
    *form = Format::Stm;
    return true;
}

} // namespace

Format formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("stm"))
        return Format::Stm;
    if (suffix == QLatin1String("syx"))
        return Format::Syx;
    if (suffix == QLatin1String("json"))
        return Format::Json;
    return Format::Unknown;
}

QByteArray encode(const QByteArray &image, Format format, QString *error)
{
    switch (format) {
    case Format::Syx:
        return image;
    case Format::Stm:
        return lengthField(image.size()) + image;
    case Format::Json: {
        // Written only when it reads back to the very same bytes.
        const QByteArray text = presettext::write(image);
        QByteArray back;
        QString why;
        if (presettext::read(text, &back, &why) && back == image)
            return text;
        fail(error,
            QCoreApplication::translate("PresetFile", "The settings hold a value that a preset as text cannot keep: %1")
                .arg(why));
        return {};
    }
    case Format::Unknown:
        break;
    }
    fail(error, QCoreApplication::translate("PresetFile", "A preset file name ends in .stm, .syx or .json."));
    return {};
}

bool decode(const QByteArray &contents, QByteArray *image, QString *error, Format *form)
{
    Format found = Format::Unknown;
    QString why;
    if (presettext::looksLikeText(contents)) {
        // A preset all the same, only a wrong one: the line says what is wrong.
        if (!presettext::read(contents, image, &why))
            return fail(error, why);
        found = Format::Json;
    } else if (!decodeImage(contents, image, &why, &found)) {
        return notAPreset(error, why);
    }
    if (form)
        *form = found;
    return true;
}

bool readFile(const QString &path, QByteArray *image, QString *error, Format *form)
{
    // A pipe would block the open, a device never end: both are refused
    // unopened. A file far too big is no preset either.
    QString why;
    if (!plainfile::fitsToRead(path, presettext::kMaxTextSize, &why))
        return QFileInfo(path).isFile() ? notAPreset(error, why) : fail(error, why);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    // Read no more than a preset, should the file have grown since.
    const QByteArray contents = file.read(presettext::kMaxTextSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    if (!presettext::looksLikeText(contents) && !plainfile::fitsToRead(path, kStmSize, &why))
        return notAPreset(error, why);
    return decode(contents, image, error, form);
}

bool writeFile(const QString &path, const QByteArray &image, QString *error)
{
    Format format = formatForPath(path);
    QByteArray old;
    if (format == Format::Unknown && QFileInfo(path).isFile())
        readFile(path, &old, nullptr, &format);
    return writeFile(path, image, format, error);
}

bool writeFile(const QString &path, const QByteArray &image, Format format, QString *error)
{
    if (!isCompleteImage(image, error))
        return false;
    const QByteArray bytes = encode(image, format, error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error, reason);
    }
    // QSaveFile::commit() does not notice a failed flush of its buffer (a full
    // disk) and would put an empty file in place of the old one.
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error, reason);
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

} // namespace preset
