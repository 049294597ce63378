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
    const QString backend = chooseBackend(qEnvironmentVariable("QT_QUICK_BACKEND"), openGlWorks);
    if (backend.isEmpty())
        return;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qCWarning(lcApp) << "OpenGL is not available: using the software renderer";
}

} // namespace scenegraph
