// The whole editor against the in-process simulated controller, through the
// function page and the About box: the About box shows what the controller
// reported, and no page or dialog writes a single warning, in English or in
// Chinese. What a column's Save writes is checked in tst_functionpage.qml, and
// that the settings reach the controller in tst_editor_integration.
#include "EditorHarness.h"
#include "InProcessEditor.h"
#include "QmlWarnings.h"

#include "app/MainWindow.h"
#include "simulator/InProcess.h"

#include <QQmlContext>
#include <QtTest>

#include <memory>

using editorharness::child;

class TestEditorFunctionPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_editor.start(this);
        QVERIFY(m_editor.window);
        m_device = m_editor.device;
        m_root = m_editor.root;
        m_tran = m_editor.window->engine().rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
        QVERIFY(m_tran);
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        // The controller's settings, then its serial number.
        QTest::qWait(2600);
    }

    void cleanupTestCase()
    {
        m_editor.stop();
    }

    void aboutBoxShowsWhatTheControllerReported()
    {
        QObject *help = m_root->findChild<QObject *>(QStringLiteral("helpDialog"));
        QVERIFY(help);
        QVERIFY(QMetaObject::invokeMethod(help, "show"));
        QTRY_VERIFY(help->property("opened").toBool());
        QCOMPARE(child(help, "firmwareVer")->property("text").toString(), QStringLiteral("Firmware:1.0.2"));
        QCOMPARE(child(help, "sn")->property("text").toString(), QStringLiteral("sn:") + QString::fromLatin1(m_device->controller().serial()));
        QVERIFY(child(help, "support")->property("visible").toBool());
        QVERIFY(!child(help, "row")->property("visible").toBool());
        QVERIFY(QMetaObject::invokeMethod(help, "close"));
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
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
        QCOMPARE(child(pressure, "velocityComboBox")->property("currentIndex").toInt(), 2);
        QCOMPARE(child(pressure, "velocityComboBox")->property("currentText").toString(), QStringLiteral("LINEAR"));
        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("简体中文"))));
        QCOMPARE(child(pressure, "velocityComboBox")->property("currentIndex").toInt(), 2);
        funcPage->setProperty("isVisable", false);

        QVERIFY(QMetaObject::invokeMethod(help, "show"));
        QTRY_VERIFY(help->property("opened").toBool());
        QVERIFY(child(help, "row")->property("visible").toBool());
        QVERIFY(!child(help, "support")->property("visible").toBool());
        QVERIFY(child(help, "firmwareVer")->property("text").toString().endsWith(QLatin1String("1.0.2")));
        QVERIFY(QMetaObject::invokeMethod(help, "close"));

        QVERIFY(QMetaObject::invokeMethod(progress, "show"));
        QTRY_VERIFY(progress->property("opened").toBool());
        QVERIFY(QMetaObject::invokeMethod(progress, "showInfo", Q_ARG(QVariant, QStringLiteral("null")),
                                          Q_ARG(QVariant, QString()), Q_ARG(QVariant, QStringList())));
        QCOMPARE(child(progress, "textNewest")->property("text").toString(), QStringLiteral("当前已是最新版本，无需升级!"));
        QVERIFY(QMetaObject::invokeMethod(progress, "close"));

        QVERIFY(QMetaObject::invokeMethod(m_tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
    }

private:
    InProcessEditor m_editor;
    SimulatedDevice *m_device = nullptr;
    QObject *m_root = nullptr;
    QObject *m_tran = nullptr;
};

QTEST_MAIN(TestEditorFunctionPage)
#include "tst_editor_function_page.moc"
