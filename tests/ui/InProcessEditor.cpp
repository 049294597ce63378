#include "InProcessEditor.h"

#include "EditorHarness.h"
#include "QmlWarnings.h"

#include "app/MainWindow.h"
#include "simulator/InProcess.h"

#include <QtTest>

InProcessEditor::InProcessEditor() = default;

InProcessEditor::~InProcessEditor()
{
    stop();
}

void InProcessEditor::start(QObject *owner)
{
    QVERIFY(config.isValid());
    editorharness::prepare(config.path());
    device = sim::startInProcess(SimOptions(), owner);
    QVERIFY(device && device->isPlugged());
    window = std::make_unique<MainWindow>(nullptr);
    QVERIFY(!window->engine().rootObjects().isEmpty());
    root = window->engine().rootObjects().first();
}

void InProcessEditor::stop()
{
    window.reset();
    root = nullptr;
    qmlwarnings::stop();
}
