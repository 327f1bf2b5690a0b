#include "platform/png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
namespace {

// PNG files are built here by hand (zlib for the image data, CRC-32 per
// chunk), so each damage can be placed exactly where a test wants it.

void put_u32(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v >> 24));
  out->push_back(static_cast<char>(v >> 16));
  out->push_back(static_cast<char>(v >> 8));
  out->push_back(static_cast<char>(v));
}

std::string chunk(const std::string& type, const std::string& data) {
  std::string out;
  put_u32(&out, static_cast<uint32_t>(data.size()));
  std::string body = type + data;
  out += body;
  put_u32(&out, static_cast<uint32_t>(
                    crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
  return out;
}

std::string deflate_bytes(const std::string& raw) {
  uLongf size = compressBound(raw.size());
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                      reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9),
            Z_OK);
  out.resize(size);
  return out;
}

const std::string kSignature = "\x89PNG\r\n\x1a\n";

struct PngLayout {
  uint32_t width = 2;
  uint32_t height = 2;
  int bit_depth = 8;
  int colour_type = 2;  // truecolour
  int interlace = 0;
  std::string before_idat{};  // chunks between IHDR and IDAT (PLTE, tRNS, ...)
  std::string scanlines{};    // raw rows, each led by its filter byte
};

std::string ihdr(const PngLayout& layout) {
  std::string data;
  put_u32(&data, layout.width);
  put_u32(&data, layout.height);
  data += static_cast<char>(layout.bit_depth);
  data += static_cast<char>(layout.colour_type);
  data += '\0';  // compression
  data += '\0';  // filter
  data += static_cast<char>(layout.interlace);
  return chunk("IHDR", data);
}

std::string make_png(const PngLayout& layout) {
  return kSignature + ihdr(layout) + layout.before_idat +
         chunk("IDAT", deflate_bytes(layout.scanlines)) + chunk("IEND", "");
}

// A 2x2 truecolour image: red, green / blue, white.
std::string rgb_2x2() {
  return make_png({.scanlines = std::string("\0\xFF\0\0\0\xFF\0", 7) +
                                std::string("\0\0\0\xFF\xFF\xFF\xFF", 7)});
}

// A complete black 1-bit grey image: a few bytes on disk whatever its size,
// so only the decoder's limits stand between it and a large pixel buffer.
std::string black_1bit(uint32_t width, uint32_t height) {
  std::string row(1 + (width + 7) / 8, '\0');
  std::string rows;
  for (uint32_t y = 0; y < height; ++y) rows += row;
  return make_png(
      {.width = width, .height = height, .bit_depth = 1, .colour_type = 0, .scanlines = rows});
}

using Pixels = std::vector<unsigned char>;

TEST(PngDecoder, DecodesTruecolourIntoRgbaRowsTopToBottom) {
  std::optional<RgbaImage> image = decode_png(rgb_2x2());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels, (Pixels{255, 0, 0, 255, 0, 255, 0, 255,  //
                                   0, 0, 255, 255, 255, 255, 255, 255}));
}

