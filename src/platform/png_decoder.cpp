#include "platform/png_decoder.h"

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace platform {
namespace {

// Limits for hostile input. A trend chart is a few hundred pixels on each
// side; these leave ample room while keeping a forged header from making
// us allocate more than the pixel budget.
constexpr png_uint_32 kMaxWidth = 8192;
constexpr png_uint_32 kMaxHeight = 8192;
constexpr std::size_t kMaxPixelBytes = 32u << 20;  // RGBA buffer of the decoded image
constexpr png_uint_32 kMaxCachedChunks = 128;      // ancillary chunks kept (text, sPLT, unknown)
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;  // one ancillary chunk, decompressed

constexpr std::size_t kSignatureBytes = 8;

// Everything below that runs between setjmp and a possible longjmp touches
// only trivially destructible data, so a libpng error that jumps back skips
// no C++ destructor. Owning objects (the pixel vector, the libpng structs'
// guard) live in decode_png, outside every setjmp frame.
struct Source {
  const unsigned char* data;
  std::size_t size;
  std::size_t offset;
};

void read_from_memory(png_structp png, png_bytep out, std::size_t length) {
  Source* source = static_cast<Source*>(png_get_io_ptr(png));
  if (length > source->size - source->offset) png_error(png, "cut short");
  std::memcpy(out, source->data + source->offset, length);
  source->offset += length;
}

// True when every chunk up to IEND lies whole within the bytes. libpng
// allocates a chunk's declared length before it reads the data, so a short
// file declaring a chunk of gigabytes would cost that much memory before it
// is found cut short; such a file is refused here, as cut short, first.
bool chunks_fit(std::string_view bytes) {
  std::size_t at = kSignatureBytes;
  while (bytes.size() - at >= 12) {
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      length = length << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    if (length > bytes.size() - at - 12) return false;
    if (bytes.substr(at + 4, 4) == "IEND") return true;
    at += 12 + length;
  }
  return false;
}

// Errors jump back to the setjmp of the stage that runs; the message is not
// needed because every failure ends in "no image".
[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Warnings (a damaged ancillary chunk, a full chunk cache) are dropped: the
// image is still usable and nothing is logged.
void on_warning(png_structp, png_const_charp) {}

struct Header {
  png_uint_32 width;
  png_uint_32 height;
  std::size_t row_bytes;
};

// Reads the chunks up to the image data and sets the transforms that turn
// every colour type and depth into 8-bit RGBA. False on any libpng error.
bool read_header(png_structp png, png_infop info, Header* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);

  int bit_depth = 0;
  int colour_type = 0;
  png_get_IHDR(png, info, &header->width, &header->height, &bit_depth, &colour_type, nullptr,
               nullptr, nullptr);
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (bit_depth == 16) png_set_scale_16(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (!(colour_type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header->row_bytes = png_get_rowbytes(png, info);
  return true;
}

// Reads every row into `rows` and the chunks after the image data through
// IEND, so a file cut short after its pixels or with a damaged trailing
// chunk is refused too. False on any libpng error.
bool read_rows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

// Frees libpng's structs on every path out of decode_png.
class ReadStructs {
 public:
  ReadStructs() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~ReadStructs() {
    if (png_ != nullptr)
      png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
  }
  ReadStructs(const ReadStructs&) = delete;
  ReadStructs& operator=(const ReadStructs&) = delete;

  bool ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

std::optional<RgbaImage> decode_png(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() < kSignatureBytes || png_sig_cmp(data, 0, kSignatureBytes) != 0 ||
      !chunks_fit(bytes)) {
    return std::nullopt;
  }

  ReadStructs structs;
  if (!structs.ok()) return std::nullopt;
  png_structp png = structs.png();
  png_set_user_limits(png, kMaxWidth, kMaxHeight);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);

  Source source{data, bytes.size(), 0};
  png_set_read_fn(png, &source, read_from_memory);

  Header header{};
  if (!read_header(png, structs.info(), &header)) return std::nullopt;
  if (header.width == 0 || header.height == 0 || header.row_bytes != header.width * 4u) {
    return std::nullopt;
  }
  if (header.row_bytes > kMaxPixelBytes / header.height) return std::nullopt;

  RgbaImage image;
  std::vector<png_bytep> rows;
  try {
    image.pixels.resize(header.row_bytes * header.height);
    rows.resize(header.height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  for (png_uint_32 y = 0; y < header.height; ++y) {
    rows[y] = image.pixels.data() + y * header.row_bytes;
  }
  if (!read_rows(png, rows.data())) return std::nullopt;

  image.width = static_cast<int>(header.width);
  image.height = static_cast<int>(header.height);
  return image;
}

}  // namespace platform
