#include "model/SettingsText.h"

#include "model/DataManagement.h"

#include <QStringList>
#include <QTextStream>

namespace settingsText {

namespace {

const char *const kPitchClasses[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char *const kBankNames[3] = {"A", "B", "C"};
const char *const kPadTypes[3] = {"NOTE", "CC", "PC"};
const char *const kKnobTypes[3] = {"CC", "CHN TOUCH", "PITCH BEND"};
const char *const kButtonTypes[2] = {"CC", "MC"};
const char *const kButtonNames[6] = {"previous", "stop", "next", "record", "start", "repeat"};
const char *const kCurves[4] = {"FULL", "LO", "LINEAR", "EXP"};
const char *const kModes[2] = {"Momentary", "Toggle"};

template <int N>
QString nameOf(const char *const (&names)[N], int value)
{
    if (value >= 0 && value < N)
        return QString::fromLatin1(names[value]);
    return QStringLiteral("unknown (%1)").arg(value);
}

} // namespace

QString noteName(int note)
{
    if (note < 0 || note > 127)
        return QStringLiteral("?");
    return QString::fromLatin1(kPitchClasses[note % 12]) + QString::number(note / 12 - 1);
}

QString bankName(int bank)
{
    return nameOf(kBankNames, bank);
}

QString buttonName(int button)
{
    return nameOf(kButtonNames, button);
}

QString valueText(const QString &key, int value)
{
    if (key == QLatin1String("padtype"))
        return nameOf(kPadTypes, value);
    if (key == QLatin1String("bqmType"))
        return nameOf(kKnobTypes, value);
    if (key == QLatin1String("wbtype"))
        return nameOf(kButtonTypes, value);
    if (key == QLatin1String("padMode") || key == QLatin1String("wbMode"))
        return nameOf(kModes, value);
    if (key == QLatin1String("curve"))
        return nameOf(kCurves, value);
    return QString::number(value);
}

QString toText(DataManagement &settings)
{
    QString out;
    QTextStream s(&out);
    const QVariantList v = settings.getVerInfo();
    const QByteArray image = settings.imageBytes();
    s << "Firmware " << v[0].toInt() << '.' << v[1].toInt() << '.' << v[2].toInt() << '\n';
    s << "Velocity curve " << nameOf(kCurves, qint8(image[layout::kCurveOffset])) << '\n';
    s << "Pressure level " << int(qint8(image[layout::kIntensityOffset])) << '\n';

    for (int p = 0; p < layout::kPadCount; ++p) {
        if (p % layout::kPadsPerBank == 0)
            s << "\nPads, bank " << kBankNames[p / layout::kPadsPerBank] << '\n';
        const QVariantMap r = settings.getPadInfo(p);
        const int type = r.value(QStringLiteral("padtype")).toInt();
        const int data = r.value(QStringLiteral("padData")).toInt();
        s << QStringLiteral("  PAD %1  %2 %3")
                 .arg(p % layout::kPadsPerBank + 1, 2)
                 .arg(nameOf(kPadTypes, type), -4)
                 .arg(data, 3);
        if (type == 0)
            s << QStringLiteral(" (%1)").arg(noteName(data), -4);
        else
            s << "       ";
        s << "  ch " << r.value(QStringLiteral("padCh")).toInt();
        if (type == 1)
            s << "  " << nameOf(kModes, r.value(QStringLiteral("padMode")).toInt());
        s << QStringLiteral("  colour %1 %2 %3")
                 .arg(r.value(QStringLiteral("padR")).toInt())
                 .arg(r.value(QStringLiteral("padG")).toInt())
                 .arg(r.value(QStringLiteral("padB")).toInt())
          << '\n';
    }

    for (int k = 0; k < layout::kKnobCount; ++k) {
        if (k % layout::kKnobsPerBank == 0)
            s << "\nKnobs, bank " << kBankNames[k / layout::kKnobsPerBank] << '\n';
        const QVariantMap r = settings.getBQMInfo(k);
        const int type = r.value(QStringLiteral("bqmType")).toInt();
        s << QStringLiteral("  KNOB %1  %2").arg(k % layout::kKnobsPerBank + 1).arg(nameOf(kKnobTypes, type), -10);
        if (type == 0)
            s << "  cc " << r.value(QStringLiteral("bqmData")).toInt();
        s << "  ch " << r.value(QStringLiteral("bqmCh")).toInt();
        s << "  min " << r.value(QStringLiteral("bqmLsbMin")).toInt() << "  max "
          << r.value(QStringLiteral("bqmLsbMax")).toInt();
        if (type == 2)
            s << "  msb min " << r.value(QStringLiteral("bqmMsbMin")).toInt() << "  msb max "
              << r.value(QStringLiteral("bqmMsbMax")).toInt();
        s << '\n';
    }

    s << "\nTransport buttons\n";
    for (int j = 0; j < layout::kButtonCount; ++j) {
        const QVariantMap r = settings.getWalkingBeltInfo(j);
        const int type = r.value(QStringLiteral("wbtype")).toInt();
        s << QStringLiteral("  %1  %2")
                 .arg(QString::fromLatin1(kButtonNames[j]), -8)
                 .arg(nameOf(kButtonTypes, type), -2);
        if (type == 0)
            s << "  cc " << r.value(QStringLiteral("wbData")).toInt() << "  ch "
              << r.value(QStringLiteral("wbCh")).toInt() << "  "
              << nameOf(kModes, r.value(QStringLiteral("wbMode")).toInt());
        s << '\n';
    }
    return out;
}

} // namespace settingsText
