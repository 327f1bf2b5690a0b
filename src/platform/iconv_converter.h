// One iconv conversion descriptor, for the code-page and charset layers in
// this folder only (it includes iconv.h). Not thread-safe: give each thread
// its own.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace platform::internal {

class IconvConverter {
 public:
  IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvConverter() {
    if (valid()) iconv_close(cd_);
  }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // False when iconv does not know one of the two names.
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in` from the initial state, including what a stateful
  // charset still holds at the end. At each sequence iconv refuses (EILSEQ,
  // or EINVAL for one cut short by the end) it calls
  // `on_bad(out, at, left)`, which appends a replacement to `out` and
  // returns how many of the `left` bytes at `at` to skip (at least 1).
  template <typename OnBad>
  std::string run(std::string_view in, OnBad on_bad) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[4096];
    char* in_ptr = const_cast<char*>(in.data());
    size_t in_left = in.size();
    while (in_left > 0) {
      char* out_ptr = buffer;
      size_t out_left = sizeof buffer;
      size_t r = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
      out.append(buffer, out_ptr - buffer);
      if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
      size_t skip = on_bad(out, static_cast<const char*>(in_ptr), in_left);
      in_ptr += skip;
      in_left -= skip;
    }
    char* out_ptr = buffer;
    size_t out_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);
    out.append(buffer, out_ptr - buffer);
    return out;
  }

 private:
  iconv_t cd_;
};

// UTF-16 code units from little-endian byte pairs; an odd last byte is dropped.
inline std::u16string units_from_utf16le(std::string_view raw) {
  std::u16string units(raw.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  return units;
}

}  // namespace platform::internal
