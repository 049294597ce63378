#include "support/EditorHarness.h"

#include "support/ImageProbe.h"
#include "support/MainLogicDouble.h"
#include "support/QmlWarnings.h"
#include "support/TransDouble.h"

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

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtTest>

namespace editorharness {

void prepare(const QString &configFolder)
{
    static QTemporaryDir own;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder.isEmpty() ? own.path() : configFolder));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.path()));
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
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
}

void InProcessEditor::stop()
{
    editor.reset();
    root = nullptr;
    qmlwarnings::stop();
}

EditorProcess::EditorProcess()
{
    m_first.setProcessEnvironment(environment());
    m_first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

EditorProcess::~EditorProcess()
{
    m_first.kill();
    m_first.waitForFinished(10000);
}

QProcessEnvironment EditorProcess::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QLatin1String(name), folder(QString::fromLatin1(name).toLower()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    return env;
}

bool EditorProcess::start(const QStringList &args)
{
    const QString runtime = folder(QStringLiteral("xdg_runtime_dir"));
    QDir().mkpath(runtime);
    QFile(runtime).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_first.start(QStringLiteral(MAVU_EDITOR_PATH), args);
    m_first.waitForStarted(10000);
    QElapsedTimer timer;
    timer.start();
    while (isRunning() && timer.elapsed() < 30000) {
        if (QFileInfo::exists(runtime + QStringLiteral("/korvelMavu.socket")))
            return true;
        QTest::qWait(50);
    }
    return false;
}

int EditorProcess::runSecond(const QStringList &args)
{
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(m_root.path());
    second.start(QStringLiteral(MAVU_EDITOR_PATH), args);
    if (!second.waitForFinished(10000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

QByteArray EditorProcess::log() const
{
    const QDir dir(folder(QStringLiteral("xdg_data_home/korvel-mavu/Log")));
    QByteArray text;
    for (const QString &name : dir.entryList({QStringLiteral("*_log.html")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += file.readAll();
    }
    return text;
}
