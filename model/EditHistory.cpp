#include "model/EditHistory.h"

#include "model/DataManagement.h"
#include "model/ModelLog.h"
#include "model/SettingsDiff.h"
#include "model/SettingsText.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>

#include <memory>

namespace {

const char kStepContext[] = "EditHistory";

// Kept untranslated in the steps, so a language switch renames them all.
struct Name {
    const char *id;
    const char *text;
};

const Name kGroupNames[] = {
    {"fillBank", QT_TRANSLATE_NOOP("EditHistory", "fill bank %1")},
    {"openPreset", QT_TRANSLATE_NOOP("EditHistory", "open preset")},
    {"getFromHardware", QT_TRANSLATE_NOOP("EditHistory", "get from hardware")},
    {"restoreDefault", QT_TRANSLATE_NOOP("EditHistory", "restore the default")},
    {"restoreBackup", QT_TRANSLATE_NOOP("EditHistory", "restore the settings backup")},
    {"takeSnapshot", QT_TRANSLATE_NOOP("EditHistory", "take a snapshot")},
};

const Name kSettingNames[] = {
    {"padtype", QT_TRANSLATE_NOOP("EditHistory", "type")},
    {"padCh", QT_TRANSLATE_NOOP("EditHistory", "channel")},
    {"padMode", QT_TRANSLATE_NOOP("EditHistory", "mode")},
    {"padColor", QT_TRANSLATE_NOOP("EditHistory", "colour")},
    {"bqmType", QT_TRANSLATE_NOOP("EditHistory", "type")},
    {"bqmData", QT_TRANSLATE_NOOP("EditHistory", "CC number")},
    {"bqmCh", QT_TRANSLATE_NOOP("EditHistory", "channel")},
    {"bqmLsbMin", QT_TRANSLATE_NOOP("EditHistory", "minimum")},
    {"bqmLsbMax", QT_TRANSLATE_NOOP("EditHistory", "maximum")},
    {"bqmMsbMin", QT_TRANSLATE_NOOP("EditHistory", "MSB minimum")},
    {"bqmMsbMax", QT_TRANSLATE_NOOP("EditHistory", "MSB maximum")},
    {"wbtype", QT_TRANSLATE_NOOP("EditHistory", "type")},
    {"wbData", QT_TRANSLATE_NOOP("EditHistory", "number")},
    {"wbCh", QT_TRANSLATE_NOOP("EditHistory", "channel")},
    {"wbMode", QT_TRANSLATE_NOOP("EditHistory", "mode")},
    {"curve", QT_TRANSLATE_NOOP("EditHistory", "velocity curve")},
    {"intensity", QT_TRANSLATE_NOOP("EditHistory", "pressure level")},
};

// What a pad's number means follows its type.
const char *const kPadNumberNames[] = {QT_TRANSLATE_NOOP("EditHistory", "note"),
    QT_TRANSLATE_NOOP("EditHistory", "CC number"), QT_TRANSLATE_NOOP("EditHistory", "program")};

QString stepText(const char *text)
{
    return QCoreApplication::translate(kStepContext, text);
}

template <size_t N>
const char *lookUp(const Name (&names)[N], const QString &id)
{
    for (const Name &name : names) {
        if (id == QLatin1String(name.id))
            return name.text;
    }
    return nullptr;
}

} // namespace

