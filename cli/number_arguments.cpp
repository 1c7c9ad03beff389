#include "cli/number_arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool ReadWholeNumber(const std::string& text, int32_t* value) {
  size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (at == text.size()) return false;
  int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    magnitude = magnitude * 10 + (text[at] - '0');
    if (magnitude > INT32_MAX) return false;
  }
  *value = static_cast<int32_t>(text[0] == '-' ? -magnitude : magnitude);
  return true;
}

bool ReadDecimal(const std::string& text, double* value) {
  // strtod would skip leading blanks; a value with them is not the number alone.
  if (text.empty() || text[0] == ' ' || text[0] == '\t') return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}
