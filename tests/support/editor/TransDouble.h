#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Stands in for the translation manager as "Tran": no catalogues, but the
// same names, choice and signals.
class TransDouble : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList languageList READ languageList CONSTANT)
    Q_PROPERTY(QString currentLanguage READ currentLanguage NOTIFY currentLanguageChanged)
public:
    using QObject::QObject;

    QStringList languageList() const { return {QStringLiteral("English"), QStringLiteral("简体中文")}; }
    QString currentLanguage() const { return m_current; }

    Q_INVOKABLE void reTrans(QString lang)
    {
        if (lang.isEmpty() || lang == m_current)
            return;
        m_current = lang;
        emit currentLanguageChanged(m_current);
    }

public slots:
    QString getLanguage() { return m_stored; }
    void setLanguage(QString language) { m_stored = language; }

signals:
    void currentLanguageChanged(QString currentLanguage);

private:
    QString m_current = QStringLiteral("English");
    QString m_stored;
};
