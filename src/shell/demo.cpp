#include "shell/demo.h"

#include <cstdarg>
#include <cstring>

namespace {
constexpr const char* magic = "cornkeeper-demo";
constexpr size_t lineSize = 4096;  // a frame with every key changed needs under 2000
constexpr uint64_t numberCap = 1ull << 40;

enum class LineRead { Ok, End, TooLong, NotText };

// One line without its newline. A missing last newline is fine; a CR before it is dropped.
LineRead readLine(FILE* in, char* line, size_t size) {
  size_t length = 0;
  int c = 0;
  bool any = false;
  while ((c = std::getc(in)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\r') {
      int next = std::getc(in);
      if (next == '\n' || next == EOF) break;
      return LineRead::NotText;
    }
    if (c < 0x20 || c > 0x7e) return LineRead::NotText;
    if (length + 1 >= size) return LineRead::TooLong;
    line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
  return any ? LineRead::Ok : LineRead::End;
}

// Unsigned decimal digits at text (at least one); saturates far above every limit used here.
bool readNumber(const char*& text, uint64_t& out) {
  if (*text < '0' || *text > '9') return false;
  out = 0;
  while (*text >= '0' && *text <= '9') {
    out = out * 10 + static_cast<uint64_t>(*text - '0');
    if (out > numberCap) out = numberCap;
    ++text;
  }
  return true;
}

// The reader's place in the file and its one line of complaint.
class DemoParser {
 public:
  DemoParser(FILE* in, const char* name, char* error, size_t errorSize)
      : in_(in), name_(name), error_(error), errorSize_(errorSize) {}

  // The next line; false (with the complaint made) when there is none or it is not text.
  bool next(const char* endMessage) {
    ++lineNumber_;
    switch (readLine(in_, line_, sizeof line_)) {
      case LineRead::Ok:
        return true;
      case LineRead::End:
        return fail("%s", endMessage);
      case LineRead::TooLong:
        return fail("line longer than %zu characters", lineSize - 1);
      case LineRead::NotText:
      default:
        return fail("not a line of text");
    }
  }

  bool atEnd() {
    ++lineNumber_;
    return readLine(in_, line_, sizeof line_) == LineRead::End;
  }

  bool fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char what[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    if (error_ && errorSize_ > 0) std::snprintf(error_, errorSize_, "%s:%d: %s", name_, lineNumber_, what);
    return false;
  }

  const char* line() const { return line_; }

 private:
  FILE* in_;
  const char* name_;
  char* error_;
  size_t errorSize_;
  int lineNumber_ = 0;
  char line_[lineSize];
};

// "WORD VALUE" with a single space: the value, or null when the line is not of that word.
const char* valueOf(const char* line, const char* word) {
  size_t length = std::strlen(word);
  if (std::strncmp(line, word, length) != 0 || line[length] != ' ') return nullptr;
  return line + length + 1;
}

// A whole-line number within [low, high]; the complaint names what it is.
bool headerNumber(DemoParser& parser, const char* text, const char* what, uint64_t low, uint64_t high,
                  uint64_t& out) {
  if (!readNumber(text, out) || *text != '\0') return parser.fail("%s: expected a whole number", what);
  if (out < low || out > high) {
    return parser.fail("%s %llu out of range (%llu to %llu)", what, static_cast<unsigned long long>(out),
                       static_cast<unsigned long long>(low), static_cast<unsigned long long>(high));
  }
  return true;
}

bool readHeader(DemoParser& parser, Demo& demo, uint64_t& frameTotal) {
  if (!parser.next("empty file")) return false;
  const char* versionText = valueOf(parser.line(), magic);
  uint64_t number = 0;
  if (!versionText || !readNumber(versionText, number) || *versionText != '\0') {
    return parser.fail("not a Cornkeeper demo (no '%s N' first line)", magic);
  }
  if (number != Demo::formatVersion) {
    return parser.fail("demo format version %llu; this game reads version %d",
                       static_cast<unsigned long long>(number), Demo::formatVersion);
  }

  char version[Demo::versionSize] = {};
  uint64_t day = 0, corn = 0;
  bool haveDay = false, haveCorn = false;
  for (;;) {
    if (!parser.next("the file ends inside the header")) return false;
    const char* line = parser.line();
    const char* value = nullptr;
    if ((value = valueOf(line, "game"))) {
      size_t length = std::strlen(value);
      if (version[0]) return parser.fail("'game' given twice");
      if (length == 0 || length >= Demo::versionSize || std::strchr(value, ' ')) {
        return parser.fail("game version: expected one word of at most %zu characters",
                           Demo::versionSize - 1);
      }
      std::memcpy(version, value, length + 1);
    } else if ((value = valueOf(line, "starting-day"))) {
      if (haveDay) return parser.fail("'starting-day' given twice");
      if (!headerNumber(parser, value, "starting day", 0, Demo::maxStartingDay, day)) return false;
      haveDay = true;
    } else if ((value = valueOf(line, "starting-corn"))) {
      if (haveCorn) return parser.fail("'starting-corn' given twice");
      if (!headerNumber(parser, value, "starting corn", 1, Demo::maxStartingCorn, corn)) return false;
      haveCorn = true;
    } else if ((value = valueOf(line, "seed"))) {
      if (!headerNumber(parser, value, "seed", 0, UINT32_MAX, number)) return false;
      if (!demo.addSeed(static_cast<uint32_t>(number))) return parser.fail("more seeds than this game keeps");
    } else if ((value = valueOf(line, "frames"))) {
      if (!headerNumber(parser, value, "frame count", 0, demo.frameCapacity(), frameTotal)) return false;
      if (!version[0] || !haveDay || !haveCorn) {
        return parser.fail("header lacks '%s'", !version[0] ? "game"
                                                : !haveDay  ? "starting-day"
                                                            : "starting-corn");
      }
      demo.setHeader(version, static_cast<int>(day), static_cast<int>(corn));
      return true;
    } else {
      return parser.fail("unknown header line '%.40s'", line);
    }
  }
}

// "MS KEY=BITS ..." with the keys in rising order.
bool readFrameLine(DemoParser& parser, uint64_t& ms, DemoKeyChange (&changes)[256], size_t& count) {
  const char* text = parser.line();
  if (!readNumber(text, ms)) return parser.fail("expected 'MS KEY=BITS ...'");
  if (ms > Demo::maxFrameMs) {
    return parser.fail("frame time %llu out of range (0 to %u ms)", static_cast<unsigned long long>(ms),
                       static_cast<unsigned>(Demo::maxFrameMs));
  }
  count = 0;
  while (*text == ' ') {
    ++text;
    uint64_t key = 0, bits = 0;
    if (!readNumber(text, key) || *text++ != '=' || !readNumber(text, bits)) {
      return parser.fail("expected 'MS KEY=BITS ...'");
    }
    if (key > 255)
      return parser.fail("key %llu out of range (0 to 255)", static_cast<unsigned long long>(key));
    if (bits > 3)
      return parser.fail("key bits %llu out of range (0 to 3)", static_cast<unsigned long long>(bits));
    if (count > 0 && key <= changes[count - 1].key) return parser.fail("keys not in rising order");
    changes[count++] = DemoKeyChange{static_cast<uint8_t>(key), static_cast<uint8_t>(bits)};
  }
  if (*text != '\0') return parser.fail("expected 'MS KEY=BITS ...'");
  return true;
}

bool readFrames(DemoParser& parser, Demo& demo, uint64_t frameTotal) {
  DemoKeyChange changes[256];
  for (uint64_t f = 0; f < frameTotal; ++f) {
    char endMessage[96];
    std::snprintf(endMessage, sizeof endMessage, "the file ends after %llu of %llu frames",
                  static_cast<unsigned long long>(f), static_cast<unsigned long long>(frameTotal));
    uint64_t ms = 0;
    size_t count = 0;
    if (!parser.next(endMessage) || !readFrameLine(parser, ms, changes, count)) return false;
    if (!demo.addFrame(static_cast<uint32_t>(ms), changes, count))
      return parser.fail("more key changes than this game keeps");
  }
  if (!parser.next("the file ends without its 'end' line")) return false;
  if (std::strcmp(parser.line(), "end") != 0) {
    return parser.fail("expected 'end' after %llu frames", static_cast<unsigned long long>(frameTotal));
  }
  if (!parser.atEnd()) return parser.fail("text after 'end'");
  return true;
}
}  // namespace

Demo::Demo(size_t maxFrames, size_t maxChanges, size_t maxSeeds)
    : maxFrames_(maxFrames),
      maxChanges_(maxChanges),
      maxSeeds_(maxSeeds),
      frames_(new DemoFrame[maxFrames]),
      changes_(new DemoKeyChange[maxChanges]),
      seeds_(new uint32_t[maxSeeds]) {}

void Demo::clear() {
  gameVersion_[0] = '\0';
  startingDay_ = 0;
  startingCorn_ = 1;
  frameCount_ = 0;
  changeCount_ = 0;
  seedCount_ = 0;
}

void Demo::setHeader(const char* gameVersion, int startingDay, int startingCorn) {
  // The version is one word in the file.
  size_t length = 0;
  for (; gameVersion[length] && length + 1 < versionSize; ++length) {
    char c = gameVersion[length];
    gameVersion_[length] = (c > ' ' && c <= '~') ? c : '_';
  }
  gameVersion_[length] = '\0';
  startingDay_ = startingDay;
  startingCorn_ = startingCorn;
}

bool Demo::addFrame(uint32_t ms, const DemoKeyChange* changes, size_t count) {
  if (frameCount_ >= maxFrames_ || count > maxChanges_ - changeCount_ || ms > maxFrameMs) return false;
  frames_[frameCount_++] =
      DemoFrame{static_cast<uint16_t>(ms), static_cast<uint16_t>(count), static_cast<uint32_t>(changeCount_)};
  for (size_t i = 0; i < count; ++i) changes_[changeCount_++] = changes[i];
  return true;
}

bool Demo::addSeed(uint32_t seed) {
  if (seedCount_ >= maxSeeds_) return false;
  seeds_[seedCount_++] = seed;
  return true;
}

bool Demo::write(FILE* out) const {
  std::fprintf(out, "%s %d\ngame %s\nstarting-day %d\nstarting-corn %d\n", magic, formatVersion,
               gameVersion_[0] ? gameVersion_ : "unknown", startingDay_, startingCorn_);
  for (size_t i = 0; i < seedCount_; ++i) std::fprintf(out, "seed %u\n", static_cast<unsigned>(seeds_[i]));
  std::fprintf(out, "frames %zu\n", frameCount_);
  for (size_t i = 0; i < frameCount_; ++i) {
    const DemoFrame& f = frames_[i];
    std::fprintf(out, "%u", static_cast<unsigned>(f.ms));
    for (size_t c = 0; c < f.changeCount; ++c) {
      const DemoKeyChange& change = changes_[f.firstChange + c];
      std::fprintf(out, " %u=%u", static_cast<unsigned>(change.key), static_cast<unsigned>(change.bits));
    }
    std::fputc('\n', out);
  }
  std::fputs("end\n", out);
  return std::fflush(out) == 0 && !std::ferror(out);
}

bool Demo::read(FILE* in, const char* name, char* error, size_t errorSize) {
  clear();
  DemoParser parser(in, name, error, errorSize);
  uint64_t frameTotal = 0;
  bool ok = readHeader(parser, *this, frameTotal) && readFrames(parser, *this, frameTotal);
  if (!ok) clear();
  return ok;
}
