// The whole editor against the in-process simulated controller: it starts
// without a single warning, and edits made through the pages reach the
// controller when sent.
#include "EditorHarness.h"
#include "InProcessEditor.h"
#include "QmlWarnings.h"

#include "app/MainWindow.h"
#include "model/DataManagement.h"
#include "simulator/InProcess.h"

#include <QQmlApplicationEngine>
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

class TestEditorIntegration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_editor.start(this);
        m_device = m_editor.device;
        m_root = m_editor.root;
    }

    void cleanupTestCase()
    {
        m_editor.stop();
    }

    void startsWithoutWarnings()
    {
        // Let the window settle: first layout, the controller's answer, the
        // serial number request.
        QTest::qWait(2600);
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
        QObject *page = m_root->findChild<QObject *>(QStringLiteral("mainPage"));
        QVERIFY(page);
        QCOMPARE(child(page, "connectState")->property("state").toString(), QStringLiteral("connect"));
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
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
    }

private:
    InProcessEditor m_editor;
    SimulatedDevice *m_device = nullptr;
    QObject *m_root = nullptr;
};

QTEST_MAIN(TestEditorIntegration)
#include "tst_editor_integration.moc"
