#include "model/FunctionProperty.h"
