#pragma once

namespace faults {

// What main() does before a MainWindow can load its pages in a test:
// the QML types and software rendering (offscreen has no OpenGL).
void prepareEditorWindow();

} // namespace faults
