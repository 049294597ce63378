#include "app/MessageBoxPrompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void MessageBoxPrompt::notify(Kind kind, const QString &title, const QString &text)
{
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(m_parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Warning:
        QMessageBox::warning(m_parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Critical:
        QMessageBox::critical(m_parent, title, text, QMessageBox::Ok);
        break;
    }
}

bool MessageBoxPrompt::question(const QString &title, const QString &text)
{
    return QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

int MessageBoxPrompt::choose(const QString &title, const QString &text, const QStringList &choices)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Cancel, m_parent);
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    // Enter, like Escape, takes nothing: a choice is made by its name.
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

QString MessageBoxPrompt::openFile(const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, QString(), filter);
}
