#pragma once

#include <QObject>

class QScreen;
class QWidget;

// The scale the pages are laid out by: they are drawn for 96 dots per inch
// and scaled by the logical resolution of the screen the window is on. The
// screen is found through a hidden probe widget that is kept at the QML
// window's position and nominal size.
class ScreenScale : public QObject
{
    Q_OBJECT
public:
    static constexpr double kReferenceDpi = 96.0;

    // Sizes the probe and takes the rate of the screen under it.
    explicit ScreenScale(QWidget *probe, QObject *parent = nullptr);

    double rate() const { return m_rate; }
    // The probe has moved: a screen other than the last one sets the rate
    // anew. The first move only notes where the window is.
    void follow();
    // The primary screen's logical resolution over 96, wherever the window is.
    static double primaryFactor();

signals:
    void changed();

private:
    int screenIndex() const;
    // Follows the resolution of a screen for as long as both exist.
    void watch(QScreen *screen);

    QWidget *m_probe;
    double m_rate = 1.0;
    int m_lastScreenIndex = -1;
    bool m_moved = false;
};
