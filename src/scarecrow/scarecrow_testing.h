// Test hooks: tests and benchmarks set the scarecrow up directly.
#pragma once

#include "scarecrow/scarecrow.h"

namespace Scarecrow::testing {
ScarecrowState& state();
}  // namespace Scarecrow::testing
