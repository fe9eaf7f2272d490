// A review sheet: one labelled row per clip with its waveform and spectrogram.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SheetEntry {
  std::string name;
  std::vector<int16_t> pcm;
};

bool writeSheet(const std::string& path, const std::vector<SheetEntry>& entries);
