#include "support/editor/EditorHarness.h"

#include "support/editor/ImageProbe.h"
#include "support/editor/MainLogicDouble.h"
#include "support/editor/QmlWarnings.h"
#include "support/editor/TransDouble.h"

#include "app/DifferenceList.h"
#include "app/Editor.h"
#include "app/MessageBoxPrompt.h"
#include "app/QmlTypes.h"
#include "device/LoopbackMidi.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/FunctionProperty.h"
#include "simulator/InProcess.h"

#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QtTest>

namespace editorharness {

void prepare(const QString &configFolder)
{
    static QTemporaryDir own;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder.isEmpty() ? own.path() : configFolder));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.path()));
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    registerQmlTypes();
    qmlwarnings::start();
}

QObject *child(QObject *object, const char *property)
{
    return object ? object->property(property).value<QObject *>() : nullptr;
}

void click(QObject *button)
{
    QVERIFY(button);
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
}

void QuickSetup::qmlEngineAvailable(QQmlEngine *engine)
{
    auto *data = new DataManagement(engine); // fresh for every test file
    data->initDefaultData();
    // The editor's notices, as message boxes.
    static MessageBoxPrompt boxes;
    auto *ftp = new MyFtp(engine);
    ftp->setPrompt(&boxes);
    auto *update = new FirmwareUpdate(engine);
    update->setPrompt(&boxes);
    QQmlContext *context = engine->rootContext();
    context->setContextProperty(QStringLiteral("Tran"), new TransDouble(engine));
    context->setContextProperty(QStringLiteral("MainLogic"), new MainLogicDouble(engine));
    context->setContextProperty(QStringLiteral("Document"), new DocumentDouble(engine));
    context->setContextProperty(QStringLiteral("DataMgt"), data);
    context->setContextProperty(QStringLiteral("EditHistory"), new EditHistory(data, engine));
    auto *session = new EditSession(data, engine);
    context->setContextProperty(QStringLiteral("Session"), session);
    context->setContextProperty(QStringLiteral("Ftp"), ftp);
    context->setContextProperty(QStringLiteral("FirmwareUpdate"), update);
    context->setContextProperty(QStringLiteral("FunctionProperty"), new FunctionProperty(engine));
    context->setContextProperty(QStringLiteral("ImageProbe"), new ImageProbe(data, engine));
    // No controller has been read.
    context->setContextProperty(QStringLiteral("Differences"), new DifferenceList(data, session, engine));
}

} // namespace editorharness

InProcessEditor::InProcessEditor() = default;

InProcessEditor::~InProcessEditor()
{
    stop();
}

void InProcessEditor::start(QObject *owner)
{
    midi = std::make_unique<LoopbackMidi>();
    device = sim::startInProcess(midi.get(), SimOptions(), owner);
    QVERIFY(device && device->isPlugged());
    editor = std::make_unique<Editor>(EditorSetup{midi.get()});
    QVERIFY(!editor->engine().rootObjects().isEmpty());
    root = editor->engine().rootObjects().first();
    QObject *tran = editor->engine().rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
    QVERIFY(tran && QMetaObject::invokeMethod(tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
    // Settled once the controller's answer and its serial number are in.
    QSignalSpy serial(&editor->window(), &MainWindow::s_snNum);
    QTRY_COMPARE_WITH_TIMEOUT(serial.size(), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(root->findChild<QObject *>(QStringLiteral("mainPage")), 5000); // after the first frame
}

void InProcessEditor::stop()
{
    editor.reset();
    root = nullptr;
    qmlwarnings::stop();
}
