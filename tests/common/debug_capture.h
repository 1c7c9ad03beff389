// Collects every DebugPrint line while it lives, so tests can compare the exact texts.
#pragma once
#include <mutex>
#include <string>
#include <vector>

namespace sonaril_test {

class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  // Every formatted line so far, in order, as UTF-8.
  std::vector<std::string> Lines() const;
  // True when some line equals text exactly.
  bool Contains(const std::string& text) const;
  void Clear();
};

}  // namespace sonaril_test
