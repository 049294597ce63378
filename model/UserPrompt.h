#pragma once

#include <QString>
#include <QStringList>

// Questions and notices for the person at the program, with the texts passed
// in: message boxes in the editor, the terminal in mavuctl, a script in tests.
class UserPrompt
{
public:
    enum class Kind { Information, Warning, Critical };

    virtual ~UserPrompt() = default;

    virtual void notify(Kind kind, const QString &title, const QString &text) = 0;
    // Yes or no; no when nobody answers.
    virtual bool question(const QString &title, const QString &text) = 0;
    // One of the choices by index, or -1 when none was taken (Cancel, the default).
    virtual int choose(const QString &, const QString &, const QStringList &) { return -1; }
    // A file to open, or an empty string.
    virtual QString openFile(const QString &, const QString &) { return QString(); }

    void information(const QString &title, const QString &text) { notify(Kind::Information, title, text); }
    void warning(const QString &title, const QString &text) { notify(Kind::Warning, title, text); }
    void critical(const QString &title, const QString &text) { notify(Kind::Critical, title, text); }
};
