#pragma once

#include <QObject>
#include <QString>

// Helpers for tests that run the whole editor window in their own process.
namespace editorharness {

// What main() sets up before the window: software rendering (the offscreen
// platform has no OpenGL), the QML types, settings in a private folder, and
// the collection of warnings (see QmlWarnings.h).
void prepare(const QString &configFolder);

// A child item that a QML object publishes as a property.
QObject *child(QObject *object, const char *property);

// Clicks a button as the user would, through its clicked signal.
void click(QObject *button);

// Types into a number field and finishes editing, as the user would.
void enterNumber(QObject *field, const QString &text);

} // namespace editorharness
