#include "cli/report_text.h"

#include <cstdarg>
#include <cstdio>

#include "files/code_page.h"
#include "synth/tone_setting.h"

std::string Format(const char* format, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  std::string text;
  if (written >= 0 && static_cast<size_t>(written) < sizeof buffer) {
    text.assign(buffer, static_cast<size_t>(written));
  } else if (written >= 0) {
    // A long row (a step made of hundreds of the setting's steps) is written whole.
    text.resize(static_cast<size_t>(written) + 1);
    std::vsnprintf(&text[0], text.size(), format, again);
    text.resize(static_cast<size_t>(written));
  }
  va_end(again);
  return text;
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
