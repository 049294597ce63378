#include "app/SystemCheckBox.h"

#include "model/UserPrompt.h"

#include <QProgressDialog>

SystemCheckBox::SystemCheckBox(QWidget *parent)
    : QObject(parent)
    , m_parent(parent)
{
    connect(&m_check, &SystemCheck::finished, this, &SystemCheckBox::finished);
}

SystemCheckBox::~SystemCheckBox()
{
    closeBox();
}

void SystemCheckBox::start(const systemcheck::Setup &setup, UserPrompt *prompt)
{
    m_prompt = prompt;
    if (m_check.isRunning())
        return;
    // Made for each check: an unused progress box would show itself after a while.
    m_busy = new QProgressDialog(
        tr("Looking at the MIDI system, the update port and the firmware server..."), tr("Cancel"), 0, 0, m_parent);
    m_busy->setWindowTitle(tr("System check"));
    m_busy->setMinimumDuration(0);
    connect(m_busy, &QProgressDialog::canceled, this, [this] {
        m_check.cancel();
        closeBox();
    });
    m_busy->show();
    m_check.start(setup);
}

void SystemCheckBox::finished()
{
    closeBox();
    const QList<doctor::Finding> findings = m_check.findings();
    if (m_prompt)
        m_prompt->notify(doctor::allWell(findings) ? UserPrompt::Kind::Information : UserPrompt::Kind::Warning,
            tr("System check"), doctor::report(findings));
}

void SystemCheckBox::closeBox()
{
    if (!m_busy)
        return;
    m_busy->disconnect(this);
    m_busy->deleteLater();
    m_busy = nullptr;
}
