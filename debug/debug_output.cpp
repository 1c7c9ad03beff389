#include "debug/debug_output.h"

#include <algorithm>
#include <cwchar>
#include <vector>

DebugPrintFunction DebugPrint = DebugOutput::SilentSink;

namespace DebugOutput {

int SilentSink(const wchar_t*, ...) { return 0; }

std::wstring Format(const wchar_t* format, va_list arguments) {
  if (format == nullptr) return std::wstring();
  // C's wide printf reads "%s" as a narrow string on some C libraries; "%ls" is wide everywhere.
  std::wstring portable;
  for (const wchar_t* p = format; *p != L'\0'; ++p) {
    portable += *p;
    if (*p != L'%') continue;
    const size_t percent_at = portable.size() - 1;
    const wchar_t* conversion = p + 1;
    while (*conversion != L'\0' && std::wcschr(L"-+ #0123456789.*", *conversion) != nullptr) ++conversion;
    portable.append(p + 1, conversion);
    p = conversion - 1;
    if (*conversion == L'\0') {
      portable.erase(percent_at);  // an unfinished conversion at the end formats nothing
      break;
    }
    if (*conversion == L's') portable += L'l';
  }
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, arguments);
    int written = std::vswprintf(buffer.data(), buffer.size(), portable.c_str(), copy);
    va_end(copy);
    // C libraries differ on a short buffer: -1, or the length the text would need.
    if (written >= 0 && static_cast<size_t>(written) < buffer.size()) {
      return std::wstring(buffer.data(), static_cast<size_t>(written));
    }
    if (buffer.size() >= (1u << 20)) return std::wstring();
    size_t needed = written > 0 ? static_cast<size_t>(written) + 1 : buffer.size() * 4;
    buffer.resize(std::max(needed, buffer.size() * 2));
  }
}

}  // namespace DebugOutput
