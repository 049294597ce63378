// "korvel-mavu --simulator" on a machine without network: the About box's
// firmware check finds the bundled demo folder's newer firmware, downloads it
// from there, flashes the simulated controller, and the new version shows.
#include "EditorHarness.h"
#include "QmlWarnings.h"

#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "simulator/InProcess.h"
#include "support/TestSupport.h"

#include <QQmlContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestOfflineDemo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<MainWindow> m_window;

    template <typename T>
    T *contextObject(const char *name)
    {
        return qobject_cast<T *>(m_window->engine().rootContext()->contextProperty(name).value<QObject *>());
    }

    QString firmwareVersion() const
    {
        const QVariantList v = m_window->settings()->getVerInfo();
        return QStringLiteral("%1.%2.%3").arg(v.value(0).toInt()).arg(v.value(1).toInt()).arg(v.value(2).toInt());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath("cache")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        editorharness::prepare(m_home.filePath("config"));
        AppOptions options;
        options.simulator = true;
        options.updatePort = m_home.filePath("update-port");
        AppOptions::setCurrent(options);
        sim::installControllerLink(this);
        QVERIFY2(AppOptions::current().firmwareServer.startsWith("file:///"),
            qPrintable(AppOptions::current().firmwareServer));
        m_window = std::make_unique<MainWindow>(nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(firmwareVersion(), QStringLiteral("1.0.2"), 5000);
    }

    void cleanupTestCase()
    {
        m_window.reset();
        qmlwarnings::stop();
    }

    void checkDownloadFlashAndNewVersion()
    {
        auto *ftp = contextObject<MyFtp>("Ftp");
        auto *update = contextObject<FirmwareUpdate>("FirmwareUpdate");
        QVERIFY(ftp && update);
        testsupport::MessageBoxCloser boxes;
        QSignalSpy offers(ftp, &MyFtp::info);
        QSignalSpy failures(ftp, &MyFtp::failed);
        QSignalSpy downloaded(ftp, &MyFtp::downloadComplete);
        QSignalSpy outcome(update, &FirmwareUpdate::transStatus);

        QVERIFY(QMetaObject::invokeMethod(ftp, "checkOnLineFirmware"));
        QVERIFY(offers.wait(5000));
        QCOMPARE(offers.first().at(0).toString(), QStringLiteral("mavu-sim-1.0.3.bin"));
        QCOMPARE(offers.first().at(1).toString(), QStringLiteral("1.0.3"));
        QVERIFY(!offers.first().at(2).toStringList().isEmpty());

        QVERIFY(QMetaObject::invokeMethod(ftp, "downloadFir"));
        QVERIFY(downloaded.count() == 1 || downloaded.wait(5000));
        QTRY_COMPARE_WITH_TIMEOUT(outcome.count(), 1, 30000);
        QCOMPARE(outcome.first().first().toBool(), true);

        // The controller comes back with the new firmware and the editor reads it.
        QTRY_COMPARE_WITH_TIMEOUT(firmwareVersion(), QStringLiteral("1.0.3"), 10000);
        QCOMPARE(failures.count(), 0);
        QVERIFY2(boxes.texts().isEmpty(), qPrintable(boxes.texts().join('\n')));

        // Asked again, the demo has nothing newer.
        offers.clear();
        QVERIFY(QMetaObject::invokeMethod(ftp, "checkOnLineFirmware"));
        QVERIFY(offers.wait(5000));
        QCOMPARE(offers.first().at(0).toString(), QStringLiteral("null"));
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
    }
};

QTEST_MAIN(TestOfflineDemo)
#include "tst_offline_demo.moc"
