#include "platform/json_reply.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include "platform/code_page.h"

namespace platform {
namespace {

std::string gbk_of(const QString& text) {
  return wide_to_multibyte(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                               static_cast<std::size_t>(text.size())),
                           kCodePageGbk);
}

JsonValue from_qt(const QJsonValue& value) {
  switch (value.type()) {
    case QJsonValue::Bool:
      return JsonValue::boolean(value.toBool());
    case QJsonValue::Double:
      return JsonValue::number(value.toDouble());
    case QJsonValue::String:
      return JsonValue::string(gbk_of(value.toString()));
    case QJsonValue::Array: {
      std::vector<JsonValue> items;
      for (const QJsonValue& item : value.toArray()) items.push_back(from_qt(item));
      return JsonValue::array(std::move(items));
    }
    case QJsonValue::Object: {
      QJsonObject object = value.toObject();
      std::vector<JsonMember> members;
      for (auto it = object.begin(); it != object.end(); ++it) {
        members.push_back({gbk_of(it.key()), from_qt(it.value())});
      }
      return JsonValue::object(std::move(members));
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
      break;
  }
  return JsonValue();
}

}  // namespace

JsonValue JsonValue::boolean(bool value) {
  JsonValue v;
  v.kind_ = Kind::kBool;
  v.bool_ = value;
  return v;
}

JsonValue JsonValue::number(double value) {
  JsonValue v;
  v.kind_ = Kind::kNumber;
  v.number_ = value;
  return v;
}

JsonValue JsonValue::string(std::string gbk_text) {
  JsonValue v;
  v.kind_ = Kind::kString;
  v.text_ = std::move(gbk_text);
  return v;
}

JsonValue JsonValue::array(std::vector<JsonValue> items) {
  JsonValue v;
  v.kind_ = Kind::kArray;
  v.items_ = std::move(items);
  return v;
}

JsonValue JsonValue::object(std::vector<JsonMember> members) {
  JsonValue v;
  v.kind_ = Kind::kObject;
  v.members_ = std::move(members);
  return v;
}

const JsonValue* JsonValue::member(std::string_view gbk_key) const {
  for (const JsonMember& m : members_) {
    if (m.key == gbk_key) return &m.value;
  }
  return nullptr;
}

std::optional<JsonValue> parse_json(std::string_view utf8) {
  // Qt's document parser takes an object or array at the top only; a scalar
  // reply is read as the single element of an array around it.
  QByteArray wrapped;
  wrapped.reserve(static_cast<qsizetype>(utf8.size()) + 3);
  wrapped.append('[');
  wrapped.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
  wrapped.append("\n]");
  QJsonParseError error;
  QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
  if (error.error != QJsonParseError::NoError || !document.isArray()) return std::nullopt;
  QJsonArray array = document.array();
  if (array.size() != 1) return std::nullopt;
  return from_qt(array.at(0));
}

}  // namespace platform
