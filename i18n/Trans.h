#pragma once

#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

class QQmlEngine;
class QSettings;
class QTranslator;

// Languages, the current one, its persistence and run-time switching.
// The catalogues are the "*.qm" files in ":/i18n"; each names its language
// through its translation of "TargetLanguage" in the context "Trans". Qt's own
// catalogue of the same language (file dialogs, message box buttons) comes
// and goes with it, when the system has it.
class Trans : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList languageList READ languageList NOTIFY languageListChanged)
    Q_PROPERTY(QString currentLanguage READ currentLanguage NOTIFY currentLanguageChanged)
public:
    Trans(QQmlEngine *engine, QObject *parent = nullptr);

    // The user's settings, where the language is kept (and the window's zoom); the caller owns it.
    static QSettings *userSettings();

    QStringList languageList() const { return m_languageList; }
    QString currentLanguage() const { return m_currentLanguage; }

    // Switches the interface to the language of this display name; the
    // active one or an empty name changes nothing.
    Q_INVOKABLE void reTrans(QString lang);

public slots:
    // The stored choice, or empty when none is stored.
    QString getLanguage();
    // Stores the choice for the next start; switches nothing.
    void setLanguage(QString language);

signals:
    void languageListChanged();
    void currentLanguageChanged(QString currentLanguage);

private:
    // Ours, and Qt's for the same language (null when not installed).
    struct Catalogues {
        QSharedPointer<QTranslator> own;
        QSharedPointer<QTranslator> qt;
    };
    void install(const Catalogues &catalogues);

    QMap<QString, Catalogues> m_translators;
    Catalogues m_current;
    QStringList m_languageList;
    QQmlEngine *m_engine = nullptr;
    QString m_currentLanguage;
};
