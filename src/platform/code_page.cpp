#include "platform/code_page.h"

#include "platform/iconv_converter.h"

#include <QString>
#include <stdexcept>

namespace platform {
namespace {

const char* iconv_name(int code_page) {
  switch (code_page) {
    case kCodePageAnsi:
    case kCodePageGbk:
      return "CP936";
    case kCodePageUtf8:
      return "UTF-8";
  }
  throw std::invalid_argument("unsupported code page " + std::to_string(code_page));
}

// One descriptor for one direction; throws when iconv lacks the code page.
class Converter : public internal::IconvConverter {
 public:
  Converter(const char* to, const char* from) : IconvConverter(to, from) {
    if (!valid()) throw std::runtime_error("iconv_open failed");
  }
};

// Both code pages write ASCII as itself, one byte per character, and ASCII
// text is already composed, so it needs neither iconv nor normalisation.
bool is_ascii(std::string_view bytes) {
  unsigned char any = 0;
  for (char c : bytes) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

bool is_ascii(std::u16string_view units) {
  char16_t any = 0;
  for (char16_t unit : units) any |= unit;
  return any < 0x80;
}

// Composes each base character with the combining marks after it where a
// precomposed character exists; every other character, compatibility
// ideographs included, keeps its code.
std::u16string compose_marks(std::u16string_view units) {
  QString text = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    qsizetype end = i + 1;
    while (end < text.size() && text[end].isMark()) ++end;
    QString run = text.mid(i, end - i);
    out += end - i > 1 ? run.normalized(QString::NormalizationForm_C) : run;
    i = end;
  }
  return std::u16string(reinterpret_cast<const char16_t*>(out.utf16()), out.size());
}

void append_unit(std::string& out, char16_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

std::u16string multibyte_to_wide(std::string_view bytes, int code_page) {
  thread_local Converter from_gbk("UTF-16LE", "CP936");
  thread_local Converter from_utf8("UTF-16LE", "UTF-8");
  Converter& converter = std::string_view(iconv_name(code_page)) == "UTF-8" ? from_utf8 : from_gbk;
  if (is_ascii(bytes)) return std::u16string(bytes.begin(), bytes.end());
  std::string raw = converter.run(bytes, [&](std::string& out, const char* at, size_t left) {
    append_unit(out, u'\uFFFD');
    if (code_page != kCodePageUtf8 || left == 0) return size_t{1};
    // Skip the lead byte and the continuation bytes that belong to it, so one
    // broken character gives one replacement.
    size_t skip = 1;
    while (skip < left && skip < 4 && (static_cast<unsigned char>(at[skip]) & 0xC0) == 0x80 &&
           (static_cast<unsigned char>(at[0]) & 0xC0) == 0xC0) {
      ++skip;
    }
    return skip;
  });
  return internal::units_from_utf16le(raw);
}

std::string wide_to_multibyte(std::u16string_view units, int code_page,
                              WideToMultibyteOptions options) {
  thread_local Converter to_gbk("CP936", "UTF-16LE");
  thread_local Converter to_utf8("UTF-8", "UTF-16LE");
  Converter& converter = std::string_view(iconv_name(code_page)) == "UTF-8" ? to_utf8 : to_gbk;
  if (is_ascii(units)) return std::string(units.begin(), units.end());

  std::u16string composed;
  if (options.composite_check) {
    composed = compose_marks(units);
    units = composed;
  }

  std::string raw;
  raw.reserve(units.size() * 2);
  for (char16_t unit : units) append_unit(raw, unit);
  return converter.run(raw, [&](std::string& out, const char* at, size_t left) {
    out.push_back('?');
    if (left < 2) return left;
    char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(at[0]) |
                                          (static_cast<unsigned char>(at[1]) << 8));
    bool pair = unit >= 0xD800 && unit < 0xDC00 && left >= 4;
    if (pair) {
      char16_t next = static_cast<char16_t>(static_cast<unsigned char>(at[2]) |
                                            (static_cast<unsigned char>(at[3]) << 8));
      pair = next >= 0xDC00 && next < 0xE000;
    }
    return size_t{pair ? 4u : 2u};
  });
}

}  // namespace platform
