#pragma once
// Moved to tests/support; kept for the tests that still name it here.
#include "support/JackFixture.h"
