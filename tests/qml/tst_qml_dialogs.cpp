// Qt Quick tests of the About and firmware dialogs, with the real online
// check behind them pointed at a port on this machine where nothing listens.
#include "support/editor/EditorHarness.h"
#include "support/editor/MessageBoxCloser.h"

#include "app/MessageBoxPrompt.h"
#include "firmware/MyFtp.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtQuickTest>

// Lets a test decide whether the controller counts as present and which
// version it has, and see the message boxes the check put up (closed at once).
class FtpControl : public QObject
{
    Q_OBJECT
public:
    FtpControl(MyFtp *ftp, QObject *parent)
        : QObject(parent)
        , m_ftp(ftp)
        , m_closer(new testsupport::MessageBoxCloser(this))
    {
        m_ftp->setPrompt(&m_boxes); // as the editor's window does
    }

    Q_INVOKABLE void setDeviceConnected(bool connected) { m_ftp->setDeviceConnected(connected); }
    Q_INVOKABLE void setCurrentVersion(const QString &version) { m_ftp->setCurrentVersion(version); }
    Q_INVOKABLE QStringList messageBoxTexts() const { return m_closer->texts(); }

private:
    MyFtp *m_ftp;
    testsupport::MessageBoxCloser *m_closer;
    MessageBoxPrompt m_boxes;
};

// The harness's context objects, with a check that can only fail.
class Setup : public editorharness::QuickSetup
{
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        editorharness::QuickSetup::qmlEngineAvailable(engine);
        QTcpServer closed; // a loopback port with no listener once it lets go
        closed.listen(QHostAddress::LocalHost, 0);
        auto *ftp = new MyFtp(engine);
        ftp->setServer(QStringLiteral("127.0.0.1:%1").arg(closed.serverPort()));
        ftp->setRequestTimeout(10000);
        ftp->setDownloadFolder(m_downloads.path());
        engine->rootContext()->setContextProperty(QStringLiteral("Ftp"), ftp);
        engine->rootContext()->setContextProperty(QStringLiteral("FtpControl"), new FtpControl(ftp, engine));
    }

private:
    QTemporaryDir m_downloads;
};

int main(int argc, char **argv)
{
    // The check's "connect the device first" notices are widget message boxes.
    QApplication app(argc, argv);
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "mavu_dialogs", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_qml_dialogs.moc"
