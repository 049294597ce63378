// The languages: the system's at first start, the switch at run time and the
// stored choice, texts of the model that follow the switch, and the
// catalogues' coverage of every text (lupdate over the sources).
#include "i18n/Trans.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"

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
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
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

class TestLanguages : public QObject
{
    Q_OBJECT
    QTemporaryDir m_config;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }

    // Nothing stored yet: the system's language, where there is a catalogue for it.
    void firstStartFollowsTheSystem_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CN") << QString("zh_CN.UTF-8") << "简体中文";
        QTest::newRow("en_GB") << QString("en_GB.UTF-8") << "English";
        QTest::newRow("de_DE") << QString("de_DE.UTF-8") << "English";
    }
    void firstStartFollowsTheSystem()
    {
        QFETCH(QString, lang);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("LANG"), lang);
        env.insert(QStringLiteral("MAVU_START_LANGUAGE_PROBE"), QStringLiteral("1"));
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(probe.waitForFinished(10000));
        QTEST(QString::fromUtf8(probe.readAllStandardOutput()), "language");
    }

    void languageSwitchRetranslatesThePages()
    {
        QQmlEngine engine;
        Trans trans(&engine);
        QCOMPARE(trans.languageList(), QStringList({"English", "简体中文"}));
        QCOMPARE(trans.getLanguage(), QString()); // nothing stored at first
        QQmlComponent component(&engine);
        // qsTr takes the file's base name as its context.
        component.setData("import QtQml 2.12\nQtObject { property string hint: qsTr(\"Failed to get data\") }",
            QUrl(QStringLiteral("qrc:/qml/main.qml")));
        std::unique_ptr<QObject> page(component.create());
        QVERIFY2(page, qPrintable(component.errorString()));
        trans.reTrans(QStringLiteral("English"));
        QSignalSpy changed(&trans, &Trans::currentLanguageChanged);
        trans.reTrans(QStringLiteral("简体中文"));
        QCOMPARE(page->property("hint").toString(), QStringLiteral("获取数据失败"));
        trans.reTrans(QStringLiteral("简体中文")); // the active one, or none: nothing happens
        trans.reTrans(QString());
        QCOMPARE(changed.count(), 1);
        trans.reTrans(QStringLiteral("English"));
        QCOMPARE(QCoreApplication::translate("ProgressDialog", "固件升级"), QStringLiteral("Firmware update"));
        QCOMPARE(changed.count(), 2);
        // The choice is stored apart, in an INI file under the maker's name, without switching.
        trans.setLanguage(QStringLiteral("简体中文"));
        QCOMPARE(trans.currentLanguage() + trans.getLanguage(), QStringLiteral("English简体中文"));
        QSettings file(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Korvel/korvelMavu.conf", QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Language")).toString(), QStringLiteral("简体中文"));
        trans.setLanguage(QString());
    }

    // The steps outlive a language switch and are named in the new language.
    void editHistoryFollowsTheLanguage()
    {
        DataManagement data;
        data.initDefaultData();
        EditHistory history(&data);
        data.setPadInfo(2, "padData", 40);
        Trans trans(nullptr);
        trans.reTrans(QStringLiteral("简体中文"));
        const QString chinese = history.undoText();
        trans.reTrans(QStringLiteral("English"));
        QCOMPARE(chinese, QStringLiteral("撤销打击垫 A3 音符"));
        QCOMPARE(history.undoText(), QStringLiteral("Undo Pad A3 note"));
    }

    // lupdate over the pages and the native classes, held against the
    // catalogues' sources: every text has its finished Chinese entry, every
    // Chinese text its English one, and no entry loses a %n marker.
    void languageCataloguesKeepUpWithTheTexts()
    {
        const QString source = qEnvironmentVariable("MAVU_TEST_SOURCE_DIR");
        QTemporaryDir dir;
        QStringList args{"-silent", "-locations", "none", "-extensions", "cpp,h,qml,js", "-I", source};
        for (const char *folder : {"qml", "app", "model", "device", "firmware", "workflows", "i18n"})
            args << source + '/' + folder;
        QCOMPARE(QProcess::execute(QStringLiteral(MAVU_LUPDATE_PATH), args << "-ts" << dir.filePath("used.ts")), 0);
        const QMap<QString, QString> used = readCatalogue(dir.filePath("used.ts"));
        const QMap<QString, QString> zh = readCatalogue(source + "/i18n/i18n_zh.ts");
        const QMap<QString, QString> en = readCatalogue(source + "/i18n/i18n_en.ts");
        QVERIFY(used.size() > 50 && used.contains("Trans|TargetLanguage"));
        QStringList wrong;
        for (const QString &key : used.keys()) {
            if (zh.value(key).isEmpty())
                wrong << "i18n_zh.ts lacks " + key;
            if (key.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))) && en.value(key).isEmpty())
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
    QCoreApplication app(argc, argv);
    // A child of firstStartFollowsTheSystem: the language a first start takes.
    if (qEnvironmentVariableIsSet("MAVU_START_LANGUAGE_PROBE")) {
        std::fputs(Trans(nullptr).currentLanguage().toUtf8().constData(), stdout);
        return 0;
    }
    TestLanguages test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_languages.moc"
