#include "shell/best_games.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "shell/user_files.h"

BestGames bestGames;

namespace {
constexpr const char* header = "cornkeeper best games 1";
constexpr int32_t largestNumber = 999999999;

bool ranksAbove(const BestGame& a, const BestGame& b) {
  return a.score != b.score ? a.score > b.score : a.day > b.day;
}

bool isDate(const char* text) {
  for (int i = 0; i < 10; ++i) {
    const bool dash = i == 4 || i == 7;
    if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) return false;
  }
  return text[10] == '\0';
}

bool parseLine(const char* line, BestGame& game) {
  char date[16] = {};
  char tail = 0;
  const int fields = std::sscanf(
      line, "%" SCNd32 " %" SCNd32 " %15s %" SCNd32 "x%" SCNd32 " %" SCNd32 " %" SCNd32 " %c", &game.score,
      &game.day, date, &game.width, &game.height, &game.bitsPerPixel, &game.fullScreen, &tail);
  if (fields != 7 || !isDate(date)) return false;
  std::memcpy(game.date, date, sizeof game.date);
  return game.score >= 0 && game.score <= largestNumber && game.day >= 1 && game.day <= largestNumber &&
         game.width > 0 && game.width <= 16384 && game.height > 0 && game.height <= 16384 &&
         (game.bitsPerPixel == 16 || game.bitsPerPixel == 32) &&
         (game.fullScreen == 0 || game.fullScreen == 1);
}
}  // namespace

int BestGames::add(const BestGame& game) {
  int place = count_;
  while (place > 0 && ranksAbove(game, entries_[place - 1])) --place;
  if (place >= capacity) return -1;
  const int last = count_ < capacity ? count_ : capacity - 1;
  for (int i = last; i > place; --i) entries_[i] = entries_[i - 1];
  entries_[place] = game;
  if (count_ < capacity) ++count_;
  return place;
}

int BestGames::record(const BestGame& game) {
  if (!open_) return -1;
  const int place = add(game);
  if (place >= 0) save();
  return place;
}

bool BestGames::parse(const char* text, size_t length) {
  count_ = 0;
  if (std::memchr(text, '\0', length) != nullptr) return false;
  size_t start = 0;
  int lineNumber = 0;
  while (start < length) {
    size_t end = start;
    while (end < length && text[end] != '\n') ++end;
    // Every line ends with a newline: a missing one means the file was cut short.
    if (end == length) return false;
    char line[160];
    const size_t lineLength = end - start;
    if (lineLength >= sizeof line) return false;
    std::memcpy(line, text + start, lineLength);
    line[lineLength] = '\0';
    start = end + 1;
    if (lineNumber++ == 0) {
      if (std::strcmp(line, header) != 0) return false;
      continue;
    }
    BestGame game{};
    if (count_ >= capacity || !parseLine(line, game)) return false;
    // Written in order; anything else was not written by us.
    if (count_ > 0 && ranksAbove(game, entries_[count_ - 1])) return false;
    entries_[count_++] = game;
  }
  if (lineNumber == 0) return false;
  return true;
}

size_t BestGames::format(char* out, size_t size) const {
  int used = std::snprintf(out, size, "%s\n", header);
  if (used < 0 || static_cast<size_t>(used) >= size) return 0;
  for (int i = 0; i < count_; ++i) {
    const BestGame& g = entries_[i];
    const int more = std::snprintf(out + used, size - static_cast<size_t>(used), "%d %d %.10s %dx%d %d %d\n",
                                   g.score, g.day, g.date, g.width, g.height, g.bitsPerPixel, g.fullScreen);
    if (more < 0 || static_cast<size_t>(used + more) >= size) return 0;
    used += more;
  }
  return static_cast<size_t>(used);
}

bool BestGames::save() const {
  if (path_[0] == '\0') return true;
  char text[fileCapacity];
  const size_t length = format(text, sizeof text);
  if (length == 0 || !writeFileSafely(path_, text, length)) {
    std::fprintf(stderr, "cornkeeper: best games not saved to %s: %s\n", path_,
                 length == 0 ? "too long" : std::strerror(errno));
    return false;
  }
  return true;
}

bool BestGames::open(const char* path) {
  count_ = 0;
  open_ = true;
  std::snprintf(path_, sizeof path_, "%s", path);
  if (path_[0] == '\0') return true;
  char text[fileCapacity];
  bool cut = false;
  const long length = readSmallFile(path_, text, sizeof text, &cut);
  if (length < 0 && errno == ENOENT) return true;
  if (length >= 0 && !cut && parse(text, static_cast<size_t>(length))) return true;
  count_ = 0;
  char setAside[pathCapacity + 8];
  std::snprintf(setAside, sizeof setAside, "%s.bad", path_);
  if (length >= 0 && std::rename(path_, setAside) == 0) {
    std::fprintf(stderr, "cornkeeper: best games table %s was damaged; kept as %s, starting a fresh one\n",
                 path_, setAside);
  } else {
    // Not ours to overwrite: this run keeps its table in memory only.
    std::fprintf(stderr, "cornkeeper: best games table %s cannot be read (%s); not saving this time\n", path_,
                 std::strerror(errno));
    path_[0] = '\0';
  }
  return false;
}
