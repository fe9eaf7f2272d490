// One CSV row of the game's state per frame: the harness and the game's --trace write the same rows,
// so two runs can be compared line by line.
#pragma once

#include <cstdio>

namespace GameTrace {
void writeHeader(FILE* out);
void writeRow(FILE* out, long frame);
}  // namespace GameTrace
