// A review sheet: one labelled row per clip with its waveform and spectrogram.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SheetEntry {
  std::string name;
  std::vector<int16_t> pcm;
  std::string heard{};  // the phones a recogniser hears in a voiced clip, and its verdict
};

bool writeSheet(const std::string& path, const std::vector<SheetEntry>& entries);
