#include "sample_server/chart_png.h"

#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace sample {
namespace {

void put_u32(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v >> 24));
  out->push_back(static_cast<char>(v >> 16));
  out->push_back(static_cast<char>(v >> 8));
  out->push_back(static_cast<char>(v));
}

void put_chunk(std::string* out, const char* type, std::string_view data) {
  put_u32(out, static_cast<uint32_t>(data.size()));
  std::string body = std::string(type, 4) + std::string(data);
  *out += body;
  put_u32(out, static_cast<uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

struct Canvas {
  int width;
  int height;
  std::string rgb;

  void set(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    rgb[at] = static_cast<char>(colour >> 16);
    rgb[at + 1] = static_cast<char>(colour >> 8);
    rgb[at + 2] = static_cast<char>(colour);
  }

  // Bresenham's line, two pixels thick so the curve reads at a glance.
  void line(int x0, int y0, int x1, int y1, uint32_t colour) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      set(x0, y0, colour);
      set(x0, y0 + 1, colour);
      if (x0 == x1 && y0 == y1) break;
      int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
};

}  // namespace

std::string encode_rgb_png(int width, int height, std::string_view rgb) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + width * 3));
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');  // filter type None
    raw.append(rgb.substr(static_cast<std::size_t>(y) * width * 3, width * 3));
  }
  uLongf packed_size = compressBound(raw.size());
  std::string packed(packed_size, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
            reinterpret_cast<const Bytef*>(raw.data()), raw.size(), Z_BEST_COMPRESSION);
  packed.resize(packed_size);

  std::string header;
  put_u32(&header, static_cast<uint32_t>(width));
  put_u32(&header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit truecolour, no interlace

  std::string png = "\x89PNG\r\n\x1a\n";
  put_chunk(&png, "IHDR", header);
  put_chunk(&png, "IDAT", packed);
  put_chunk(&png, "IEND", "");
  return png;
}

std::string chart_png(double growth_percent, unsigned seed) {
  Canvas canvas{kChartWidth, kChartHeight,
                std::string(static_cast<std::size_t>(kChartWidth) * kChartHeight * 3, '\xFF')};
  const int mid = kChartHeight / 2;
  for (int y = 10; y < kChartHeight; y += 25) {
    for (int x = 0; x < kChartWidth; ++x) canvas.set(x, y, 0xE0E0E0);
  }
  for (int x = 0; x < kChartWidth; ++x) canvas.set(x, mid, 0x808080);

  // The vertical scale spans -2 % .. +2 %; larger moves are clipped.
  const double pixels_per_percent = (kChartHeight / 2 - 4) / 2.0;
  const uint32_t colour = growth_percent > 1e-7 ? 0xFF0000 : 0x00A000;
  const int points = 48;
  int last_x = 0, last_y = mid;
  for (int i = 1; i < points; ++i) {
    double t = static_cast<double>(i) / (points - 1);
    double value = growth_percent * t + 0.25 * std::sin(i * 0.9 + seed) * (1.0 - t);
    int x = static_cast<int>(t * (kChartWidth - 1));
    int y = mid - static_cast<int>(std::lround(value * pixels_per_percent));
    if (y < 1) y = 1;
    if (y > kChartHeight - 2) y = kChartHeight - 2;
    canvas.line(last_x, last_y, x, y, colour);
    last_x = x;
    last_y = y;
  }
  return encode_rgb_png(canvas.width, canvas.height, canvas.rgb);
}

}  // namespace sample
