#include "cli/json_report.h"

#include <cmath>
#include <cstdio>

namespace {

// nlohmann/json keeps a double as a double and prints it as short as it reads back; a
// fixed-decimal number is therefore kept as its printed text in a binary value of its own
// subtype, which the printer writes as it is.
constexpr std::uint64_t kFixedNumberSubtype = 0x46;

void Print(const JsonValue& value, std::string* out) {
  if (value.is_object()) {
    *out += '{';
    bool first = true;
    for (const auto& member : value.items()) {
      if (!first) *out += ", ";
      first = false;
      *out += JsonValue(member.key()).dump(-1, ' ', false, JsonValue::error_handler_t::replace);
      *out += ": ";
      Print(member.value(), out);
    }
    *out += '}';
  } else if (value.is_array()) {
    *out += '[';
    for (size_t i = 0; i < value.size(); ++i) {
      if (i > 0) *out += ", ";
      Print(value[i], out);
    }
    *out += ']';
  } else if (value.is_binary() && value.get_binary().subtype() == kFixedNumberSubtype) {
    out->append(value.get_binary().begin(), value.get_binary().end());
  } else {
    *out += value.dump(-1, ' ', false, JsonValue::error_handler_t::replace);
  }
}

}  // namespace

JsonValue JsonFixed(double value, int decimals) {
  if (!std::isfinite(value)) return nullptr;
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof text) return nullptr;
  return JsonValue::binary(JsonValue::binary_t::container_type(text, text + length), kFixedNumberSubtype);
}

std::string PrintJsonLine(const JsonValue& value) {
  std::string out;
  Print(value, &out);
  return out + "\n";
}
