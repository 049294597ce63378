#include "app/MainWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

const char kProbe[] = "--scale-probe";

// Child mode: what a freshly built window reports on this process's screen.
int scaleProbe(int argc, char **argv)
{
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    MainWindow window;
    QJsonObject result;
    result.insert(QStringLiteral("dpi"), QGuiApplication::primaryScreen()->logicalDotsPerInch());
    result.insert(QStringLiteral("rate"), window.getScalingRate());
    result.insert(QStringLiteral("factor"), window.getScreenScaleFactor());
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

} // namespace

class TestWindowScale : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QProcessEnvironment privateEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QLatin1String(name), m_home.path());
        return env;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
    }

    void startRateFollowsTheScreen()
    {
        MainWindow window;
        QScreen *screen = QGuiApplication::screens().value(0);
        QVERIFY(screen);
        QCOMPARE(window.getScalingRate(), screen->logicalDotsPerInch() / 96.0);
        QCOMPARE(window.getScreenScaleFactor(), screen->devicePixelRatio() * screen->logicalDotsPerInch() / 96.0);
        QCOMPARE(window.size(), QSize(1080, 892));

        // The first move only records the screen, wherever it lands.
        QSignalSpy changed(&window, &MainWindow::screenChanged);
        window.updateProgra(-5000, -5000);
        window.updateProgra(100, 100);
        window.updateProgra(200, 50);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(window.pos(), QPoint(200, 50));
        QCOMPARE(window.getScalingRate(), screen->logicalDotsPerInch() / 96.0);
    }

    void rateAndFactorOnOtherScreens_data()
    {
        QTest::addColumn<QString>("fontDpi");
        QTest::addColumn<QString>("scaleFactor");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("factor");
        QTest::newRow("96 dpi") << "96" << "" << 1.0 << 1.0;
        QTest::newRow("144 dpi") << "144" << "" << 1.5 << 1.5;
        QTest::newRow("120 dpi") << "120" << "" << 1.25 << 1.25;
        QTest::newRow("pixel ratio 2") << "96" << "2" << 1.0 << 2.0;
    }

    void rateAndFactorOnOtherScreens()
    {
        QFETCH(QString, fontDpi);
        QFETCH(QString, scaleFactor);
        QFETCH(double, rate);
        QFETCH(double, factor);
        QProcessEnvironment env = privateEnvironment();
        env.insert(QStringLiteral("QT_FONT_DPI"), fontDpi);
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        if (!scaleFactor.isEmpty())
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kProbe)});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        const QJsonObject result = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
        QCOMPARE(result.value(QStringLiteral("dpi")).toDouble(), fontDpi.toDouble());
        QCOMPARE(result.value(QStringLiteral("rate")).toDouble(), rate);
        QCOMPARE(result.value(QStringLiteral("factor")).toDouble(), factor);
    }

    void versionComesFromTheProject()
    {
        MainWindow window;
        QCOMPARE(window.getSoftVersion(), QStringLiteral("1.0.1.1"));

        const testsupport::ProcessResult result = testsupport::run(QStringLiteral(MAVU_EDITOR_PATH),
                                                                   {QStringLiteral("--version")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("korvel-mavu 1.0.1.1\n"));
    }
};

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], kProbe) == 0)
            return scaleProbe(argc, argv);
    }
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestWindowScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_scale.moc"
