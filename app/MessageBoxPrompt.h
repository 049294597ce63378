#pragma once

#include "model/UserPrompt.h"

class QWidget;

// The editor's questions as modal message boxes and file dialogs.
class MessageBoxPrompt : public UserPrompt
{
public:
    explicit MessageBoxPrompt(QWidget *parent = nullptr)
        : m_parent(parent)
    { }

    void notify(Kind kind, const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;
    int choose(const QString &title, const QString &text, const QStringList &choices) override;
    QString openFile(const QString &title, const QString &filter) override;

private:
    QWidget *m_parent;
};
