// Draws the small intraday trend chart the sample server hands out and
// encodes it as a PNG file (zlib for the image data, CRC-32 per chunk).
// Pure functions; safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace sample {

inline constexpr int kChartWidth = 240;
inline constexpr int kChartHeight = 120;

// A chart of a day whose estimate ends at `growth_percent`: white ground,
// grey grid, a zero line, and the curve red when rising, green otherwise.
// `seed` varies the curve's wobble between funds.
std::string chart_png(double growth_percent, unsigned seed);

// Encodes 8-bit RGB pixels (3 bytes each, rows top to bottom) as a PNG file.
std::string encode_rgb_png(int width, int height, std::string_view rgb);

}  // namespace sample
