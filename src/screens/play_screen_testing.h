// Test hooks of the Play driver: tests and benchmarks count its ticks and reset a finished game.
#pragma once

#include <cstdint>

namespace PlayTesting {
uint32_t ticksRun();  // since the world was loaded
void clearGameOver();
}  // namespace PlayTesting
