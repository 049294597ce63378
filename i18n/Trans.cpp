#include "i18n/Trans.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QQmlEngine>
#include <QSettings>
#include <QTranslator>

// The catalogues are compiled into the core library; naming their
// initialiser keeps the linker from dropping them. (Outside any namespace,
// as the resource macro needs.)
static void initCatalogueResource()
{
    Q_INIT_RESOURCE(i18n);
}

namespace {

void registerCatalogues()
{
    static const bool registered = (initCatalogueResource(), true);
    Q_UNUSED(registered)
}

const char kNameContext[] = "Trans";
const char *const kNameSource = QT_TRANSLATE_NOOP("Trans", "TargetLanguage");
const QLatin1String kEnglish("English");

// Qt's own texts in the language a catalogue of ours is written for ("zh_CN"),
// from where this Qt keeps its translations; null when they are not there.
QSharedPointer<QTranslator> qtCatalogue(const QString &language)
{
    QSharedPointer<QTranslator> translator(new QTranslator);
    if (language.isEmpty()
        || !translator->load(QLocale(language), QStringLiteral("qt"), QStringLiteral("_"),
            QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        return {};
    return translator;
}

// The two letters after "i18n_" in a catalogue's path.
QString languageCode(const QString &path)
{
    const int at = path.indexOf(QLatin1String("i18n_"));
    return at < 0 ? QString() : path.mid(at + 5, 2);
}

} // namespace

QSettings *Trans::userSettings()
{
    return new QSettings(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("korvelMavu"));
}

Trans::Trans(QQmlEngine *engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{
    registerCatalogues();

    const QDir dir(QStringLiteral(":/i18n"));
    const QStringList names = dir.entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    const QString systemCode = QLocale::system().name().left(2);
    bool matched = false;
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        QString displayName;
        {
            QTranslator probe;
            if (probe.load(path))
                displayName = probe.translate(kNameContext, kNameSource);
        }
        m_languageList << displayName;

        Catalogues catalogues;
        catalogues.own.reset(new QTranslator);
        catalogues.own->load(path);
        catalogues.qt = qtCatalogue(catalogues.own->language());
        m_translators.insert(displayName, catalogues);

        if (languageCode(path) == systemCode) {
            // No QML is loaded yet: installing is enough.
            install(catalogues);
            m_currentLanguage = displayName;
            matched = true;
        }
    }
    if (!matched && m_currentLanguage != kEnglish)
        reTrans(kEnglish);
    emit languageListChanged();
}

void Trans::reTrans(QString lang)
{
    if (lang.isEmpty() || lang == m_currentLanguage)
        return;
    m_currentLanguage = lang;
    // An unknown name leaves no catalogue installed: the source texts show.
    install(m_translators.value(lang));
    if (m_engine)
        m_engine->retranslate();
    emit currentLanguageChanged(m_currentLanguage);
}

void Trans::install(const Catalogues &catalogues)
{
    for (const QSharedPointer<QTranslator> &old : {m_current.own, m_current.qt}) {
        if (old)
            QCoreApplication::removeTranslator(old.data());
    }
    m_current = catalogues;
    // The one installed last is asked first: ours.
    for (const QSharedPointer<QTranslator> &now : {m_current.qt, m_current.own}) {
        if (now)
            QCoreApplication::installTranslator(now.data());
    }
}

QString Trans::getLanguage()
{
    const QScopedPointer<QSettings> settings(userSettings());
    return settings->value(QStringLiteral("Language")).toString();
}

void Trans::setLanguage(QString language)
{
    const QScopedPointer<QSettings> settings(userSettings());
    settings->setValue(QStringLiteral("Language"), language);
}
