#include "sheet.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

#include "synth.h"

namespace {
constexpr int kLabelWidth = 230;
constexpr int kWaveWidth = 360;
constexpr int kSpectrumWidth = 600;
constexpr int kRowHeight = 110;
constexpr int kGap = 6;
constexpr int kSheetWidth = kLabelWidth + kWaveWidth + kSpectrumWidth + 4 * kGap;
constexpr int kFftSize = 1024;
// Frequency axis, logarithmic, so voices and tunes spread over the height.
constexpr double kLowestHz = 50.0;
constexpr double kHighestHz = kSampleRate / 2.0;
constexpr double kFloorDb = -90.0;

void fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const double angle = -kTwoPi / static_cast<double>(len);
    const std::complex<double> step(std::cos(angle), std::sin(angle));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w(1.0, 0.0);
      for (size_t k = 0; k < len / 2; ++k) {
        const std::complex<double> u = a[i + k];
        const std::complex<double> v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
        w *= step;
      }
    }
  }
}

// Dark blue through purple and orange to pale yellow.
void heat(double level, unsigned char* pixel) {
  const double x = std::clamp(level, 0.0, 1.0);
  const double r = std::clamp(1.6 * x - 0.2, 0.0, 1.0);
  const double g = std::clamp(2.0 * x - 1.0, 0.0, 1.0);
  const double b =
      std::clamp(x < 0.4 ? 0.25 + x * 1.5 : 0.85 - (x - 0.4) * 1.2, 0.0, 1.0) + (x > 0.9 ? (x - 0.9) * 6 : 0);
  pixel[0] = static_cast<unsigned char>(std::min(1.0, b) * 255);
  pixel[1] = static_cast<unsigned char>(g * 255);
  pixel[2] = static_cast<unsigned char>(r * 255);
  pixel[3] = 255;
}

double rowFrequency(int row) {
  return kLowestHz * std::pow(kHighestHz / kLowestHz, 1.0 - static_cast<double>(row) / kRowHeight);
}

int frequencyRow(double hz) {
  return static_cast<int>(
      std::lround(kRowHeight * (1.0 - std::log(hz / kLowestHz) / std::log(kHighestHz / kLowestHz))));
}

void drawFrequencyTicks(cairo_t* cr, int x0, int y0) {
  const double ticks[] = {100, 300, 1000, 3000, 10000};
  const char* labels[] = {"100", "300", "1k", "3k", "10k"};
  cairo_set_font_size(cr, 9);
  for (int i = 0; i < 5; ++i) {
    const int y = y0 + frequencyRow(ticks[i]);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_move_to(cr, x0, y + 0.5);
    cairo_line_to(cr, x0 + 8, y + 0.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x0 + 10, y + 3);
    cairo_show_text(cr, labels[i]);
  }
}

void drawSpectrogram(cairo_surface_t* surface, int x0, int y0, const std::vector<int16_t>& pcm) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  std::vector<std::complex<double>> bins(kFftSize);
  for (int col = 0; col < kSpectrumWidth; ++col) {
    const long centre = static_cast<long>((col + 0.5) / kSpectrumWidth * static_cast<double>(pcm.size()));
    for (int k = 0; k < kFftSize; ++k) {
      const long index = centre - kFftSize / 2 + k;
      const double window = 0.5 - 0.5 * std::cos(kTwoPi * k / (kFftSize - 1));
      const double s = index >= 0 && index < static_cast<long>(pcm.size()) ? pcm[index] / 32768.0 : 0.0;
      bins[k] = std::complex<double>(s * window, 0.0);
    }
    fft(bins);
    for (int row = 0; row < kRowHeight; ++row) {
      // Highest frequency in the top row.
      const double binHz = static_cast<double>(kSampleRate) / kFftSize;
      const double top = rowFrequency(row) / binHz;
      const double bottom = rowFrequency(row + 1) / binHz;
      const int bin0 = std::clamp(static_cast<int>(std::floor(bottom)), 1, kFftSize / 2 - 1);
      const int bin1 = std::clamp(static_cast<int>(std::ceil(top)), bin0 + 1, kFftSize / 2);
      double power = 0.0;
      for (int b = bin0; b < bin1; ++b) power = std::max(power, std::norm(bins[b]));
      const double db = 10.0 * std::log10(power / (kFftSize * kFftSize / 16.0) + 1e-12);
      heat((db - kFloorDb) / -kFloorDb, data + (y0 + row) * stride + (x0 + col) * 4);
    }
  }
  cairo_surface_mark_dirty(surface);
}

