#pragma once

#include "model/UserPrompt.h"

#include <QList>
#include <QStringList>
#include <QVariant>

// Answers the program's questions from a script, in order, and keeps what it
// was asked. Without a scripted answer: no, no choice, no file.
class ScriptedPrompt : public UserPrompt
{
public:
    explicit ScriptedPrompt(QVariantList answers = {})
        : m_answers(std::move(answers))
    { }

    // "title: text" of everything shown or asked, in order.
    QStringList asked() const { return m_asked; }

    void notify(Kind, const QString &title, const QString &text) override { note(title, text); }
    bool question(const QString &title, const QString &text) override
    {
        note(title, text);
        return next().toBool();
    }
    int choose(const QString &title, const QString &text, const QStringList &choices) override
    {
        note(title, text + QLatin1Char('\n') + choices.join(QLatin1Char('|')));
        const QVariant answer = next();
        return answer.isValid() ? answer.toInt() : -1;
    }
    QString openFile(const QString &title, const QString &) override
    {
        note(title, QString());
        return next().toString();
    }

private:
    void note(const QString &title, const QString &text) { m_asked << title + QStringLiteral(": ") + text; }
    QVariant next() { return m_answers.isEmpty() ? QVariant() : m_answers.takeFirst(); }

    QVariantList m_answers;
    QStringList m_asked;
};
