#include "workflows/WorkflowsLog.h"

Q_LOGGING_CATEGORY(lcWorkflows, "mavu.workflows")
