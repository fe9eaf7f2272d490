// Finishing every clip the same way: no DC, soft edges, a common loudness, peaks below -1 dBFS,
// then 16-bit mono PCM in a wave file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

// Loudness every clip is brought to: RMS over its sounding part.
constexpr double kTargetLoudness = 0.14;
// Peaks stay below this (-1.2 dBFS, a margin under the -1 dBFS limit for rounding).
constexpr double kPeakCeiling = 0.87;

// Weighted RMS over the 20 ms blocks within 20 dB of the loudest block.
double gatedLoudness(const Samples& samples);
void masterClip(Samples& samples);
std::vector<int16_t> toPcm(const Samples& samples);
bool writeWave(const std::string& path, const std::vector<int16_t>& pcm);
