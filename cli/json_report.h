// The JSON that --json prints: built as an nlohmann/json value (members in the order they
// are added), printed on one line with ", " and ": " between members as scripts have always
// read it, every number with the decimals its measurement deserves.
#pragma once
#include <string>

#include <nlohmann/json.hpp>

using JsonValue = nlohmann::ordered_json;

// A number printed with exactly `decimals` decimals (3000.000 ms, -12.04 dBFS); null when it
// is not finite, since JSON has no such number.
JsonValue JsonFixed(double value, int decimals);

// The value on one line followed by a newline. Text that is not valid UTF-8 has its bad bytes
// replaced by U+FFFD rather than failing the report, so the output is always valid JSON.
std::string PrintJsonLine(const JsonValue& value);
