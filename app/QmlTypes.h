#pragma once

// The editor's own QML types (module "ColorP" and the WebLinks singleton)
// and the Controls style, set once before any QML is loaded: by main() and by
// the tests.
void registerQmlTypes();
