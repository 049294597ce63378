// The whole editor against the in-process simulated controller: it starts
// connected and without a single warning, the About box shows what the
// controller reported, and no page or dialog writes a warning in English or
// in Chinese.
#include "app/MainWindow.h"
#include "model/DataManagement.h"
#include "simulator/InProcess.h"
#include "support/EditorHarness.h"
#include "support/QmlWarnings.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using editorharness::child;

class TestEditorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_editor.start(this);
        m_device = m_editor.device;
        m_root = m_editor.root;
        m_tran = m_editor.window->engine().rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
        QVERIFY(m_tran && QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        // Let the window settle: first layout, the controller's answer, the
        // serial number request.
        QTest::qWait(2600);
    }

    void cleanup() { QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report())); }

    void startsConnectedAndTheAboutBoxShowsTheController()
    {
        QObject *page = m_root->findChild<QObject *>(QStringLiteral("mainPage"));
        QVERIFY(page);
        QCOMPARE(child(page, "connectState")->property("state").toString(), QStringLiteral("connect"));
        // The pages edit the settings that are sent.
        QCOMPARE(m_editor.window->engine().rootContext()->contextProperty("DataMgt").value<QObject *>(),
            static_cast<QObject *>(m_editor.window->settings()));
        QObject *help = m_root->findChild<QObject *>(QStringLiteral("helpDialog"));
        QVERIFY(help && QMetaObject::invokeMethod(help, "show"));
        QTRY_VERIFY(help->property("opened").toBool());
        QCOMPARE(child(help, "firmwareVer")->property("text").toString(), QStringLiteral("Firmware:1.0.2"));
        QCOMPARE(child(help, "sn")->property("text").toString(),
            QStringLiteral("sn:") + QString::fromLatin1(m_device->controller().serial()));
        QVERIFY(child(help, "support")->property("visible").toBool());
        QVERIFY(!child(help, "row")->property("visible").toBool());
        QVERIFY(QMetaObject::invokeMethod(help, "close"));
    }

    void everyPageAndDialogInChinese()
    {
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("简体中文"))));
        QObject *funcPage = m_root->findChild<QObject *>(QStringLiteral("funcPage"));
        QObject *help = m_root->findChild<QObject *>(QStringLiteral("helpDialog"));
        QObject *progress = m_root->findChild<QObject *>(QStringLiteral("progressDialog"));
        QVERIFY(funcPage && help && progress);
        funcPage->setProperty("isVisable", true);
        QObject *groupA = child(funcPage, "groupA");
        QCOMPARE(child(groupA, "saveBtn")->property("text").toString(), QStringLiteral("保存"));
        // A language switch keeps the chosen velocity curve.
        QObject *pressure = child(groupA, "pressure");
        QVERIFY(QMetaObject::invokeMethod(pressure, "setCurve", Q_ARG(QVariant, 2)));
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        QCOMPARE(child(pressure, "velocityComboBox")->property("currentText").toString(), QStringLiteral("LINEAR"));
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("简体中文"))));
        QCOMPARE(child(pressure, "velocityComboBox")->property("currentIndex").toInt(), 2);
        funcPage->setProperty("isVisable", false);

        QVERIFY(QMetaObject::invokeMethod(help, "show"));
        QTRY_VERIFY(help->property("opened").toBool());
        QVERIFY(child(help, "row")->property("visible").toBool());
        QVERIFY(!child(help, "support")->property("visible").toBool());
        QVERIFY(QMetaObject::invokeMethod(help, "close"));
        QVERIFY(QMetaObject::invokeMethod(progress, "show"));
        QTRY_VERIFY(progress->property("opened").toBool());
        QVERIFY(QMetaObject::invokeMethod(progress, "showInfo", Q_ARG(QVariant, QStringLiteral("null")),
            Q_ARG(QVariant, QString()), Q_ARG(QVariant, QStringList())));
        QCOMPARE(
            child(progress, "textNewest")->property("text").toString(), QStringLiteral("当前已是最新版本，无需升级!"));
        QVERIFY(QMetaObject::invokeMethod(progress, "close"));
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
    }

private:
    InProcessEditor m_editor;
    SimulatedDevice *m_device = nullptr;
    QObject *m_root = nullptr;
    QObject *m_tran = nullptr;
};

MAVU_EDITOR_TEST_MAIN(TestEditorWindow)
#include "tst_editor_window.moc"
