#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A strict JSON reader for checking what a program wrote (RFC 8259): one value
// and nothing after it but blanks, strings of valid UTF-8 with only the
// escapes JSON knows, no control characters in them, numbers in JSON's form.
struct JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::map<std::string, JsonValue>;

struct JsonValue {
  std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>,
               std::shared_ptr<JsonObject>>
      v;

  bool is_null() const { return v.index() == 0; }
  const std::string& str() const { return std::get<std::string>(v); }
  double num() const { return std::get<double>(v); }
  const JsonArray& arr() const { return *std::get<std::shared_ptr<JsonArray>>(v); }
  const JsonObject& obj() const { return *std::get<std::shared_ptr<JsonObject>>(v); }
  bool is_obj() const { return v.index() == 5; }
  // The member `key` of an object; throws when there is none.
  const JsonValue& operator[](const std::string& key) const { return obj().at(key); }
};

// The value of `text`, or nothing (with `error` saying where) when it is not strict JSON.
std::optional<JsonValue> ParseJson(std::string_view text, std::string* error = nullptr);
