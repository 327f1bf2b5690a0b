// A parsed JSON text as a small value of our own: null, boolean, number,
// string, array or object, with strings and object keys in GBK. Callers read
// the few values they need without seeing the parser behind it. Plain value,
// copy freely; safe from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct JsonMember;

class JsonValue {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  JsonValue() = default;  // null
  static JsonValue boolean(bool value);
  static JsonValue number(double value);
  static JsonValue string(std::string gbk_text);
  static JsonValue array(std::vector<JsonValue> items);
  static JsonValue object(std::vector<JsonMember> members);

  Kind kind() const { return kind_; }
  bool is_null() const { return kind_ == Kind::kNull; }
  bool is_true() const { return kind_ == Kind::kBool && bool_; }
  // The number of a kNumber, else 0.
  double as_number() const { return kind_ == Kind::kNumber ? number_ : 0.0; }
  // The GBK text of a kString, else empty. A character without a GBK form
  // reads as "?".
  const std::string& as_text() const { return text_; }
  // The elements of a kArray, else none.
  const std::vector<JsonValue>& items() const { return items_; }
  // The members of a kObject, each key once (a repeated key keeps its last
  // value), ordered by key; else none.
  const std::vector<JsonMember>& members() const { return members_; }
  // The value of the member named `gbk_key` of a kObject; nullptr when absent
  // or when this is not an object.
  const JsonValue* member(std::string_view gbk_key) const;

 private:
  Kind kind_ = Kind::kNull;
  bool bool_ = false;
  double number_ = 0.0;
  std::string text_;
  std::vector<JsonValue> items_;
  std::vector<JsonMember> members_;
};

struct JsonMember {
  std::string key;  // GBK
  JsonValue value;
};

// Parses the whole of `utf8` as one JSON value (an object, array or scalar,
// blanks around it allowed). Nothing when it is not valid JSON: a syntax
// error, trailing text, invalid UTF-8 or nesting deeper than the parser
// allows.
std::optional<JsonValue> parse_json(std::string_view utf8);

}  // namespace platform
