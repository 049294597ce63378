#pragma once

#include "workflows/SystemCheck.h"

#include <QObject>
#include <QPointer>

class QProgressDialog;
class QWidget;
class UserPrompt;

// Help > System Check in the editor: the check runs while the window stays
// usable, a box says so and offers Cancel, and the report comes in the
// interface's language once the firmware server answered or its time ran out.
class SystemCheckBox : public QObject
{
    Q_OBJECT
public:
    explicit SystemCheckBox(QWidget *parent);
    ~SystemCheckBox() override;

    // The report goes to prompt (not owned); a check already running goes on.
    void start(const systemcheck::Setup &setup, UserPrompt *prompt);
    bool isRunning() const { return m_check.isRunning(); }

private:
    void finished();
    void closeBox();

    QWidget *m_parent;
    SystemCheck m_check;
    QPointer<QProgressDialog> m_busy;
    UserPrompt *m_prompt = nullptr;
};
