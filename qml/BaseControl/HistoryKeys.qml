pragma Singleton
import QtQuick 2.15

// Undo and redo typed in a number field that holds no typing of its own: a
// text field takes these keys for itself, so it hands them on here and the
// menu bar undoes or redoes the last edit.
QtObject {
    signal undo()
    signal redo()
}
