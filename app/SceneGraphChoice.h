#pragma once

#include <QString>

#include <functional>

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

// Before the first window, on the GUI thread: sizes the image atlas unless
// the user did, and applies chooseBackend() with a real OpenGL context
// (logging a fallback). Loading the graphics driver for that check costs
// what the first window would otherwise pay for it.
void settle();

} // namespace scenegraph
