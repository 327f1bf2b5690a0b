// Decodes arbitrary bytes as a PNG, as the trend chart from the network is,
// and checks what must hold whatever the input: an image has a positive size
// within the decoder's limits and exactly four bytes per pixel, and decoding
// the same bytes again gives the same image. The bytes are decoded as given
// and once more with every chunk's CRC made right, so that mutations reach
// the decoding behind the checksum too.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/png_decoder.h"

namespace {

std::uint32_t crc32(const std::string& bytes, std::size_t from, std::size_t length) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> values{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      values[n] = c;
    }
    return values;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < from + length; ++i) {
    c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
  }
  return c ^ 0xFFFFFFFFu;
}

// Rewrites the CRC of every whole chunk after the 8-byte signature.
std::string with_right_crcs(std::string bytes) {
  std::size_t at = 8;
  while (at + 12 <= bytes.size()) {
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length = length << 8 | static_cast<unsigned char>(bytes[at + i]);
    if (length > bytes.size() - at - 12) break;
    std::uint32_t crc = crc32(bytes, at + 4, 4 + length);
    std::size_t crc_at = at + 8 + length;
    for (int i = 0; i < 4; ++i) bytes[crc_at + i] = static_cast<char>(crc >> (24 - 8 * i));
    at = crc_at + 4;
  }
  return bytes;
}

void check_decoding(const std::string& bytes) {
  std::optional<platform::RgbaImage> image = platform::decode_png(bytes);
  if (!image) return;
  check(image->width > 0 && image->height > 0 && image->width <= 8192 && image->height <= 8192);
  check(image->pixels.size() <= (32u << 20));
  check(image->pixels.size() ==
        static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 4);
  std::optional<platform::RgbaImage> again = platform::decode_png(bytes);
  check(again && again->width == image->width && again->height == image->height &&
        again->pixels == image->pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  check_decoding(bytes);
  std::string repaired = with_right_crcs(bytes);
  if (repaired != bytes) check_decoding(repaired);
  return 0;
}
