#include "screens/fixed_step.h"

int FixedStep::take(uint32_t elapsedMs) {
  // Saturating: a huge elapsed value (a long-minimised window) must not wrap the sum around.
  backlog_ = elapsedMs > capMs - backlog_ ? capMs : backlog_ + elapsedMs;
  const int due = static_cast<int>(backlog_ / stepMs);
  backlog_ %= stepMs;
  return due;
}
