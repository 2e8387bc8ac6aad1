// Moved to tests/support; kept while the skin tests still include it here.
#pragma once
#include "support/BmpWriter.h"
