#include "text/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "text/gbk_literal.h"

namespace {

TEST(TextToNumber, ReadsTheLeadingDecimalNumber) {
  const double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    Text text;
    double number;
  } cases[] = {
      {"1.23%", 1.23},
      {"-0.45%", -0.45},
      {gbk("１２.５"), 12.5},     // full-width digits
      {gbk("－１．５％"), -1.5},  // full-width sign and point
      {gbk("\u3000３"), 3},       // ideographic space is a blank
      {"%", 0},
      {"", 0},
      {" +3e2x", 300},
      {"\t-2.5E-1", -0.25},
      {"7e", 7},  // an exponent letter without digits is not read
      {"7e+", 7},
      {"1.", 1},
      {".5", 0.5},
      {".", 0},
      {"-", 0},
      {"+.e1", 0},
      {"- 1", 0},         // no blank between sign and digits
      {gbk("基金1"), 0},  // the number must lead
      {"1e999", kInf},
      {"-1e999", -kInf},
      {"1e-999", 0},
      {"0.000e999", 0},
      {"0.001e-999999999999999999999", 0},
      {Text("5\0"
            "6",
            3),
       5},
  };
  for (const Case& c : cases) EXPECT_EQ(text_to_number(c.text), c.number) << c.text;
}

TEST(TextToInteger, ReadsTheLeadingInteger) {
  struct Case {
    Text text;
    long long integer;
  } cases[] = {
      {"18.5", 18},
      {"-5", -5},
      {"", 0},
      {gbk(" +185秒"), 185},
      {gbk("１８５"), 185},
      {"x1", 0},
      {"9223372036854775807", 9223372036854775807LL},
      {"9223372036854775808", 9223372036854775807LL},
      {"-9223372036854775808", std::numeric_limits<long long>::min()},
      {"-99999999999999999999", std::numeric_limits<long long>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(text_to_integer(c.text), c.integer) << c.text;
}

TEST(IsRising, GreaterThanOneTenMillionth) {
  struct Case {
    Text growth;
    bool rising;
  } cases[] = {
      {"1.23", true},   {"0.0000002", true}, {"0.0000001", false}, {"0", false},
      {"-0.45", false}, {"", false},         {"--", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_rising(c.growth), c.rising) << c.growth;
}

TEST(FixedNumberText, WritesTheDecimalsWithAPointAndNoSignlessZeroMinus) {
  struct Case {
    double value;
    int decimals;
    Text text;
  } cases[] = {
      {0.548, 4, "0.5480"},
      {-0.36, 2, "-0.36"},
      {1.235, 2, "1.24"},
      {-0.004, 2, "0.00"},
      {-0.0, 4, "0.0000"},
      {12.5, 0, "12"},
      {1e20, 2, "100000000000000000000.00"},
      {std::numeric_limits<double>::infinity(), 2, ""},
      {std::nan(""), 2, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fixed_number_text(c.value, c.decimals), c.text) << c.value;
  }
}

}  // namespace
