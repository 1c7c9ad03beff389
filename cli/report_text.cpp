#include "cli/report_text.h"

#include <cstdarg>
#include <cstdio>

#include "files/code_page.h"
#include "synth/tone_setting.h"

std::string Format(const char* format, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  if (written < 0) return std::string();
  return std::string(buffer, static_cast<size_t>(written) < sizeof buffer ? written : sizeof buffer - 1);
}

std::string Utf8(const wchar_t* text) {
  char* bytes = ToMultiByte(text, -1, kCodePageUtf8);
  if (bytes == nullptr) return std::string();
  std::string out(bytes);
  delete[] bytes;
  return out;
}

std::string StepKindName(int32_t on_off) {
  std::string text = Utf8(StepKindText(on_off));
  return text.empty() ? Format("gain %d", on_off) : text;
}