TEST(PngDecoder, ExpandsEveryColourTypeAndDepthToRgba8) {
  struct Case {
    const char* name;
    PngLayout layout;
    Pixels pixels;
  } cases[] = {
      {"palette with tRNS",
       {.width = 2,
        .height = 1,
        .colour_type = 3,
        .before_idat = chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60", 6)) +
                       chunk("tRNS", std::string("\x80", 1)),
        .scanlines = std::string("\0\x01\x00", 3)},
       {0x40, 0x50, 0x60, 255, 0x10, 0x20, 0x30, 0x80}},
      {"grey 1-bit",
       {.width = 3,
        .height = 1,
        .bit_depth = 1,
        .colour_type = 0,
        .scanlines = std::string("\0\xA0", 2)},  // 1 0 1
       {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
      {"grey 16-bit with tRNS",
       {.width = 2,
        .height = 1,
        .bit_depth = 16,
        .colour_type = 0,
        .before_idat = chunk("tRNS", std::string("\xFF\xFF", 2)),
        .scanlines = std::string("\0\x12\x34\xFF\xFF", 5)},
       {0x12, 0x12, 0x12, 255, 255, 255, 255, 0}},
      {"grey with alpha",
       {.width = 1, .height = 1, .colour_type = 4, .scanlines = std::string("\0\x7F\x40", 3)},
       {0x7F, 0x7F, 0x7F, 0x40}},
      {"truecolour 16-bit with alpha",
       {.width = 1,
        .height = 1,
        .bit_depth = 16,
        .colour_type = 6,
        .scanlines = std::string("\0\xFF\xFF\x80\x00\x00\x00\x12\x34", 9)},
       {255, 0x80, 0, 0x12}},
      {"interlaced 2x2 (Adam7 passes 1, 6, 7)",
       {.colour_type = 0, .interlace = 1, .scanlines = std::string("\0\x01\0\x02\0\x03\x04", 7)},
       {1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255}},
      {"filtered rows (Sub, Up)",
       {.width = 2,
        .height = 2,
        .colour_type = 0,
        .scanlines = std::string("\x01\x10\x05\x02\x01\x01", 6)},
       {0x10, 0x10, 0x10, 255, 0x15, 0x15, 0x15, 255,  //
        0x11, 0x11, 0x11, 255, 0x16, 0x16, 0x16, 255}},
  };
  for (const Case& c : cases) {
    std::optional<RgbaImage> image = decode_png(make_png(c.layout));
    ASSERT_TRUE(image.has_value()) << c.name;
    EXPECT_EQ(image->width, static_cast<int>(c.layout.width)) << c.name;
    EXPECT_EQ(image->height, static_cast<int>(c.layout.height)) << c.name;
    EXPECT_EQ(image->pixels, c.pixels) << c.name;
  }
}

TEST(PngDecoder, LargeImageWithinTheBudgetDecodes) {
  std::optional<RgbaImage> image = decode_png(black_1bit(8000, 1000));  // 32 MB of RGBA
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels.size(), 8000u * 1000u * 4u);
  EXPECT_EQ(image->pixels[4 * 7999], 0);
  EXPECT_EQ(image->pixels[4 * 7999 + 3], 255);
}

TEST(PngDecoder, DamagedAncillaryChunkIsSkipped) {
  std::string png = rgb_2x2();
  std::string text = chunk("tEXt", std::string("Title\0chart", 11));
  text[text.size() - 1] ^= 1;  // wrong CRC on an ancillary chunk
  png.insert(kSignature.size() + 25, text);
  EXPECT_TRUE(decode_png(png).has_value());
}

std::string with_flipped_byte(std::string bytes, std::size_t at) {
  bytes[at] ^= 0x01;
  return bytes;
}

TEST(PngDecoder, RefusesHostileOrDamagedInput) {
  const std::string good = rgb_2x2();
  const std::size_t ihdr_crc = kSignature.size() + 8 + 13;  // after length, type, data
  const std::size_t idat_data = kSignature.size() + 25 + 8;
  const std::string pixel_row = std::string("\0\0\0\0", 4);
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"an error page", "<html><body>404 Not Found</body></html>"},
      {"random bytes", std::string("\x3b\x91\x07\xee\x52\xc4\x00\x19\xa8\x6d\x33\xf0", 12)},
      {"signature only", kSignature},
      {"huge declared size",
       make_png({.width = 1u << 30, .height = 1u << 30, .scanlines = pixel_row})},
      {"wider than the limit", black_1bit(100000, 1)},
      {"pixel buffer over budget", black_1bit(8000, 1100)},  // sides allowed, 35 MB of RGBA
      {"zero width", make_png({.width = 0, .height = 1, .scanlines = std::string("\0", 1)})},
      {"bad bit depth for colour type",
       make_png(
           {.width = 1, .height = 1, .bit_depth = 4, .colour_type = 2, .scanlines = pixel_row})},
      {"palette image without PLTE",
       make_png({.width = 1, .height = 1, .colour_type = 3, .scanlines = std::string("\0\0", 2)})},
      {"wrong CRC on IHDR", with_flipped_byte(good, ihdr_crc)},
      {"wrong CRC on IDAT (data changed)", with_flipped_byte(good, idat_data + 3)},
      {"wrong CRC on IEND", with_flipped_byte(good, good.size() - 1)},
      {"not zlib data in IDAT",
       kSignature + ihdr({}) + chunk("IDAT", "not a zlib stream") + chunk("IEND", "")},
      {"too little image data", make_png({.scanlines = std::string("\0\xFF\0\0", 4)})},
      {"unknown filter type",
       make_png(
           {.width = 1, .height = 1, .colour_type = 0, .scanlines = std::string("\x09\x01", 2)})},
      {"chunk length beyond the file",
       kSignature + ihdr({}) + std::string("\x7F\xFF\xFF\xF0IDAT", 8) + "xx"},
      // Refused before libpng would allocate the 1.8 GB the chunk declares.
      {"text chunk declaring more than the file holds", kSignature + ihdr({}) +
                                                            std::string("\x6F\x00\x00\x18tEXt", 8) +
                                                            "comment" + chunk("IEND", "")},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(decode_png(c.bytes).has_value()) << c.name;
  }
}

TEST(PngDecoder, RefusesEveryCutShortFile) {
  const std::string good = rgb_2x2();
  ASSERT_TRUE(decode_png(good).has_value());
  for (std::size_t length = 0; length < good.size(); ++length) {
    EXPECT_FALSE(decode_png(good.substr(0, length)).has_value()) << "cut at " << length;
  }
}

}  // namespace
}  // namespace platform
