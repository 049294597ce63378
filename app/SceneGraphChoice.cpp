#include "app/SceneGraphChoice.h"

#include "app/AppLog.h"

#include <QDebug>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QThread>

#include <utility>

namespace scenegraph {

QString chooseBackend(const QString &userBackend, const std::function<bool()> &openGlWorks)
{
    if (!userBackend.isEmpty() || openGlWorks())
        return QString();
    return QStringLiteral("software");
}

namespace {

// Loads the graphics driver: the slow part of the check.
std::unique_ptr<QOpenGLContext> createContext()
{
    auto context = std::make_unique<QOpenGLContext>();
    return context->create() ? std::move(context) : nullptr;
}

} // namespace

Renderer::Renderer()
    : m_userBackend(qEnvironmentVariable("QT_QUICK_BACKEND"))
{
    // Qt sizes the image atlas after the GPU's limit (2048x1024 here), a
    // texture the renderer keeps whole for a few small pictures. Set before
    // the worker starts: the driver reads the environment as it loads.
    for (const char *name : {"QSG_ATLAS_WIDTH", "QSG_ATLAS_HEIGHT"}) {
        if (qEnvironmentVariableIsEmpty(name))
            qputenv(name, QByteArray::number(kAtlasSide));
    }
    // Asked here, on the GUI thread, this also readies the platform's OpenGL
    // support before a worker uses it. Where the platform makes contexts on
    // the GUI thread only, the check waits for settle().
    if (!m_userBackend.isEmpty() || !QOpenGLContext::supportsThreadedOpenGL())
        return;
    // Qt Quick's own render thread creates its contexts off the GUI thread
    // in the same way; the context comes back to this thread when done.
    m_worker = std::thread([this, gui = QThread::currentThread()] {
        m_context = createContext();
        if (m_context)
            m_context->moveToThread(gui);
    });
}

Renderer::~Renderer()
{
    if (m_worker.joinable())
        m_worker.join();
}

bool Renderer::openGlWorks()
{
    if (m_worker.joinable())
        m_worker.join();
    else
        m_context = createContext();
    if (!m_context)
        return false;
    // An offscreen surface may be a hidden window: made here, on the GUI thread.
    QOffscreenSurface surface;
    surface.setFormat(m_context->format());
    surface.create();
    const bool current = surface.isValid() && m_context->makeCurrent(&surface);
    if (current)
        m_context->doneCurrent();
    m_context.reset();
    return current;
}

void Renderer::settle()
{
    if (std::exchange(m_settled, true))
        return;
    const QString backend = chooseBackend(m_userBackend, [this] { return openGlWorks(); });
    if (backend.isEmpty())
        return;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qCWarning(lcApp) << "OpenGL is not available: using the software renderer";
}

} // namespace scenegraph
