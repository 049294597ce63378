#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <thread>

class QOpenGLContext;

// Which scene graph back end the editor's window uses. Machines without
// working OpenGL (virtual machines, remote desktops, old GPUs) would abort
// with "Failed to create OpenGL context"; they get the software renderer.
namespace scenegraph {

// The back end to set before the first window, or empty for Qt's default.
// A back end the user named in QT_QUICK_BACKEND is left to Qt (never
// probed); otherwise openGlWorks() decides.
QString chooseBackend(const QString &userBackend, const std::function<bool()> &openGlWorks);

// The side of the texture atlas the window's pictures share, in pixels: the
// main window's fill a fraction of it, and a picture that finds no room
// gets a texture of its own.
constexpr int kAtlasSide = 512;

// The choice for this process. Creating the OpenGL context loads the
// graphics driver, the slowest step before the window: where the platform
// allows contexts off the GUI thread, it runs on a worker from construction
// (once the application object exists) while the editor builds its models
// and compiles its pages; settle() takes the answer. Construction also
// sizes the image atlas unless the user did.
class Renderer
{
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer &) = delete;
    Renderer &operator=(const Renderer &) = delete;

    // Before the first window: waits for the worker, makes the context
    // current on this thread and applies the choice (logging a fallback).
    // Once: later calls do nothing.
    void settle();

private:
    bool openGlWorks();

    const QString m_userBackend;
    std::unique_ptr<QOpenGLContext> m_context;
    std::thread m_worker;
    bool m_settled = false;
};

} // namespace scenegraph
