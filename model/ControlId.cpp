#include "model/ControlId.h"

#include "model/SettingsLayout.h"
#include "model/SettingsText.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

const char kContext[] = "ControlId";

// By button index, as printed on the controller.
const char *const kButtonLabels[layout::kButtonCount]
    = {QT_TRANSLATE_NOOP("ControlId", "Previous"), QT_TRANSLATE_NOOP("ControlId", "Stop"),
        QT_TRANSLATE_NOOP("ControlId", "Next"), QT_TRANSLATE_NOOP("ControlId", "Record"),
        QT_TRANSLATE_NOOP("ControlId", "Start"), QT_TRANSLATE_NOOP("ControlId", "Repeat")};

int perBank(ControlId::Kind kind)
{
    return kind == ControlId::Kind::Pad ? layout::kPadsPerBank
        : kind == ControlId::Kind::Knob ? layout::kKnobsPerBank
                                        : 0;
}

// "B3" for pads and knobs, "stop" for buttons.
QString shortName(const ControlId &c)
{
    if (c.kind == ControlId::Kind::Button)
        return settingsText::buttonName(c.index);
    return settingsText::bankName(c.bank()) + QString::number(c.index % perBank(c.kind) + 1);
}

QString translated(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

} // namespace

int ControlId::count(Kind kind)
{
    switch (kind) {
    case Kind::Pad:
        return layout::kPadCount;
    case Kind::Knob:
        return layout::kKnobCount;
    case Kind::Button:
        return layout::kButtonCount;
    case Kind::Global:
        return 1;
    case Kind::None:
        break;
    }
    return 0;
}

bool ControlId::isValid() const
{
    if (kind == Kind::Global)
        return index == -1;
    return index >= 0 && index < count(kind);
}

int ControlId::bank() const
{
    return isValid() && perBank(kind) > 0 ? index / perBank(kind) : -1;
}

int ControlId::recordOffset() const
{
    switch (kind) {
    case Kind::Pad:
        return layout::padOffset(index);
    case Kind::Knob:
        return layout::knobOffset(index);
    case Kind::Button:
        return layout::buttonOffset(index);
    case Kind::Global:
    case Kind::None:
        break;
    }
    return layout::kCurveOffset;
}

QString ControlId::machineName() const
{
    if (!isValid())
        return QString();
    if (kind == Kind::Global)
        return QStringLiteral("GLOBAL");
    return kindName(kind).toUpper() + QLatin1Char(' ') + shortName(*this);
}

QString ControlId::listName() const
{
    if (!isValid() || kind == Kind::Global)
        return QString();
    return kindName(kind) + QLatin1Char(':') + shortName(*this);
}

QString ControlId::translatedName() const
{
    switch (isValid() ? kind : Kind::None) {
    case Kind::Pad:
        return translated(QT_TRANSLATE_NOOP("ControlId", "Pad %1")).arg(shortName(*this));
    case Kind::Knob:
        return translated(QT_TRANSLATE_NOOP("ControlId", "Knob %1")).arg(shortName(*this));
    case Kind::Button:
        return translated(QT_TRANSLATE_NOOP("ControlId", "Button %1")).arg(translated(kButtonLabels[index]));
    case Kind::Global:
        // The curve and the pressure level act on every pad.
        return translated(QT_TRANSLATE_NOOP("ControlId", "All pads"));
    case Kind::None:
        break;
    }
    return QString();
}

ControlId ControlId::parse(const QString &text)
{
    const QString name = text.simplified().toLower();
    if (name.isEmpty())
        return {};
    for (Kind kind : {Kind::Global, Kind::Pad, Kind::Knob, Kind::Button}) {
        for (int i = 0; i < count(kind); ++i) {
            const ControlId control{kind, kind == Kind::Global ? -1 : i};
            if (control.machineName().toLower() == name || control.listName().toLower() == name)
                return control;
        }
    }
    return {};
}

QString ControlId::nameRange(Kind kind)
{
    if (kind == Kind::Button) {
        QStringList names;
        for (int i = 0; i < count(kind); ++i)
            names << shortName({kind, i});
        return names.join(QLatin1Char('|'));
    }
    if (kind != Kind::Pad && kind != Kind::Knob)
        return QString();
    return shortName({kind, 0}) + QStringLiteral("..") + shortName({kind, count(kind) - 1});
}

QString ControlId::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Pad:
        return QStringLiteral("pad");
    case Kind::Knob:
        return QStringLiteral("knob");
    case Kind::Button:
        return QStringLiteral("button");
    case Kind::Global:
        return QStringLiteral("global");
    case Kind::None:
        break;
    }
    return QString();
}
