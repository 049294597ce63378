#pragma once

#include <QTemporaryDir>

#include <memory>

class MainWindow;
class QObject;
class SimulatedDevice;

// The whole editor window in this process, on the in-process simulated
// controller, as "korvel-mavu --simulator" runs it.
struct InProcessEditor {
    InProcessEditor();
    ~InProcessEditor();

    // Call from initTestCase; failures are the test's.
    void start(QObject *owner);
    void stop();

    QTemporaryDir config;
    SimulatedDevice *device = nullptr;
    std::unique_ptr<MainWindow> window;
    QObject *root = nullptr;
};
