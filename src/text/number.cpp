#include "text/number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/code_page.h"
#include "text/text_view.h"

namespace {

// The text in ASCII as far as it matters for reading a number: full-width
// forms (U+FF01..U+FF5E) and the ideographic space fold to their ASCII
// characters; any other character beyond ASCII becomes a byte that stops
// reading.
std::string folded(const Text& text) {
  std::u16string units = platform::multibyte_to_wide(text_view(text), platform::kCodePageGbk);
  std::string out;
  out.reserve(units.size());
  for (char16_t unit : units) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit >= 0xFF01 && unit <= 0xFF5E) {
      out.push_back(static_cast<char>(unit - 0xFEE0));
    } else if (unit == 0x3000) {
      out.push_back(' ');
    } else {
      out.push_back('\x7F');
    }
  }
  return out;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Steps over blanks and a sign; returns whether the sign was minus.
bool skip_blanks_and_sign(const std::string& s, size_t& at) {
  while (at < s.size() && is_blank(s[at])) ++at;
  bool negative = at < s.size() && s[at] == '-';
  if (at < s.size() && (s[at] == '-' || s[at] == '+')) ++at;
  return negative;
}

size_t skip_digits(const std::string& s, size_t at) {
  while (at < s.size() && is_digit(s[at])) ++at;
  return at;
}

// For a number whose digits are s[begin, int_end) "." s[int_end + 1,
// frac_end), followed up to `end` by an optional exponent: the power of ten of
// its first significant digit plus one, saturated. Decides whether a number
// out of the range of double is too large or too small.
long long decimal_magnitude(const std::string& s, size_t begin, size_t int_end, size_t frac_end,
                            size_t end) {
  long long exponent = 0;
  if (frac_end < end) {
    size_t at = frac_end + 1;
    bool negative = s[at] == '-';
    if (s[at] == '-' || s[at] == '+') ++at;
    for (; at < end && exponent < 1'000'000'000; ++at) exponent = exponent * 10 + (s[at] - '0');
    if (negative) exponent = -exponent;
  }
  for (size_t i = begin; i < int_end; ++i) {
    if (s[i] != '0') return static_cast<long long>(int_end - i) + exponent;
  }
  for (size_t i = int_end + 1; i < frac_end; ++i) {
    if (s[i] != '0') return exponent - static_cast<long long>(i - int_end - 1);
  }
  return std::numeric_limits<long long>::min();  // all zeros: never out of range upwards
}

}  // namespace

double text_to_number(const Text& text) {
  std::string s = folded(text);
  size_t at = 0;
  bool negative = skip_blanks_and_sign(s, at);
  size_t begin = at;
  size_t int_end = skip_digits(s, at);
  size_t end = int_end;
  size_t frac_end = int_end;
  if (end < s.size() && s[end] == '.') frac_end = skip_digits(s, end + 1);
  bool has_digits = int_end > begin || frac_end > int_end + 1;
  if (!has_digits) return 0;
  end = frac_end;
  // An exponent counts only when digits follow its letter and sign.
  if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
    size_t exp = end + 1;
    if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
    size_t exp_end = skip_digits(s, exp);
    if (exp_end > exp) end = exp_end;
  }
  // from_chars reads "1." and ".5" as the C library does, without a sign and
  // whatever the locale's decimal point.
  double value = 0;
  std::from_chars_result read = std::from_chars(s.data() + begin, s.data() + end, value);
  if (read.ec == std::errc::result_out_of_range) {
    value = decimal_magnitude(s, begin, int_end, frac_end, end) > 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  return negative ? -value : value;
}

long long text_to_integer(const Text& text) {
  std::string s = folded(text);
  size_t at = 0;
  bool negative = skip_blanks_and_sign(s, at);
  size_t end = skip_digits(s, at);
  if (end == at) return 0;
  // Accumulate towards the sign so that the smallest value is reachable.
  constexpr long long kMax = std::numeric_limits<long long>::max();
  constexpr long long kMin = std::numeric_limits<long long>::min();
  long long value = 0;
  for (size_t i = at; i < end; ++i) {
    int digit = s[i] - '0';
    if (negative) {
      if (value < (kMin + digit) / 10) return kMin;
      value = value * 10 - digit;
    } else {
      if (value > (kMax - digit) / 10) return kMax;
      value = value * 10 + digit;
    }
  }
  return value;
}

bool is_rising(const Text& growth_text) { return text_to_number(growth_text) > 0.0000001; }

Text fixed_number_text(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char buffer[400];  // room for the largest double with its decimals
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  Text text(buffer, end);
  if (text.starts_with('-') && text.find_first_not_of("-0.") == Text::npos) text.erase(0, 1);
  return text;
}
