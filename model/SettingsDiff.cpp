#include "model/SettingsDiff.h"

#include "model/SettingsLayout.h"
#include "model/SettingsText.h"

#include <QStringList>
#include <QTextStream>

#include <cstring>

namespace settingsDiff {

namespace {

int valueAt(const QByteArray &image, int offset)
{
    return int(qint8(image.at(offset)));
}

QString readable(const QByteArray &image, const QString &key, int offset, int length)
{
    // A pad's number is a note while the pad's type, the byte before it, says so.
    if (key == QLatin1String("padData") && valueAt(image, offset - 1) == 0)
        return QStringLiteral("%1 (%2)")
            .arg(valueAt(image, offset))
            .arg(settingsText::noteName(valueAt(image, offset)));
    if (length == 1)
        return settingsText::valueText(key, valueAt(image, offset));
    QStringList parts;
    for (int i = 0; i < length; ++i)
        parts << QString::number(valueAt(image, offset + i));
    return parts.join(QLatin1Char(' '));
}

struct Comparison {
    const QByteArray &left;
    const QByteArray &right;
    QList<Difference> found;

    void field(ControlId control, const QString &key, int offset, int length = 1)
    {
        if (std::memcmp(left.constData() + offset, right.constData() + offset, size_t(length)) == 0)
            return;
        found.append(
            {control, key, offset, length, readable(left, key, offset, length), readable(right, key, offset, length)});
    }

    void record(ControlId control, const char *const *keys, int count)
    {
        for (int i = 0; i < count; ++i)
            field(control, QString::fromLatin1(keys[i]), control.recordOffset() + i);
    }
};

QByteArray wholeImage(const QByteArray &image)
{
    return image.size() == layout::kImageSize ? image : QByteArray(layout::kImageSize, '\0');
}

} // namespace

QList<Difference> compare(const QByteArray &leftImage, const QByteArray &rightImage)
{
    const QByteArray left = wholeImage(leftImage);
    const QByteArray right = wholeImage(rightImage);
    if (sameSettings(left, right))
        return {};
    Comparison c{left, right, {}};
    c.field(ControlId::global(), QStringLiteral("curve"), layout::kCurveOffset);
    c.field(ControlId::global(), QStringLiteral("intensity"), layout::kIntensityOffset);
    // A pad's colour is one setting to the user, though it spans three bytes.
    constexpr int kColorField = 4;
    for (int p = 0; p < layout::kPadCount; ++p) {
        const ControlId pad{ControlId::Kind::Pad, p};
        c.record(pad, layout::kPadKeys, kColorField);
        c.field(pad, QStringLiteral("padColor"), pad.recordOffset() + kColorField, 3);
    }
    for (int k = 0; k < layout::kKnobCount; ++k)
        c.record({ControlId::Kind::Knob, k}, layout::kKnobKeys, layout::kKnobRecordSize);
    for (int b = 0; b < layout::kButtonCount; ++b)
        c.record({ControlId::Kind::Button, b}, layout::kButtonKeys, layout::kButtonRecordSize);
    return c.found;
}

bool sameSettings(const QByteArray &leftImage, const QByteArray &rightImage)
{
    // The settings run from the curve to the last button record, before F7.
    constexpr size_t kSettingsSize = layout::kImageSize - 1 - layout::kCurveOffset;
    const QByteArray left = wholeImage(leftImage);
    const QByteArray right = wholeImage(rightImage);
    return std::memcmp(left.constData() + layout::kCurveOffset, right.constData() + layout::kCurveOffset, kSettingsSize)
        == 0;
}

void take(const Difference &d, const QByteArray &from, QByteArray *into)
{
    if (!into || d.offset < 0 || d.offset + d.length > from.size() || d.offset + d.length > into->size())
        return;
    into->replace(d.offset, d.length, from.mid(d.offset, d.length));
}

QString toText(const QList<Difference> &differences)
{
    QString out;
    QTextStream s(&out);
    for (const Difference &d : differences)
        s << QStringLiteral("%1  %2  %3 -> %4\n").arg(d.control.machineName(), -10).arg(d.key, -9).arg(d.left, d.right);
    return out;
}

} // namespace settingsDiff
