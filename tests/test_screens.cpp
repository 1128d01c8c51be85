#include "tests/harness.h"
