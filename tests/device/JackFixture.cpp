// Moved to tests/support (built into mavutestsupport); kept for the tests that still list it here.
#include "support/JackFixture.h"
