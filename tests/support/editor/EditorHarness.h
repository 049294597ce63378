#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Editor;
class LoopbackMidi;
class QQmlEngine;
class SimulatedDevice;

// The editor as the tests run it: in this process (its window, its QML types,
// the in-process MIDI system) or as the real program with private folders.
namespace editorharness {

// What main() sets up before the window: software rendering (the offscreen
// platform has no OpenGL), the QML types, settings in a private folder, and
// the collection of warnings (see QmlWarnings.h). An empty folder: one of
// its own for the process.
void prepare(const QString &configFolder = QString());

// A child item that a QML object publishes as a property.
QObject *child(QObject *object, const char *property);

// Clicks a button as the user would, through its clicked signal.
void click(QObject *button);

// The context objects of a Qt Quick test: the real settings model, doubles
// of the main window, the document and the translation manager.
class QuickSetup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable() { prepare(); }
    void qmlEngineAvailable(QQmlEngine *engine);
};

} // namespace editorharness

// The whole editor in this process, on the in-process simulated controller,
// as "korvel-mavu --simulator" runs it: in English, once the controller's
// settings and serial number are in.
struct InProcessEditor {
    InProcessEditor();
    ~InProcessEditor();

    // Call from initTestCase; failures are the test's.
    void start(QObject *owner);
    void stop();

    std::unique_ptr<LoopbackMidi> midi; // outlives the window
    SimulatedDevice *device = nullptr;
    std::unique_ptr<Editor> editor;
    QObject *root = nullptr;
};

// main() of a test that builds editor windows: prepared as the program is.
#define MAVU_EDITOR_TEST_MAIN(TestClass)                                                                               \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        editorharness::prepare();                                                                                      \
        QApplication app(argc, argv);                                                                                  \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