EditHistory::EditHistory(DataManagement *model, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_current(model->imageBytes())
{
    connect(m_model, &DataManagement::imageChanged, this, &EditHistory::modelChanged);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    m_now = [clock] { return clock->elapsed(); };
}

void EditHistory::setSession(EditSession *session)
{
    m_session = session;
    // What was saved, sent or read is a state of its own to come back to.
    connect(m_session, &EditSession::checkpoint, this, [this] { m_mayMerge = false; });
}

EditSession::FileState EditHistory::fileState() const
{
    return m_session ? m_session->fileState() : EditSession::FileState();
}

void EditHistory::beginGroup(const QString &what, int bank)
{
    if (m_groupDepth++ > 0)
        return;
    m_group = Label();
    m_group.group = what;
    m_group.bank = bank;
    m_groupFile = fileState();
}

void EditHistory::endGroup()
{
    if (m_groupDepth == 0) {
        qCWarning(lcModel) << "EditHistory: a group ended that never began";
        return;
    }
    if (--m_groupDepth > 0)
        return;
    const QByteArray after = m_model->imageBytes();
    if (after != m_current || fileState() != m_groupFile)
        record(after, m_group, m_groupFile);
}

EditHistory::Group::Group(EditHistory *history, const QString &what, int bank)
    : m_history(history)
{
    if (m_history)
        m_history->beginGroup(what, bank);
}

EditHistory::Group::~Group()
{
    if (m_history)
        m_history->endGroup();
}

void EditHistory::modelChanged()
{
    // Within a group the step is taken at its end; the history's own restores are no edits.
    if (m_restoring || m_groupDepth > 0)
        return;
    const QByteArray after = m_model->imageBytes();
    if (after == m_current)
        return;
    const Label label = describeChange(m_current, after);
    const qint64 now = m_now();
    const bool paused = now - m_lastEditMs > kPauseMs;
    m_lastEditMs = now;
    if (!m_mayMerge || paused || !m_steps.back().label.sameSetting(label)) {
        record(after, label, fileState());
        return;
    }
    // Typing or dragging in one field: one step from before the first change.
    Step &last = m_steps.back();
    last.after = after;
    m_current = after;
    if (last.before == after) {
        m_steps.pop_back();
        m_done = int(m_steps.size());
        m_mayMerge = false;
    }
    emit historyChanged();
}

void EditHistory::record(const QByteArray &after, const Label &label, const EditSession::FileState &fileBefore)
{
    m_steps.erase(m_steps.begin() + m_done, m_steps.end());
    m_steps.push_back({m_current, after, label, fileBefore, fileState()});
    if (int(m_steps.size()) > kDepth)
        m_steps.pop_front();
    m_done = int(m_steps.size());
    m_current = after;
    m_mayMerge = label.group.isEmpty();
    emit historyChanged();
}

void EditHistory::undo()
{
    if (!canUndo() || m_groupDepth > 0)
        return;
    --m_done;
    const Step &step = m_steps[size_t(m_done)];
    restore(step.before, step, true);
}

void EditHistory::redo()
{
    if (!canRedo() || m_groupDepth > 0)
        return;
    ++m_done;
    const Step &step = m_steps[size_t(m_done - 1)];
    restore(step.after, step, false);
}

void EditHistory::restore(const QByteArray &image, const Step &step, bool before)
{
    m_restoring = true;
    m_model->setImage(image.constData(), image.size());
    // The title, Save's target and the unsaved mark go back with the settings.
    if (m_session && step.fileBefore != step.fileAfter)
        m_session->setFileState(before ? step.fileBefore : step.fileAfter);
    m_restoring = false;
    m_current = image;
    m_mayMerge = false;
    emit historyChanged();
}

EditHistory::Label EditHistory::describeChange(const QByteArray &before, const QByteArray &after) const
{
    const QList<settingsDiff::Difference> found = settingsDiff::compare(before, after);
    Label label;
    if (found.isEmpty())
        return label;
    const settingsDiff::Difference &first = found.first();
    for (const settingsDiff::Difference &d : found) {
        if (d.control != first.control)
            return label;
    }
    label.control = first.control;
    if (found.size() == 1) {
        label.key = first.key;
        if (first.control.kind == ControlId::Kind::Pad)
            label.padType = quint8(after.at(first.control.recordOffset()));
    }
    return label;
}

QString EditHistory::text(const Label &label) const
{
    if (!label.group.isEmpty()) {
        const char *name = lookUp(kGroupNames, label.group);
        if (!name)
            return label.group;
        const QString text = stepText(name);
        return label.bank > 0 ? text.arg(settingsText::bankName(label.bank - 1)) : text;
    }
    // The curve and the pressure level are named by themselves.
    const QString control = label.control.kind == ControlId::Kind::Global ? QString() : label.control.translatedName();
    const char *setting = label.key == QLatin1String("padData") ? kPadNumberNames[qBound(0, label.padType, 2)]
                                                                : lookUp(kSettingNames, label.key);
    if (!setting)
        return control.isEmpty() ? stepText(QT_TRANSLATE_NOOP("EditHistory", "several settings")) : control;
    return control.isEmpty() ? stepText(setting) : control + QLatin1Char(' ') + stepText(setting);
}

QString EditHistory::undoText() const
{
    if (!canUndo())
        return tr("Undo");
    return tr("Undo %1").arg(text(m_steps[size_t(m_done - 1)].label));
}

QString EditHistory::redoText() const
{
    if (!canRedo())
        return tr("Redo");
    return tr("Redo %1").arg(text(m_steps[size_t(m_done)].label));
}
