// Pictures for the player's comforts: the pause card, the sound level, the best-games table and the
// line that tells a game it made the table.
#include <cmath>
#include <cstdio>

#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr const char* kSignFont = "Lobster Two";
constexpr const char* kPlainFont = "DejaVu Sans";

TextStyle signStyle(double size) {
  return {kSignFont, size, true, palette::kCream, palette::kOutline, size * 0.08, palette::kCornYellow};
}

TextStyle plainStyle(double size) {
  return {kPlainFont, size, true, palette::kCream, palette::kOutline, size * 0.12, palette::kCream};
}

// Lettering fitted into the picture with a margin, centred or at the left edge.
void letter(cairo_t* cr, const char* text, TextStyle style, int w, int h, Align align = Align::Centre) {
  const double margin = h * 0.15;
  style = fitText(cr, text, style, w - 2 * margin);
  drawText(cr, text, style, align == Align::Left ? margin : w / 2.0, h / 2.0, align);
}

void speakerBody(cairo_t* cr, int w, int h) {
  const double s = w / 64.0;
  cairo_move_to(cr, 8 * s, 24 * s);
  cairo_line_to(cr, 18 * s, 24 * s);
  cairo_line_to(cr, 32 * s, 12 * s);
  cairo_line_to(cr, 32 * s, 52 * s);
  cairo_line_to(cr, 18 * s, 40 * s);
  cairo_line_to(cr, 8 * s, 40 * s);
  cairo_close_path(cr);
  shadedFill(cr, palette::kCream, 0, 0, w * 0.5, h, 2.5 * s);
}

void strokeTwice(cairo_t* cr, Rgb colour, double width) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, width + 3);
  cairo_stroke_preserve(cr);
  setColour(cr, colour);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void levelBar(cairo_t* cr, int w, int h, Rgb colour, double alpha) {
  roundedRectPath(cr, 3, 3, w - 6, h - 6, 3);
  setColour(cr, colour, alpha);
  cairo_fill_preserve(cr);
  setColour(cr, palette::kOutline, alpha);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void rankLine(cairo_t* cr, int w, int h, const char* text, Rgb ribbon) {
  const double notch = 12;
  bannerPlate(cr, w, h, ribbon, notch);
  TextStyle style = signStyle(h * 0.62);
  style = fitText(cr, text, style, w - 4 * notch);
  drawText(cr, text, style, w / 2.0, h / 2.0, Align::Centre);
}

void rankPicture(cairo_t* cr, int w, int h, int place) {
  static const char* const words[] = {"New best!", "2nd best", "3rd best", "4th best", "5th best",
                                      "6th best",  "7th best", "8th best", "9th best", "10th best"};
  // Gold for the best, a warm wood for the rest.
  rankLine(cr, w, h, words[place], place == 0 ? palette::kSunOrange : palette::kWood);
}

}  // namespace

void paintPaused(cairo_t* cr, int w, int h) {
  letter(cr, "PAUSED", signStyle(h * 0.8), w, h);
}

void paintResumeHint(cairo_t* cr, int w, int h) {
  letter(cr, "P to resume", plainStyle(h * 0.5), w, h);
}

void paintSpeaker(cairo_t* cr, int w, int h) {
  speakerBody(cr, w, h);
  const double s = w / 64.0;
  for (int wave = 0; wave < 2; ++wave) {
    const double r = (10 + wave * 9) * s;
    cairo_new_path(cr);
    cairo_arc(cr, 34 * s, 32 * s, r, -0.8, 0.8);
    strokeTwice(cr, palette::kCream, 3 * s);
  }
}

void paintSpeakerMuted(cairo_t* cr, int w, int h) {
  speakerBody(cr, w, h);
  const double s = w / 64.0;
  cairo_move_to(cr, 40 * s, 22 * s);
  cairo_line_to(cr, 58 * s, 42 * s);
  cairo_move_to(cr, 58 * s, 22 * s);
  cairo_line_to(cr, 40 * s, 42 * s);
  strokeTwice(cr, palette::kRed, 4 * s);
}

void paintLevelOn(cairo_t* cr, int w, int h) {
  levelBar(cr, w, h, palette::kCornYellow, 1.0);
}

void paintLevelOff(cairo_t* cr, int w, int h) {
  levelBar(cr, w, h, palette::kCream, 0.35);
}

template <int place>
void paintRank(cairo_t* cr, int w, int h) {
  rankPicture(cr, w, h, place);
}
template void paintRank<0>(cairo_t*, int, int);
template void paintRank<1>(cairo_t*, int, int);
template void paintRank<2>(cairo_t*, int, int);
template void paintRank<3>(cairo_t*, int, int);
template void paintRank<4>(cairo_t*, int, int);
template void paintRank<5>(cairo_t*, int, int);
template void paintRank<6>(cairo_t*, int, int);
template void paintRank<7>(cairo_t*, int, int);
template void paintRank<8>(cairo_t*, int, int);
template void paintRank<9>(cairo_t*, int, int);

void paintBestTitle(cairo_t* cr, int w, int h) {
  letter(cr, "Best games", signStyle(h * 0.8), w, h);
}

void paintBestHeadings(cairo_t* cr, int w, int h) {
  // Column starts as fractions of the 512-wide strip; the table screen puts its numbers under them.
  struct Heading {
    const char* text;
    double x;
  } headings[] = {{"Day", 0.17}, {"Score", 0.38}, {"Date", 0.64}};
  for (const Heading& heading : headings) {
    TextStyle style = plainStyle(h * 0.6);
    drawText(cr, heading.text, style, w * heading.x, h / 2.0, Align::Left);
  }
}

void paintNoGames(cairo_t* cr, int w, int h) {
  letter(cr, "No games yet: go and guard the corn!", plainStyle(h * 0.5), w, h);
}

void paintBackHint(cairo_t* cr, int w, int h) {
  letter(cr, "Enter or Esc: back", plainStyle(h * 0.5), w, h);
}

void paintDash(cairo_t* cr, int w, int h) {
  // Sits on the digits' line: a short bar at their middle height, in the left part of the cell.
  roundedRectPath(cr, w * 0.12, h * 0.44, w * 0.44, h * 0.12, h * 0.04);
  shadedFill(cr, palette::kCream, 0, 0, w, h, 2.0);
}

}  // namespace pictures
