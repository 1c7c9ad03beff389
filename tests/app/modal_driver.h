// Drives modal dialogs of the test's own thread without ever blocking: a thread
// timer (dispatched by the dialog's own message loop) waits for a visible dialog
// with the expected caption, runs the step's action on it, then moves to the
// next step. A fail-safe ends every dialog of the thread after a few seconds so
// that a broken test fails instead of hanging.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace sonaril_test {

struct DriverStep {
  std::wstring caption;               // the dialog this step waits for
  std::function<void(HWND)> action;   // what it does to it (post keys, read texts, ...)
};

class CModalDriver {
 public:
  explicit CModalDriver(std::vector<DriverStep> steps, UINT timeout_ms = 5000);
  ~CModalDriver();
  CModalDriver(const CModalDriver&) = delete;
  CModalDriver& operator=(const CModalDriver&) = delete;

  // Every step ran.
  bool finished() const { return next_step_ == steps_.size(); }
  // The fail-safe had to end dialogs.
  bool timed_out() const { return timed_out_; }
  // Caption of the dialog the driver waited for when the fail-safe fired.
  const std::wstring& waiting_for() const { return waiting_for_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Poll();
  std::vector<DriverStep> steps_;
  size_t next_step_ = 0;
  bool timed_out_ = false;
  std::wstring waiting_for_;
  DWORD deadline_;
  UINT_PTR timer_ = 0;
};

// The visible dialog of this thread with exactly this caption, or null.
HWND FindThreadDialog(const std::wstring& caption);

// Key presses as the keyboard would deliver them: to the focused control of
// the dialog, through the dialog manager.
void PressKey(HWND dialog, UINT virtual_key);
// A button click as the button would report it to its dialog.
void ClickButton(HWND dialog, int id);

// Texts of a control and of the entries of a combo box.
std::wstring ControlText(HWND dialog, int id);
std::vector<std::wstring> ComboTexts(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);

// UTF-16 of UTF-8 text, so that expected Japanese texts stay readable in tests.
std::wstring Wide(const char* utf8);

}  // namespace sonaril_test
