// The languages: the one chosen at start, switching at run time, the stored
// choice, and catalogues that keep up with the texts of the pages and classes.
#include "i18n/Trans.h"

#include <QGuiApplication>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstdio>

namespace {

const char kProbe[] = "--start-language-probe";

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

// "context|source" -> translation, "" when unfinished, of a catalogue source (.ts).
QMap<QString, QString> readCatalogue(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QMap<QString, QString> messages;
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString text = xml.readElementText();
            messages.insert(context + '|' + source, finished ? text : QString());
        }
    }
    return messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    for (auto it = QRegularExpression(QStringLiteral("%L?\\d+")).globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

} // namespace

class TestI18n : public QObject
{
    Q_OBJECT
    QTemporaryDir m_config;
    QQmlEngine m_engine;
    std::unique_ptr<Trans> m_trans;

private slots:
    void initTestCase()
    {
        // Before the first QSettings: the stored choice goes to a private folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_trans = std::make_unique<Trans>(&m_engine);
    }

    // QLocale::system() follows LC_ALL, then LC_MESSAGES, then LANG.
    void startLanguageFollowsTheSystem_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CN") << "LANG"
                               << "zh_CN.UTF-8"
                               << "简体中文,固件升级";
        QTest::newRow("no German: English") << "LANG"
                                            << "de_DE.UTF-8"
                                            << "English,Firmware update";
    }
    void startLanguageFollowsTheSystem()
    {
        QFETCH(QString, variable);
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            env.remove(QLatin1String(name));
        env.insert(variable, locale);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kProbe)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), language);
    }

    void switchingRetranslatesThePages()
    {
        QCOMPARE(m_trans->languageList(), QStringList({"English", "简体中文"}));
        QCOMPARE(m_trans->getLanguage(), QString()); // nothing stored at first
        QQmlComponent component(&m_engine);
        // qsTr takes the file's base name as its context.
        component.setData("import QtQml 2.12\nQtObject { property string hint: qsTr(\"Failed to get data\") }",
            QUrl(QStringLiteral("qrc:/qml/main.qml")));
        std::unique_ptr<QObject> page(component.create());
        QVERIFY2(page, qPrintable(component.errorString()));
        m_trans->reTrans(QStringLiteral("English"));
        QSignalSpy changed(m_trans.get(), &Trans::currentLanguageChanged);
        m_trans->reTrans(QStringLiteral("简体中文"));
        QCOMPARE(page->property("hint").toString(), QStringLiteral("获取数据失败"));
        m_trans->reTrans(QStringLiteral("简体中文")); // the active one, or none: nothing happens
        m_trans->reTrans(QString());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_trans->currentLanguage(), QStringLiteral("简体中文"));
        m_trans->reTrans(QStringLiteral("Klingon")); // unknown: the source texts show
        QCOMPARE(page->property("hint").toString(), QStringLiteral("Failed to get data"));
        QCOMPARE(translated("ProgressDialog", "固件升级"), QStringLiteral("固件升级"));
        m_trans->reTrans(QStringLiteral("English"));
        QCOMPARE(translated("ProgressDialog", "固件升级"), QStringLiteral("Firmware update"));
        QCOMPARE(changed.count(), 3);
        // The choice is stored apart, in an INI file under the maker's name, without switching.
        m_trans->setLanguage(QStringLiteral("简体中文"));
        QCOMPARE(m_trans->currentLanguage() + m_trans->getLanguage(), QStringLiteral("English简体中文"));
        QSettings file(m_config.filePath(QStringLiteral("Korvel/korvelMavu.conf")), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Language")).toString(), QStringLiteral("简体中文"));
    }

    // lupdate over the pages and the native classes, held against the
    // catalogues' sources: every text has its finished Chinese entry, every
    // Chinese text its English one, and no entry loses a %n marker.
    void cataloguesKeepUpWithTheTexts()
    {
        const QString source = qEnvironmentVariable("MAVU_TEST_SOURCE_DIR");
        QTemporaryDir dir;
        QStringList args{"-silent", "-locations", "none", "-extensions", "cpp,h,qml,js", "-I", source};
        for (const char *folder : {"qml", "app", "model", "device", "firmware", "i18n"})
            args << source + '/' + folder;
        QCOMPARE(QProcess::execute(QStringLiteral(MAVU_LUPDATE_PATH), args << "-ts" << dir.filePath("used.ts")), 0);
        const QMap<QString, QString> used = readCatalogue(dir.filePath("used.ts"));
        const QMap<QString, QString> zh = readCatalogue(source + "/i18n/i18n_zh.ts");
        const QMap<QString, QString> en = readCatalogue(source + "/i18n/i18n_en.ts");
        QVERIFY(used.size() > 50 && used.contains("Trans|TargetLanguage"));
        QStringList wrong;
        for (const QString &key : used.keys()) {
            const bool chinese = key.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
            if (zh.value(key).isEmpty())
                wrong << "i18n_zh.ts lacks " + key;
            if (chinese && en.value(key).isEmpty())
                wrong << "i18n_en.ts lacks " + key;
        }
        for (const auto *catalogue : {&zh, &en}) {
            for (auto it = catalogue->begin(); it != catalogue->end(); ++it) {
                if (it.value().isEmpty() || placeholders(it.key().section('|', 1)) != placeholders(it.value()))
                    wrong << "unfinished or a %n marker changed: " + it.key();
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kProbe) == 0) {
        // What a fresh Trans settles on at start under this process's locale.
        Trans trans(nullptr);
        std::fputs(
            (trans.currentLanguage() + ',' + translated("ProgressDialog", "固件升级")).toUtf8().constData(), stdout);
        return 0;
    }
    TestI18n test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_i18n.moc"
