#include "shell/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/user_files.h"

Settings settings;

namespace {
struct ModeSize {
  int32_t width, height;
};
// The chooser's resolutions and depths: a remembered mode must be one it can show.
constexpr ModeSize modeSizes[] = {{640, 480}, {800, 600}, {1024, 768}};
constexpr int32_t depths[] = {16, 32};

bool readWhole(const char* text, size_t length, int32_t& out) {
  if (length == 0 || length > 6) return false;
  int32_t value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  out = value;
  return true;
}

bool isKey(const char* line, size_t keyLength, const char* key) {
  return std::strlen(key) == keyLength && std::memcmp(line, key, keyLength) == 0;
}

bool isPlainText(const char* line, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c < 0x20 && c != '\t') return false;
  }
  return true;
}
}  // namespace

void Settings::keepLine(const char* line, size_t length) {
  // Binary junk and overlong lines are not worth keeping.
  if (keptCount_ >= keptLineCapacity || length >= keptLineLength || !isPlainText(line, length)) return;
  std::memcpy(kept_[keptCount_], line, length);
  kept_[keptCount_][length] = '\0';
  ++keptCount_;
}

void Settings::parse(const char* text, size_t length) {
  *this = Settings{};
  int32_t readWidth = -1;
  int32_t readHeight = -1;
  size_t start = 0;
  while (start < length) {
    size_t end = start;
    while (end < length && text[end] != '\n') ++end;
    const char* line = text + start;
    size_t lineLength = end - start;
    if (lineLength > 0 && line[lineLength - 1] == '\r') --lineLength;
    start = end + 1;
    if (lineLength == 0) continue;

    const char* equals = static_cast<const char*>(std::memchr(line, '=', lineLength));
    if (line[0] == '#') {
      keepLine(line, lineLength);
      continue;
    }
    if (equals == nullptr) continue;  // not a key: a cut-off fragment or junk
    const size_t keyLength = static_cast<size_t>(equals - line);
    const char* value = equals + 1;
    const size_t valueLength = lineLength - keyLength - 1;
    int32_t number = 0;
    const bool whole = readWhole(value, valueLength, number);
    // A known key with a bad value falls back to its default and is written back corrected.
    if (isKey(line, keyLength, "width")) {
      if (whole) readWidth = number;
    } else if (isKey(line, keyLength, "height")) {
      if (whole) readHeight = number;
    } else if (isKey(line, keyLength, "depth")) {
      for (int32_t depth : depths) {
        if (whole && number == depth) bitsPerPixel = depth;
      }
    } else if (isKey(line, keyLength, "fullscreen")) {
      if (whole && number <= 1) fullScreen = number;
    } else if (isKey(line, keyLength, "volume")) {
      if (whole && number <= volumeSteps) volume = number;
    } else if (isKey(line, keyLength, "muted")) {
      if (whole && number <= 1) muted = number == 1;
    } else {
      keepLine(line, lineLength);
    }
  }
  for (const ModeSize& size : modeSizes) {
    if (size.width == readWidth && size.height == readHeight) {
      width = size.width;
      height = size.height;
    }
  }
}

size_t Settings::format(char* out, size_t size) const {
  int used = std::snprintf(out, size, "width=%d\nheight=%d\ndepth=%d\nfullscreen=%d\nvolume=%d\nmuted=%d\n",
                           width, height, bitsPerPixel, fullScreen, volume, muted ? 1 : 0);
  if (used < 0 || static_cast<size_t>(used) >= size) return 0;
  for (int i = 0; i < keptCount_; ++i) {
    const int more = std::snprintf(out + used, size - static_cast<size_t>(used), "%s\n", kept_[i]);
    if (more < 0 || static_cast<size_t>(used + more) >= size) return 0;
    used += more;
  }
  return static_cast<size_t>(used);
}

bool Settings::load(const char* path) {
  char text[fileCapacity];
  const long length = readSmallFile(path, text, sizeof text);
  if (length < 0) {
    *this = Settings{};
    return false;
  }
  parse(text, static_cast<size_t>(length));
  return true;
}

bool Settings::save(const char* path) const {
  char text[fileCapacity];
  const size_t length = format(text, sizeof text);
  if (length == 0 || !writeFileSafely(path, text, length)) {
    std::fprintf(stderr, "cornkeeper: settings not saved to %s: %s\n", path,
                 length == 0 ? "too long" : std::strerror(errno));
    return false;
  }
  return true;
}
