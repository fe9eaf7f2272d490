#include "spoken_words.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>

namespace {
bool ready = false;
bool failed = false;
Samples* collecting = nullptr;

int collect(short* wave, int count, espeak_EVENT*) {
  if (wave != nullptr && collecting != nullptr) {
    for (int i = 0; i < count; ++i) collecting->push_back(static_cast<float>(wave[i] / 32768.0));
  }
  return 0;
}

bool start() {
  if (ready || failed) return ready;
  // Synchronous output: no audio device, no threads, the samples come back through the callback.
  const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  failed = rate != kSampleRate || espeak_SetVoiceByName("en") != EE_OK;
  if (!failed) espeak_SetSynthCallback(collect);
  ready = !failed;
  return ready;
}
}  // namespace

Samples speakWords(const char* text, const SpokenStyle& style) {
  Samples out;
  if (!start()) return out;
  espeak_SetParameter(espeakRATE, style.rate, 0);
  espeak_SetParameter(espeakPITCH, style.pitch, 0);
  espeak_SetParameter(espeakRANGE, style.range, 0);
  collecting = &out;
  const espeak_ERROR result =
      espeak_Synth(text, std::strlen(text) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
  espeak_Synchronize();
  collecting = nullptr;
  if (result != EE_OK) out.clear();
  return out;
}

void finishSpeaking() {
  if (ready) espeak_Terminate();
  ready = false;
  failed = false;
}
