// Qt Quick tests of the pages (the tst_*.qml files beside this one), with the
// real settings model behind them.
#include "support/editor/EditorHarness.h"

#include <QtQuickTest>

QUICK_TEST_MAIN_WITH_SETUP(mavu_pages, editorharness::QuickSetup)
