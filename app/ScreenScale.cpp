#include "app/ScreenScale.h"

#include "app/AppLog.h"

#include <QApplication>
#include <QDebug>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QWidget>

namespace {

// The QML window's nominal size (CusConfig.windowWidth and windowHeight).
constexpr QSize kNominalWindowSize(1080, 892);

} // namespace

ScreenScale::ScreenScale(QWidget *probe, QObject *parent)
    : QObject(parent)
    , m_probe(probe)
{
    m_probe->resize(kNominalWindowSize);
    if (QScreen *screen = QGuiApplication::screens().value(screenIndex()))
        m_rate = screen->logicalDotsPerInch() / kReferenceDpi;
    // A screen added or removed matters only through later moves and resolution changes.
    connect(qApp, &QGuiApplication::screenAdded, this, &ScreenScale::watch);
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watch(screen);
}

int ScreenScale::screenIndex() const
{
    // The screen under the window's middle, as the screen number always was.
    QRect frame = m_probe->frameGeometry();
    if (!m_probe->isWindow())
        frame.moveTopLeft(m_probe->mapToGlobal(QPoint(0, 0)));
    const int n = QGuiApplication::screens().indexOf(QGuiApplication::screenAt(frame.center()));
    return n < 0 ? 0 : n;
}

double ScreenScale::primaryFactor()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    // Not times its pixel ratio: Qt draws every item by that already (Qt 6
    // always does), and the window came out at the ratio's square.
    return screen->logicalDotsPerInch() / kReferenceDpi;
}

void ScreenScale::follow()
{
    const int n = screenIndex();
    if (!m_moved) {
        m_moved = true;
        m_lastScreenIndex = n;
        return;
    }
    if (n == m_lastScreenIndex)
        return;
    m_lastScreenIndex = n;
    QScreen *screen = QGuiApplication::screens().value(n);
    if (!screen)
        return;
    m_rate = screen->logicalDotsPerInch() / kReferenceDpi;
    qCDebug(lcApp) << "===logicalDotsPerInch=====" << screen->logicalDotsPerInch();
    emit changed();
}

void ScreenScale::watch(QScreen *screen)
{
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this, screen](qreal dpi) {
        if (QGuiApplication::screens().value(screenIndex()) == screen) {
            m_rate = dpi / kReferenceDpi;
            emit changed();
        }
    });
}
