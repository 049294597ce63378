#include "app/DifferenceList.h"

#include "model/DataManagement.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "model/SettingsText.h"

#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using settingsDiff::Difference;

namespace {

// The value names settingsText uses that read differently in another language;
// listed for the catalogues, looked up by their text.
[[maybe_unused]] const char *const kValueNames[]
    = {QT_TRANSLATE_NOOP("DifferenceList", "Momentary"), QT_TRANSLATE_NOOP("DifferenceList", "Toggle"),
        QT_TRANSLATE_NOOP("DifferenceList", "CHN TOUCH"), QT_TRANSLATE_NOOP("DifferenceList", "PITCH BEND"),
        QT_TRANSLATE_NOOP("DifferenceList", "FULL"), QT_TRANSLATE_NOOP("DifferenceList", "LO"),
        QT_TRANSLATE_NOOP("DifferenceList", "LINEAR"), QT_TRANSLATE_NOOP("DifferenceList", "EXP")};

// A pad's 7-bit colour as the screen shows it.
QVariant swatch(const Difference &d, const QByteArray &image)
{
    if (d.key != QLatin1String("padColor") || image.size() < d.offset + 3)
        return QVariant();
    const auto full = [&](int i) { return qBound(0, int(image.at(d.offset + i)), 127) * 255 / 127; };
    return QColor(full(0), full(1), full(2));
}

} // namespace

DifferenceList::DifferenceList(DataManagement *editor, EditSession *session, QObject *parent)
    : QAbstractListModel(parent)
    , m_editor(editor)
    , m_session(session)
{
    connect(m_session, &EditSession::changed, this, &DifferenceList::refresh);
}

QString DifferenceList::fileName() const
{
    return QFileInfo(m_path).fileName();
}

int DifferenceList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QHash<int, QByteArray> DifferenceList::roleNames() const
{
    return {{LabelRole, "label"}, {EditorValueRole, "editorValue"}, {OtherValueRole, "otherValue"},
        {EditorColorRole, "editorColor"}, {OtherColorRole, "otherColor"}};
}

QVariant DifferenceList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const Difference &d = m_rows.at(index.row());
    switch (role) {
    case LabelRole:
        return label(d);
    case EditorValueRole:
        return valueText(d.left);
    case OtherValueRole:
        return valueText(d.right);
    case EditorColorRole:
        return swatch(d, m_editor->imageBytes());
    case OtherColorRole:
        return swatch(d, m_other);
    default:
        return QVariant();
    }
}

QString DifferenceList::typeName(const Difference &d) const
{
    const ControlId::Kind kind = d.control.kind;
    const char *typeKey = kind == ControlId::Kind::Pad ? "padtype"
        : kind == ControlId::Kind::Knob                ? "bqmType"
        : kind == ControlId::Kind::Button              ? "wbtype"
                                                       : "";
    return settingsText::valueText(QLatin1String(typeKey), int(qint8(m_editor->image()[d.control.recordOffset()])));
}

QString DifferenceList::label(const Difference &d) const
{
    QString field = d.key;
    if (d.key.endsWith(QLatin1String("Data"))) {
        // The number a control sends is named by the type it has in the editor.
        const QString type = typeName(d);
        field = type == QLatin1String("NOTE") ? tr("Note")
            : type == QLatin1String("PC")     ? tr("Program")
            : type == QLatin1String("CC")     ? tr("CC number")
                                              : tr("Value");
    } else if (d.key.endsWith(QLatin1String("type"), Qt::CaseInsensitive)) {
        field = tr("Type");
    } else if (d.key.endsWith(QLatin1String("Ch"))) {
        field = tr("Channel");
    } else if (d.key.endsWith(QLatin1String("Mode"))) {
        field = tr("Mode");
    } else if (d.key == QLatin1String("padColor")) {
        field = tr("Colour");
    } else if (d.key == QLatin1String("curve")) {
        field = tr("Velocity curve");
    } else if (d.key == QLatin1String("intensity")) {
        field = tr("Pressure");
    } else if (d.key.startsWith(QLatin1String("bqm"))) { // bqmLsbMin … bqmMsbMax
        field = d.key.mid(3, 3).toUpper() + QLatin1Char(' ')
            + (d.key.endsWith(QLatin1String("Min")) ? tr("min") : tr("max"));
    }
    return d.control.translatedName() + QStringLiteral(" · ") + field;
}

// A note's name comes with the value; the names of types, modes and curves are translated.
QString DifferenceList::valueText(const QString &value) const
{
    return tr(value.toUtf8().constData());
}

void DifferenceList::compareWithController()
{
    m_withFile = false;
    m_path.clear();
    refresh();
}

bool DifferenceList::compareWithFile(const QString &path)
{
    m_withFile = true;
    m_path = path;
    m_fileError.clear();
    QByteArray image;
    if (!preset::readFile(path, &image, &m_fileError))
        image.clear();
    m_other = image;
    refresh();
    return m_fileError.isEmpty();
}

void DifferenceList::chooseFile()
{
    const QString path = m_pathQuestion ? m_pathQuestion()
                                        : QFileDialog::getOpenFileName(nullptr, tr("Compare with a preset"), QString(),
                                            tr("Presets (*.stm *.syx *.json);;All files (*)"));
    if (!path.isEmpty())
        compareWithFile(path);
}

void DifferenceList::refresh()
{
    if (!m_withFile)
        m_other = m_session->controllerImage();
    beginResetModel();
    if (!m_withFile)
        m_rows = m_session->differences();
    else
        m_rows = m_other.isEmpty() ? QList<Difference>() : settingsDiff::compare(m_editor->imageBytes(), m_other);
    endResetModel();
    if (m_withFile && !m_fileError.isEmpty())
        m_status = tr("The preset \"%1\" could not be opened.\n%2").arg(QDir::toNativeSeparators(m_path), m_fileError);
    else if (m_other.isEmpty())
        m_status = tr("The controller's settings are not known: connect it, or get them from it.");
    else if (m_rows.isEmpty())
        m_status = m_withFile ? tr("The editor and the file agree.") : tr("The editor and the controller agree.");
    else
        m_status.clear();
    emit changed();
}

void DifferenceList::take(int row)
{
    if (row >= 0 && row < m_rows.size())
        apply({m_rows.at(row)});
}

void DifferenceList::takeAll()
{
    apply(m_rows);
}

// One change of the editor's image, so that undo sees one step.
void DifferenceList::apply(const QList<Difference> &rows)
{
    if (rows.isEmpty() || m_other.isEmpty())
        return;
    QByteArray image = m_editor->imageBytes();
    for (const Difference &d : rows)
        settingsDiff::take(d, m_other, &image);
    m_editor->setImage(image.constData(), image.size());
}
