// A Win32 critical section with a scoped guard. It is recursive, so a listener callback that
// runs under the renderer's lock may still call Stop on the same thread.
#pragma once
#include <windows.h>

class CCriticalSection {
 public:
  CCriticalSection() { InitializeCriticalSection(&section_); }
  ~CCriticalSection() { DeleteCriticalSection(&section_); }
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class CCriticalSectionLock {
 public:
  explicit CCriticalSectionLock(CCriticalSection& section) : section_(section) {
    section_.Enter();
  }
  ~CCriticalSectionLock() { section_.Leave(); }
  CCriticalSectionLock(const CCriticalSectionLock&) = delete;
  CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

 private:
  CCriticalSection& section_;
};
