#include "model/SettingsDiff.h"

#include "model/SettingsLayout.h"
#include "model/SettingsText.h"

#include <QStringList>
#include <QTextStream>

namespace settingsDiff {

namespace {

int valueAt(const QByteArray &image, int offset)
{
    return int(qint8(image.at(offset)));
}

QString readable(const QByteArray &image, const QString &key, int offset, int length)
{
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

    void field(Control control, int index, const QString &key, int offset, int length = 1)
    {
        if (left.mid(offset, length) == right.mid(offset, length))
            return;
        found.append({control, index, key, offset, length, readable(left, key, offset, length),
            readable(right, key, offset, length)});
    }

    void record(Control control, int index, int offset, const char *const *keys, int count)
    {
        for (int i = 0; i < count; ++i)
            field(control, index, QString::fromLatin1(keys[i]), offset + i);
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
    Comparison c{left, right, {}};
    c.field(Control::Global, -1, QStringLiteral("curve"), layout::kCurveOffset);
    c.field(Control::Global, -1, QStringLiteral("intensity"), layout::kIntensityOffset);
    // A pad's colour is one setting to the user, though it spans three bytes.
    constexpr int kColorField = 4;
    for (int p = 0; p < layout::kPadCount; ++p) {
        c.record(Control::Pad, p, layout::padOffset(p), layout::kPadKeys, kColorField);
        c.field(Control::Pad, p, QStringLiteral("padColor"), layout::padOffset(p) + kColorField, 3);
    }
    for (int k = 0; k < layout::kKnobCount; ++k)
        c.record(Control::Knob, k, layout::knobOffset(k), layout::kKnobKeys, layout::kKnobRecordSize);
    for (int b = 0; b < layout::kButtonCount; ++b)
        c.record(Control::Button, b, layout::buttonOffset(b), layout::kButtonKeys, layout::kButtonRecordSize);
    return c.found;
}

QString controlName(const Difference &d)
{
    switch (d.control) {
    case Control::Pad:
        return QStringLiteral("PAD %1%2")
            .arg(settingsText::bankName(d.index / layout::kPadsPerBank))
            .arg(d.index % layout::kPadsPerBank + 1);
    case Control::Knob:
        return QStringLiteral("KNOB %1%2")
            .arg(settingsText::bankName(d.index / layout::kKnobsPerBank))
            .arg(d.index % layout::kKnobsPerBank + 1);
    case Control::Button:
        return QStringLiteral("BUTTON %1").arg(settingsText::buttonName(d.index));
    case Control::Global:
        break;
    }
    return QStringLiteral("GLOBAL");
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
        s << QStringLiteral("%1  %2  %3 -> %4\n").arg(controlName(d), -10).arg(d.key, -9).arg(d.left, d.right);
    return out;
}

} // namespace settingsDiff
