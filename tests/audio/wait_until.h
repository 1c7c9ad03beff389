// Bounded waiting for something another thread does; tests never depend on how long it takes.
#pragma once
#include <windows.h>

#include <functional>

namespace sonaril_test {

// Checks condition every millisecond for up to ten seconds; false if it never held.
inline bool WaitUntil(const std::function<bool()>& condition) {
  for (int waited = 0; waited < 10000; ++waited) {
    if (condition()) return true;
    ::Sleep(1);
  }
  return condition();
}

}  // namespace sonaril_test
