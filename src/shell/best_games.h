// The table of the ten best games: score, day reached, date and the screen mode played in.
// Kept in a small text file that is only ever replaced whole, so a crash mid-save loses nothing.
#pragma once

#include <cstddef>
#include <cstdint>

struct BestGame {
  int32_t score;
  int32_t day;    // as shown on screen: the first day is 1
  char date[11];  // YYYY-MM-DD
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  int32_t fullScreen;
};

class BestGames {
 public:
  static constexpr int capacity = 10;
  static constexpr size_t pathCapacity = 1024;
  static constexpr size_t fileCapacity = 2048;

  // Reads the table at path and remembers path for saving; an empty path keeps the table in
  // memory only. A damaged file is renamed with ".bad", reported on one line, and a fresh table
  // started. False when the file was damaged.
  bool open(const char* path);

  // Not open (the harness by default): nothing is recorded.
  bool isOpen() const { return open_; }

  // Puts the game in its place (higher score first, then the later day; an equal game goes below the
  // ones already there) and saves. Returns its place from 0, or -1 when it did not make the table.
  int record(const BestGame& game);
  int add(const BestGame& game);

  void clear() { count_ = 0; }
  int count() const { return count_; }
  const BestGame& entry(int index) const { return entries_[index]; }

  bool parse(const char* text, size_t length);
  size_t format(char* out, size_t size) const;
  bool save() const;

 private:
  BestGame entries_[capacity] = {};
  int count_ = 0;
  bool open_ = false;
  char path_[pathCapacity] = {};
};

extern BestGames bestGames;
