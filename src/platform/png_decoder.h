// Decodes PNG files held in memory into RGBA pixels for the picture box.
// Hostile input is bounded: dimensions, chunk cache and chunk memory are
// limited, and every libpng error ends in "no image" without a leak.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace platform {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // 4 bytes per pixel (R, G, B, A), rows top to bottom
};

// The image, or nothing for empty bytes, bytes that are not a PNG, a PNG
// beyond the limits, or a damaged one (bad CRC, cut short).
std::optional<RgbaImage> decode_png(std::string_view bytes);

}  // namespace platform