void drawWave(cairo_t* cr, int x0, int y0, const std::vector<int16_t>& pcm) {
  cairo_set_source_rgb(cr, 0.08, 0.1, 0.12);
  cairo_rectangle(cr, x0, y0, kWaveWidth, kRowHeight);
  cairo_fill(cr);
  const double mid = y0 + kRowHeight / 2.0;
  const double half = kRowHeight / 2.0 - 2;
  // -1 dBFS guide lines.
  cairo_set_source_rgb(cr, 0.5, 0.2, 0.2);
  const double limit = std::pow(10.0, -1.0 / 20.0) * half;
  cairo_move_to(cr, x0, mid - limit);
  cairo_line_to(cr, x0 + kWaveWidth, mid - limit);
  cairo_move_to(cr, x0, mid + limit);
  cairo_line_to(cr, x0 + kWaveWidth, mid + limit);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 0.45, 0.85, 0.5);
  for (int col = 0; col < kWaveWidth; ++col) {
    const size_t from = static_cast<size_t>(col) * pcm.size() / kWaveWidth;
    const size_t to = std::max(from + 1, static_cast<size_t>(col + 1) * pcm.size() / kWaveWidth);
    int lo = 0, hi = 0;
    for (size_t i = from; i < to && i < pcm.size(); ++i) {
      lo = std::min<int>(lo, pcm[i]);
      hi = std::max<int>(hi, pcm[i]);
    }
    cairo_move_to(cr, x0 + col + 0.5, mid - hi / 32768.0 * half);
    cairo_line_to(cr, x0 + col + 0.5, mid - lo / 32768.0 * half + 1);
  }
  cairo_stroke(cr);
}

void drawLabel(cairo_t* cr, int x0, int y0, const SheetEntry& e) {
  int peak = 0;
  double sum = 0.0;
  for (int16_t s : e.pcm) {
    peak = std::max(peak, std::abs(static_cast<int>(s)));
    sum += static_cast<double>(s) * s;
  }
  const double seconds = static_cast<double>(e.pcm.size()) / kSampleRate;
  const double peakDb = 20.0 * std::log10(std::max(1, peak) / 32768.0);
  const double rmsDb =
      10.0 * std::log10(sum / std::max<size_t>(1, e.pcm.size()) / (32768.0 * 32768.0) + 1e-12);
  char line[128];
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 15);
  cairo_move_to(cr, x0, y0 + 24);
  cairo_show_text(cr, e.name.c_str());
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 13);
  std::snprintf(line, sizeof line, "%.3f s", seconds);
  cairo_move_to(cr, x0, y0 + 46);
  cairo_show_text(cr, line);
  std::snprintf(line, sizeof line, "peak %.2f dBFS", peakDb);
  cairo_move_to(cr, x0, y0 + 64);
  cairo_show_text(cr, line);
  std::snprintf(line, sizeof line, "rms %.1f dBFS", rmsDb);
  cairo_move_to(cr, x0, y0 + 82);
  cairo_show_text(cr, line);
  if (!e.heard.empty()) {
    const bool failed = e.heard.find("FAIL") != std::string::npos;
    cairo_set_source_rgb(cr, failed ? 0.75 : 0.1, failed ? 0.1 : 0.35, 0.1);
    cairo_set_font_size(cr, 11);
    cairo_move_to(cr, x0, y0 + 100);
    cairo_show_text(cr, ("heard: " + e.heard).c_str());
  }
}
}  // namespace

bool writeSheet(const std::string& path, const std::vector<SheetEntry>& entries) {
  const int height = static_cast<int>(entries.size()) * (kRowHeight + kGap) + kGap + 20;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSheetWidth, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.93, 0.91, 0.86);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  cairo_move_to(cr, kLabelWidth + 2 * kGap, 16);
  cairo_show_text(cr, "waveform (red: -1 dBFS)");
  cairo_move_to(cr, kLabelWidth + kWaveWidth + 3 * kGap, 16);
  cairo_show_text(cr, "spectrogram 50 Hz - 11 kHz (log), each row over its own length");
  for (size_t i = 0; i < entries.size(); ++i) {
    const int y = 20 + kGap + static_cast<int>(i) * (kRowHeight + kGap);
    drawLabel(cr, kGap, y, entries[i]);
    drawWave(cr, kLabelWidth + 2 * kGap, y, entries[i].pcm);
    drawSpectrogram(surface, kLabelWidth + kWaveWidth + 3 * kGap, y, entries[i].pcm);
    drawFrequencyTicks(cr, kLabelWidth + kWaveWidth + 3 * kGap, y);
  }
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  // Give back the font caches, so a leak-checking build of the generator passes.
  cairo_debug_reset_static_data();
  FcFini();
  return ok;
}
