#include "i18n/Trans.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <cstdio>

namespace {

const char kProbe[] = "--start-language-probe";

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

// Child mode: what a fresh Trans settles on at start under this process's
// locale environment.
int startLanguageProbe(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    Trans trans(nullptr);
    QJsonObject result;
    result.insert(QStringLiteral("system"), QLocale::system().name());
    result.insert(QStringLiteral("current"), trans.currentLanguage());
    result.insert(QStringLiteral("list"), QJsonArray::fromStringList(trans.languageList()));
    result.insert(QStringLiteral("update"), translated("ProgressDialog", "固件升级"));
    result.insert(QStringLiteral("send"), translated("MainPage", "SEND TO HARDWARE"));
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

} // namespace

class TestTrans : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QQmlEngine *m_engine = nullptr;
    Trans *m_trans = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        // Before the first QSettings: the stored choice goes to a private folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_engine = new QQmlEngine(this);
        m_trans = new Trans(m_engine, this);
    }

    void cleanupTestCase()
    {
        delete m_trans;
        delete m_engine;
    }

    // QLocale::system() follows LC_ALL, then LC_MESSAGES, then LANG, and the
    // first entry of LANGUAGE where it says more.
    void startLanguageFollowsSystemLocale_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("update");
        QTest::addColumn<QString>("send");
        QTest::newRow("zh_CN") << "LANG" << "zh_CN.UTF-8" << "简体中文" << "固件升级" << "发送到硬件";
        QTest::newRow("zh_CN by LC_ALL") << "LC_ALL" << "zh_CN.UTF-8" << "简体中文" << "固件升级" << "发送到硬件";
        QTest::newRow("en_US") << "LANG" << "en_US.UTF-8" << "English" << "Firmware update" << "SEND TO HARDWARE";
        // No catalogue for German: English, switched to as reTrans does.
        QTest::newRow("de_DE") << "LANG" << "de_DE.UTF-8" << "English" << "Firmware update" << "SEND TO HARDWARE";
        QTest::newRow("C") << "LANG" << "C" << "English" << "Firmware update" << "SEND TO HARDWARE";
    }

    void startLanguageFollowsSystemLocale()
    {
        QFETCH(QString, variable);
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QFETCH(QString, update);
        QFETCH(QString, send);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            env.remove(QLatin1String(name));
        env.insert(variable, locale);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kProbe)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QJsonObject result = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
        QCOMPARE(result.value(QStringLiteral("system")).toString(), locale.section(QLatin1Char('.'), 0, 0));
        QCOMPARE(result.value(QStringLiteral("current")).toString(), language);
        QCOMPARE(result.value(QStringLiteral("list")).toVariant().toStringList(),
                 QStringList({"English", "简体中文"}));
        QCOMPARE(result.value(QStringLiteral("update")).toString(), update);
        QCOMPARE(result.value(QStringLiteral("send")).toString(), send);
    }

    void listsCataloguesInFileOrder()
    {
        QCOMPARE(QDir(QStringLiteral(":/i18n")).entryList(QDir::Files, QDir::Name),
                 QStringList({"i18n_en.qm", "i18n_zh.qm"}));
        QCOMPARE(m_trans->languageList(), QStringList({"English", "简体中文"}));
        QCOMPARE(m_trans->property("languageList").toStringList(), m_trans->languageList());
    }

    void nothingStoredAtFirst() { QCOMPARE(m_trans->getLanguage(), QString()); }

    void switchingRetranslatesThePages()
    {
        QQmlComponent component(m_engine);
        // qsTr takes the file's base name as its context.
        component.setData("import QtQml 2.12\nQtObject { property string hint: qsTr(\"Failed to get data\") }",
                          QUrl(QStringLiteral("qrc:/qml/main.qml")));
        std::unique_ptr<QObject> page(component.create());
        QVERIFY2(page, qPrintable(component.errorString()));
        m_trans->reTrans(QStringLiteral("English"));
        QCOMPARE(page->property("hint").toString(), QStringLiteral("Failed to get data"));

        QSignalSpy changed(m_trans, &Trans::currentLanguageChanged);
        m_trans->reTrans(QStringLiteral("简体中文"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toString(), QStringLiteral("简体中文"));
        QCOMPARE(m_trans->currentLanguage(), QStringLiteral("简体中文"));
        QCOMPARE(page->property("hint").toString(), QStringLiteral("获取数据失败"));

        // The same text reads differently by context.
        QCOMPARE(translated("KnockGroup", "START"), QStringLiteral("编号起始值"));
        QCOMPARE(translated("KnobSwitchGroup", "START"), QStringLiteral("开始值"));
        QCOMPARE(translated("MyMenuBar", "Open Userguide   Ctrl+H"), QStringLiteral("打开用户指南"));
        QCOMPARE(translated("ProgressDialog", "固件升级"), QStringLiteral("固件升级"));

        m_trans->reTrans(QStringLiteral("English"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(page->property("hint").toString(), QStringLiteral("Failed to get data"));
        QCOMPARE(translated("ProgressDialog", "当前已是最新版本，无需升级!"),
                 QStringLiteral("Currently it is the latest version, no need to upgrade!"));
        QCOMPARE(translated("ProgressDialog", "当前已是最新版本，无需升级"),
                 QStringLiteral("Currently, it is the latest version, no need to upgrade"));
        QCOMPARE(translated("KnockGroup", "START"), QStringLiteral("START"));
    }

    void activeOrEmptyNameChangesNothing()
    {
        m_trans->reTrans(QStringLiteral("简体中文"));
        QSignalSpy changed(m_trans, &Trans::currentLanguageChanged);
        m_trans->reTrans(QStringLiteral("简体中文"));
        m_trans->reTrans(QString());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_trans->currentLanguage(), QStringLiteral("简体中文"));
        QCOMPARE(translated("Pressure", "LINEAR"), QStringLiteral("中等"));
    }

    void unknownNameShowsSourceTexts()
    {
        QSignalSpy changed(m_trans, &Trans::currentLanguageChanged);
        m_trans->reTrans(QStringLiteral("Klingon"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_trans->currentLanguage(), QStringLiteral("Klingon"));
        QCOMPARE(translated("Pressure", "LINEAR"), QStringLiteral("LINEAR"));
        QCOMPARE(translated("ProgressDialog", "固件升级"), QStringLiteral("固件升级"));
        QCOMPARE(m_trans->languageList(), QStringList({"English", "简体中文"}));
        m_trans->reTrans(QStringLiteral("English"));
        QCOMPARE(translated("ProgressDialog", "固件升级"), QStringLiteral("Firmware update"));
    }

    void storingDoesNotSwitch()
    {
        m_trans->reTrans(QStringLiteral("English"));
        QSignalSpy changed(m_trans, &Trans::currentLanguageChanged);
        m_trans->setLanguage(QStringLiteral("简体中文"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_trans->currentLanguage(), QStringLiteral("English"));
        QCOMPARE(translated("MainPage", "BANK A"), QStringLiteral("BANK A"));
        QCOMPARE(m_trans->getLanguage(), QStringLiteral("简体中文"));

        // An INI file in the user's config folder, under the maker's name.
        QSettings file(m_config.filePath(QStringLiteral("Korvel/korvelMavu.conf")), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Language")).toString(), QStringLiteral("简体中文"));

        // What the main page does at start with the stored choice.
        m_trans->reTrans(m_trans->getLanguage());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(translated("MainPage", "BANK A"), QStringLiteral("储存 A"));
    }

    // Each catalogue names itself.
    void cataloguesNameThemselves()
    {
        QTranslator en, zh;
        QVERIFY(en.load(QStringLiteral(":/i18n/i18n_en.qm")));
        QVERIFY(zh.load(QStringLiteral(":/i18n/i18n_zh.qm")));
        QCOMPARE(en.translate("Trans", "TargetLanguage"), QStringLiteral("English"));
        QCOMPARE(zh.translate("Trans", "TargetLanguage"), QStringLiteral("简体中文"));
        // English texts have no English entries: they show as they are.
        QCOMPARE(en.translate("MainPage", "BANK A"), QString());
    }
};

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], kProbe) == 0)
            return startLanguageProbe(argc, argv);
    }
    QGuiApplication app(argc, argv);
    TestTrans test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_trans.moc"
