// Qt Quick tests of the About and firmware dialogs, with the real online
// check behind them pointed at a port on this machine where nothing listens.
#include "LogProbe.h"
#include "MainLogicDouble.h"
#include "TransDouble.h"

#include "app/WebLinks.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "model/FunctionProperty.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtQuickTest>

// Lets a test decide whether the controller counts as present, and see the
// message boxes the check put up (closed at once).
class FtpControl : public QObject
{
    Q_OBJECT
public:
    FtpControl(MyFtp *ftp, QObject *parent)
        : QObject(parent)
        , m_ftp(ftp)
        , m_closer(new testsupport::MessageBoxCloser(this))
    { }

    Q_INVOKABLE void setDeviceConnected(bool connected) { m_ftp->setDeviceConnected(connected); }
    Q_INVOKABLE QStringList messageBoxTexts() const { return m_closer->texts(); }

private:
    MyFtp *m_ftp;
    testsupport::MessageBoxCloser *m_closer;
};

namespace {

// A loopback port with no listener: found by listening once and letting go.
quint16 refusingPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

} // namespace

class Setup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable()
    {
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        WebLinks::registerQmlType();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        auto *data = new DataManagement(engine);
        data->initDefaultData();
        auto *ftp = new MyFtp(engine);
        ftp->setDeviceConnected(true);
        ftp->setCurrentVersion(QStringLiteral("1.0.2"));
        ftp->setServer(QStringLiteral("127.0.0.1:%1").arg(refusingPort()));
        ftp->setRequestTimeout(10000);
        ftp->setDownloadFolder(m_downloads.path());
        QQmlContext *context = engine->rootContext();
        context->setContextProperty(QStringLiteral("Tran"), new TransDouble(engine));
        context->setContextProperty(QStringLiteral("MainLogic"), new MainLogicDouble(engine));
        context->setContextProperty(QStringLiteral("DataMgt"), data);
        context->setContextProperty(QStringLiteral("Ftp"), ftp);
        context->setContextProperty(QStringLiteral("FtpControl"), new FtpControl(ftp, engine));
        context->setContextProperty(QStringLiteral("FirmwareUpdate"), new FirmwareUpdate(engine));
        context->setContextProperty(QStringLiteral("FunctionProperty"), new FunctionProperty(engine));
        context->setContextProperty(QStringLiteral("LogProbe"), new LogProbe(engine));
    }

private:
    QTemporaryDir m_downloads;
};

int main(int argc, char **argv)
{
    // The offscreen platform asks for no hover effects; the account names
    // show their QR codes only while hovered.
    qputenv("QT_QUICK_CONTROLS_HOVER_ENABLED", "1");
    // The check's "connect the device first" notices are widget message boxes.
    QApplication app(argc, argv);
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "mavu_dialogs", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_qml_dialogs.moc"
