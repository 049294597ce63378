#include "app/SceneGraphChoice.h"

#include "app/AppLog.h"

#include <QDebug>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QQuickWindow>

namespace scenegraph {

QString chooseBackend(const QString &userBackend, const std::function<bool()> &openGlWorks)
{
    if (!userBackend.isEmpty() || openGlWorks())
        return QString();
    return QStringLiteral("software");
}

namespace {

bool openGlWorks()
{
    QOpenGLContext context;
    if (!context.create())
        return false;
    // An offscreen surface may be a hidden window: made on the GUI thread.
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    const bool current = surface.isValid() && context.makeCurrent(&surface);
    if (current)
        context.doneCurrent();
    return current;
}

} // namespace

void settle()
{
    // Qt sizes the image atlas after the GPU's limit (2048x1024 here), a
    // texture the renderer keeps whole for a few small pictures.
    for (const char *name : {"QSG_ATLAS_WIDTH", "QSG_ATLAS_HEIGHT"}) {
        if (qEnvironmentVariableIsEmpty(name))
            qputenv(name, QByteArray::number(kAtlasSide));
    }
    if (chooseBackend(qEnvironmentVariable("QT_QUICK_BACKEND"), openGlWorks).isEmpty())
        return;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qCWarning(lcApp) << "OpenGL is not available: using the software renderer";
}

} // namespace scenegraph
