#include "listview/date_time.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "text/gbk_literal.h"

namespace {

constexpr double kFirstDay = -657434;  // 1 January 100
constexpr double kLastDay = 2958465;   // 31 December 9999

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long days_from_civil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool is_leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int y, int m) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && is_leap(y) ? 29 : kDays[m - 1];
}

// Reads the text from left to right, one field at a time.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool at_end() const { return pos_ == text_.size(); }

  std::optional<int> digits(size_t max_count) {
    size_t start = pos_;
    int value = 0;
    while (pos_ < text_.size() && pos_ - start < max_count && text_[pos_] >= '0' &&
           text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (pos_ == start) return std::nullopt;
    return value;
  }

  // Steps over one of the given separators when it comes next.
  void skip_one_of(std::initializer_list<std::string_view> separators) {
    for (std::string_view s : separators) {
      if (!s.empty() && text_.substr(pos_, s.size()) == s) {
        pos_ += s.size();
        return;
      }
    }
  }

  void skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

std::optional<double> parse_date_time(const Text& text) {
  static const Text kYear = gbk("年"), kMonth = gbk("月"), kDay = gbk("日"), kHour = gbk("时"),
                    kMinute = gbk("分"), kSecond = gbk("秒");
  Reader in(text);
  in.skip_blanks();
  std::optional<int> year = in.digits(4);
  in.skip_one_of({"-", ".", "/", ":", kYear});
  std::optional<int> month = in.digits(2);
  in.skip_one_of({"-", ".", "/", ":", kMonth});
  std::optional<int> day = in.digits(2);
  if (!year || !month || !day) return std::nullopt;
  in.skip_one_of({"-", ".", "/", ":", " ", kDay});
  in.skip_blanks();
  int hour = 0, minute = 0, second = 0;
  if (std::optional<int> h = in.digits(2)) {
    hour = *h;
    in.skip_one_of({"-", ".", "/", ":", kHour});
    if (std::optional<int> m = in.digits(2)) {
      minute = *m;
      in.skip_one_of({"-", ".", "/", ":", kMinute});
      if (std::optional<int> s = in.digits(2)) second = *s;
    }
  }
  in.skip_one_of({kSecond});
  in.skip_blanks();
  if (!in.at_end()) return std::nullopt;
  if (*year < 100 || *month < 1 || *month > 12 || *day < 1 || *day > days_in_month(*year, *month) ||
      hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  const double days =
      static_cast<double>(days_from_civil(*year, *month, *day) - days_from_civil(1899, 12, 30));
  const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace

double text_to_date_time(const Text& text) { return parse_date_time(text).value_or(kFirstDay); }

double date_time_sort_key(const Text& text) {
  double t = text_to_date_time(text);
  if (t < kFirstDay) t = kFirstDay;
  if (t > kLastDay) t = kLastDay;
  if (t < 0) t = std::trunc(t) - (t - std::trunc(t));
  return t;
}
