#include "app/SceneGraphChoice.h"

#include "app/AppLog.h"

#include <QDebug>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace scenegraph {

QString chooseBackend(const QString &userBackend, const std::function<bool()> &openGlWorks)
{
    if (!userBackend.isEmpty() || openGlWorks())
        return QString();
    return QStringLiteral("software");
}

bool openGlWorks()
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create())
        return false;
    const bool current = context.makeCurrent(&surface);
    if (current)
        context.doneCurrent();
    return current;
}

void settle()
{
    // Qt sizes the image atlas after the GPU's limit (2048x1024 here), a
    // texture the renderer keeps whole for a few small pictures.
    for (const char *name : {"QSG_ATLAS_WIDTH", "QSG_ATLAS_HEIGHT"}) {
        if (qEnvironmentVariableIsEmpty(name))
            qputenv(name, QByteArray::number(kAtlasSide));
    }
    const QString backend = chooseBackend(qEnvironmentVariable("QT_QUICK_BACKEND"), openGlWorks);
    if (backend.isEmpty())
        return;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qCWarning(lcApp) << "OpenGL is not available: using the software renderer";
}

} // namespace scenegraph
