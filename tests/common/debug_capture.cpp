#include "tests/common/debug_capture.h"

#include <algorithm>
#include <cstdarg>

#include "debug/debug_output.h"
#include "files/code_page.h"

namespace sonaril_test {
namespace {

std::mutex capture_mutex;
std::vector<std::string> captured_lines;

std::string ToUtf8(const std::wstring& text) {
  char* bytes = ToMultiByte(text.c_str(), -1, kCodePageUtf8);
  if (bytes == nullptr) return std::string();
  std::string utf8(bytes);
  delete[] bytes;
  return utf8;
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
