// The whole editor against the in-process simulated controller: it starts
// without a single warning, edits made through the pages reach the controller
// when sent, the About box shows what the controller reported, and no page or
// dialog writes a warning in English or in Chinese.
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
using editorharness::enterNumber;

namespace {

QVariant call(QObject *object, const char *method, const QVariant &arg)
{
    QVariant result;
    const bool ok = QMetaObject::invokeMethod(object, method, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, arg));
    return ok ? result : QVariant();
}

// A page of a swipe view.
QObject *pageOf(QObject *view, int index)
{
    QQuickItem *item = nullptr;
    if (view)
        QMetaObject::invokeMethod(view, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
    return item;
}

} // namespace

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

    void editsThroughThePagesReachTheController()
    {
        QObject *page = m_root->findChild<QObject *>(QStringLiteral("mainPage"));
        QVERIFY(page);

        // Pad 0 of bank A is the bottom-left tile (grid position 12).
        QObject *padPage = pageOf(child(page, "padSwipeView"), 0);
        QVERIFY(padPage);
        QObject *tile = call(padPage, "tile", 12).value<QObject *>();
        QVERIFY(tile);
        enterNumber(child(tile, "input"), QStringLiteral("42"));

        // Knob 0 of bank A: a maximum above the range is stored as 127.
        QObject *knobPage = pageOf(child(page, "bqmView"), 0);
        QVERIFY(knobPage);
        QObject *knob = call(knobPage, "knob", 0).value<QObject *>();
        QVERIFY(knob);
        enterNumber(child(knob, "ccMin"), QStringLiteral("5"));
        enterNumber(child(knob, "ccMax"), QStringLiteral("300"));

        // Transport button 2 ("next") switched to MC.
        QObject *transport = call(child(page, "walkingBeltPage"), "panel", 2).value<QObject *>();
        QVERIFY(transport);
        child(transport, "tabBar")->setProperty("currentIndex", 1);
        enterNumber(child(transport, "inputValue"), QStringLiteral("0"));

        QSignalSpy written(&m_device->controller(), &SimController::settingsWritten);
        QVERIFY(QMetaObject::invokeMethod(child(page, "sendButton"), "clicked"));
        QVERIFY(written.count() == 1 || written.wait(3000));

        DataManagement received;
        const QByteArray image = m_device->controller().image();
        received.setImage(image.constData(), image.size());
        QCOMPARE(received.getPadInfo(0).value(QStringLiteral("padData")).toInt(), 42);
        QCOMPARE(received.getBQMInfo(0).value(QStringLiteral("bqmLsbMin")).toInt(), 5);
        QCOMPARE(received.getBQMInfo(0).value(QStringLiteral("bqmLsbMax")).toInt(), 127);
        QCOMPARE(received.getWalkingBeltInfo(2).value(QStringLiteral("wbtype")).toInt(), 1);
        QCOMPARE(received.getWalkingBeltInfo(2).value(QStringLiteral("wbData")).toInt(), 0);
        // Everything else went over as the editor holds it.
        QCOMPARE(image.mid(2), m_editor.window->settings()->imageBytes().mid(2));
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
        QCOMPARE(child(progress, "textNewest")->property("text").toString(), QStringLiteral("当前已是最新版本，无需升级!"));
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
