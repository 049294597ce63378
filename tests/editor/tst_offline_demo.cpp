// "korvel-mavu --simulator" on a machine without network: the firmware check
// finds the bundled demo folder's newer firmware, downloads it from there,
// flashes the simulated controller, and the new version shows.
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

class TestOfflineDemo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

private slots:
    void checkDownloadFlashAndNewVersion()
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
        MainWindow window(nullptr);
        auto *ftp = qobject_cast<MyFtp *>(window.engine().rootContext()->contextProperty("Ftp").value<QObject *>());
        QVERIFY(ftp);
        QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.2"), 5000);
        testsupport::MessageBoxCloser boxes;
        QSignalSpy offers(ftp, &MyFtp::info);
        QSignalSpy downloaded(ftp, &MyFtp::downloadComplete);

        ftp->checkOnLineFirmware();
        QVERIFY(offers.wait(5000));
        QCOMPARE(offers.first().mid(0, 2), (QVariantList{"mavu-sim-1.0.3.bin", "1.0.3"}));
        ftp->downloadFir();
        QVERIFY(downloaded.count() == 1 || downloaded.wait(5000));
        // The controller comes back with the new firmware and the editor reads it.
        QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.3"), 30000);
        QVERIFY2(boxes.texts().isEmpty(), qPrintable(boxes.texts().join('\n')));
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
        qmlwarnings::stop();
    }
};

QTEST_MAIN(TestOfflineDemo)
#include "tst_offline_demo.moc"
