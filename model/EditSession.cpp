#include "model/EditSession.h"

#include "model/DataManagement.h"

#include <QFileInfo>

EditSession::EditSession(DataManagement *data, QObject *parent)
    : QObject(parent)
    , m_data(data)
    , m_saved(data->imageBytes())
{
    connect(m_data, &DataManagement::imageChanged, this, &EditSession::update);
}

void EditSession::setControllerImage(const QByteArray &image)
{
    m_controller = image;
    update();
    emit checkpoint();
}

void EditSession::setFile(const QString &path)
{
    m_filePath = path;
    m_saved = m_data->imageBytes();
    if (!path.isEmpty())
        m_fileContents.insert(path, m_saved);
    update();
    emit checkpoint();
}

void EditSession::setFileState(const FileState &state)
{
    m_filePath = state.path;
    m_saved = state.path.isEmpty() ? state.saved : m_fileContents.value(state.path, state.saved);
    update();
}

QString EditSession::fileName() const
{
    return QFileInfo(m_filePath).fileName();
}

QString EditSession::displayName() const
{
    const QString name = m_filePath.isEmpty() && m_unsaved ? tr("Untitled") : fileName();
    return m_unsaved ? name + QLatin1Char('*') : name;
}

QString EditSession::windowTitle() const
{
    const QString program = tr("Korvel Mavu Editor");
    const QString name = displayName();
    return name.isEmpty() ? program : name + QStringLiteral(" — ") + program;
}

void EditSession::setUntouched()
{
    if (m_filePath.isEmpty())
        m_saved = m_data->imageBytes();
    update();
}

QString EditSession::firmwareVersion() const
{
    const QByteArray image = m_controller.size() == layout::kImageSize ? m_controller : m_data->imageBytes();
    const auto part = [&image](int i) { return int(qint8(image.at(layout::kVersionOffset + i))); };
    return QStringLiteral("%1.%2.%3").arg(part(0)).arg(part(1)).arg(part(2));
}

QVariantList EditSession::differing(ControlId::Kind kind) const
{
    QVariantList indexes;
    for (const settingsDiff::Difference &d : m_differences) {
        if (d.control.kind == kind && !indexes.contains(d.control.index))
            indexes << d.control.index;
    }
    return indexes;
}

void EditSession::update()
{
    const QByteArray editor = m_data->imageBytes();
    m_differences = controllerKnown() ? settingsDiff::compare(editor, m_controller) : QList<settingsDiff::Difference>();
    m_differingPads = differing(ControlId::Kind::Pad);
    m_differingKnobs = differing(ControlId::Kind::Knob);
    m_differingButtons = differing(ControlId::Kind::Button);
    // Framing and firmware version are not settings: a file from a
    // controller with other firmware is not a change.
    m_unsaved = !settingsDiff::sameSettings(m_saved, editor);
    if (firmwareVersion() != m_firmwareVersion) {
        m_firmwareVersion = firmwareVersion();
        emit firmwareVersionChanged();
    }
    emit changed();
}
