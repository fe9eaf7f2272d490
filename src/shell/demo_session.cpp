#include "shell/demo_session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "shell/demo.h"
#include "shell/key_state.h"

namespace {
// About 4.8 hours at 60 frames a second, and a key change on every fourth frame of that.
constexpr size_t maxFrames = size_t{1} << 20;
constexpr size_t maxKeyChanges = size_t{1} << 18;
constexpr size_t maxSeeds = 4096;
constexpr size_t pathSize = 4096;

DemoSession::Mode currentMode = DemoSession::Mode::Off;
std::unique_ptr<Demo> tape;
char recordPath[pathSize];
bool recordingFull = false;
uint8_t keysAtFrameEnd[256];
size_t nextFrame = 0;
size_t nextSeed = 0;

const char* programName() {
  return program_invocation_short_name;
}

void stopRecordingWhenFull() {
  recordingFull = true;
  std::fprintf(stderr, "%s: the demo is full; the rest of this game is not recorded\n", programName());
}
}  // namespace

bool DemoSession::startRecording(const char* path, const char* gameVersion) {
  if (std::strlen(path) >= pathSize) {
    std::fprintf(stderr, "%s: demo file name too long\n", programName());
    return false;
  }
  // Open it now, so a folder that cannot be written is said before the game starts, not after.
  FILE* probe = std::fopen(path, "w");
  if (!probe) {
    std::fprintf(stderr, "%s: cannot write the demo %s: %s\n", programName(), path, std::strerror(errno));
    return false;
  }
  std::fclose(probe);
  tape = std::make_unique<Demo>(maxFrames, maxKeyChanges, maxSeeds);
  tape->setHeader(gameVersion, 0, 1);
  std::strcpy(recordPath, path);
  recordingFull = false;
  std::memset(keysAtFrameEnd, 0, sizeof keysAtFrameEnd);
  currentMode = Mode::Recording;
  return true;
}

bool DemoSession::startPlayback(const char* path, const char* gameVersion) {
  FILE* in = std::fopen(path, "r");
  if (!in) {
    std::fprintf(stderr, "%s: cannot read the demo %s: %s\n", programName(), path, std::strerror(errno));
    return false;
  }
  auto loaded = std::make_unique<Demo>(maxFrames, maxKeyChanges, maxSeeds);
  char error[512];
  bool ok = loaded->read(in, path, error, sizeof error);
  std::fclose(in);
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n", programName(), error);
    return false;
  }
  if (std::strcmp(loaded->gameVersion(), gameVersion) != 0) {
    std::fprintf(stderr, "%s: %s was recorded by version %s; this is %s, so it may play differently\n",
                 programName(), path, loaded->gameVersion(), gameVersion);
  }
  tape = std::move(loaded);
  nextFrame = 0;
  nextSeed = 0;
  KeyState::clearAll();
  currentMode = Mode::Playing;
  return true;
}

DemoSession::Mode DemoSession::mode() {
  return currentMode;
}

const Demo* DemoSession::demo() {
  return tape.get();
}

void DemoSession::noteStartingSettings(int day, int corn) {
  if (currentMode == Mode::Recording) tape->setHeader(tape->gameVersion(), day, corn);
}

bool DemoSession::playbackStartingSettings(int& day, int& corn) {
  if (currentMode != Mode::Playing) return false;
  day = tape->startingDay();
  corn = tape->startingCorn();
  return true;
}

uint32_t DemoSession::beginFrame(uint32_t elapsedMs) {
  if (currentMode == Mode::Playing) {
    if (nextFrame >= tape->frameCount()) return elapsedMs;
    const DemoFrame& frame = tape->frame(nextFrame++);
    const DemoKeyChange* changes = tape->changesOf(frame);
    for (size_t i = 0; i < frame.changeCount; ++i) KeyState::setByte(changes[i].key, changes[i].bits);
    return frame.ms;
  }
  if (currentMode != Mode::Recording) return elapsedMs;

  // A long-minimised window hands over its whole hidden time; every screen caps its backlog far
  // below the limit, so clamping changes nothing the game does.
  if (elapsedMs > Demo::maxFrameMs) elapsedMs = Demo::maxFrameMs;
  if (recordingFull) return elapsedMs;
  DemoKeyChange changes[256];
  size_t count = 0;
  for (uint32_t key = 0; key < 256; ++key) {
    uint8_t bits = KeyState::rawByte(key);
    if (bits != keysAtFrameEnd[key]) changes[count++] = DemoKeyChange{static_cast<uint8_t>(key), bits};
  }
  if (!tape->addFrame(elapsedMs, changes, count)) stopRecordingWhenFull();
  return elapsedMs;
}

void DemoSession::endFrame() {
  if (currentMode != Mode::Recording) return;
  for (uint32_t key = 0; key < 256; ++key) keysAtFrameEnd[key] = KeyState::rawByte(key);
}

bool DemoSession::playbackDone() {
  return currentMode == Mode::Playing && nextFrame >= tape->frameCount();
}

uint32_t DemoSession::nextFrameMs() {
  if (currentMode != Mode::Playing || nextFrame >= tape->frameCount()) return 0;
  return tape->frame(nextFrame).ms;
}

void DemoSession::stopPlayback() {
  if (currentMode != Mode::Playing) return;
  currentMode = Mode::Off;
  KeyState::clearAll();
}

uint32_t DemoSession::worldSeed(uint32_t timerSeed) {
  if (currentMode == Mode::Playing) {
    // A demo that runs out of seeds has already left its recorded course; the timer will do.
    return nextSeed < tape->seedCount() ? tape->seed(nextSeed++) : timerSeed;
  }
  if (currentMode == Mode::Recording && !recordingFull && !tape->addSeed(timerSeed)) stopRecordingWhenFull();
  return timerSeed;
}

bool DemoSession::finishRecording() {
  if (currentMode != Mode::Recording) return true;
  currentMode = Mode::Off;
  FILE* out = std::fopen(recordPath, "w");
  bool ok = out && tape->write(out);
  if (out && std::fclose(out) != 0) ok = false;
  if (!ok)
    std::fprintf(stderr, "%s: cannot write the demo %s: %s\n", programName(), recordPath,
                 std::strerror(errno));
  return ok;
}
