#include "tests/common/debug_capture.h"

#include <algorithm>
#include <cstdarg>

#include "app/debug_output.h"

namespace sonaril_test {
namespace {

std::mutex capture_mutex;
std::vector<std::string> captured_lines;

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  for (wchar_t wide : text) {
    unsigned long c = static_cast<unsigned long>(wide);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

int RecordingSink(const wchar_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string line = ToUtf8(DebugOutput::Format(format, arguments));
  va_end(arguments);
  std::lock_guard<std::mutex> lock(capture_mutex);
  captured_lines.push_back(line);
  return 0;
}

}  // namespace

DebugCapture::DebugCapture() {
  Clear();
  DebugPrint = RecordingSink;
}

DebugCapture::~DebugCapture() { DebugPrint = DebugOutput::SilentSink; }

std::vector<std::string> DebugCapture::Lines() const {
  std::lock_guard<std::mutex> lock(capture_mutex);
  return captured_lines;
}

bool DebugCapture::Contains(const std::string& text) const {
  std::lock_guard<std::mutex> lock(capture_mutex);
  return std::find(captured_lines.begin(), captured_lines.end(), text) != captured_lines.end();
}

void DebugCapture::Clear() {
  std::lock_guard<std::mutex> lock(capture_mutex);
  captured_lines.clear();
}

}  // namespace sonaril_test
