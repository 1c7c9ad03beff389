// Drives the modal windows that a call opens, so a test never blocks: a timer on the calling
// thread looks for the windows it expects (by caption, among the thread's visible top-level
// windows) and runs each expected action once, in order. An action may itself open a modal
// window; the timer keeps driving inside that window's loop. A dialog that nobody expects is
// closed at once and noted; anything still open after the time limit is ended by force.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace sonaril_test {

// The result a dialog gets when the driver has to end it.
constexpr INT_PTR kForcedEnd = 0x5AFE;

// UTF-16 form of UTF-8 text (u8"..." literals).
std::wstring Wide(const char* utf8);

class CModalDriver {
 public:
  using Action = std::function<void(HWND window)>;

  explicit CModalDriver(DWORD limit_ms = 8000);
  ~CModalDriver();
  CModalDriver(const CModalDriver&) = delete;
  CModalDriver& operator=(const CModalDriver&) = delete;

  using Condition = std::function<bool(HWND window)>;

  // Expects a new window with this caption next; action runs once on it (press buttons with
  // Press, which posts; a modal window the action opens itself is driven too). Windows are acted on only while enabled, so a
  // dialog waits while a modal window of its own is open.
  void Expect(const std::wstring& caption, Action action);
  // Expects a window with this caption that may have been acted on before, once ready holds.
  void ExpectAgain(const std::wstring& caption, Condition ready, Action action);
  // The same, as soon as the window is enabled again.
  void ExpectAgain(const std::wstring& caption, Action action);

  // Runs call with the timer ticking and returns its result.
  template <class Call>
  auto Run(Call call) -> decltype(call()) {
    Start();
    struct Stopper {
      CModalDriver* driver;
      ~Stopper() { driver->Stop(); }
    } stopper{this};
    return call();
  }

  // True when every expected window came and was handled.
  bool AllHandled() const { return expected_.empty(); }
  bool timed_out() const { return timed_out_; }
  // Captions of dialogs that appeared when none was expected (they were closed).
  const std::vector<std::wstring>& unexpected() const { return unexpected_; }
  // Every expected window was handled and the driver had to end none.
  bool Succeeded() const { return AllHandled() && !timed_out_ && unexpected_.empty(); }
  // Caption of the window the driver still waits for, empty when none.
  std::wstring waiting_for() const { return expected_.empty() ? std::wstring() : expected_.front().caption; }

 private:
  struct Step {
    std::wstring caption;
    Action action;
    Condition ready;  // null: a new window, whatever its state
  };
  bool Matches(const Step& step, HWND window) const;
  void Start();
  void Stop();
  void Tick();
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

  DWORD limit_ms_;
  DWORD started_ = 0;
  UINT_PTR timer_ = 0;
  bool timed_out_ = false;
  std::vector<Step> expected_;
  std::vector<HWND> handled_;
  std::vector<std::wstring> unexpected_;
};

// Clicks a button of a dialog or message box (posted, so the caller does not wait).
void Press(HWND dialog, int id);
// A key press as the keyboard would deliver it: to the dialog's focused control, through
// the dialog manager (posted).
void PressKey(HWND dialog, UINT virtual_key);
// Text of a control, of a window.
std::wstring ItemText(HWND dialog, int id);
std::wstring WindowText(HWND window);
// The text of a message box (its non-icon static control).
std::wstring MessageBoxText(HWND box);
// The id of the dialog's default push button (the one Enter presses), 0 when it has none.
int DefaultButton(HWND dialog);
// The texts and item data of a drop-down list, and its selected index (-1: none).
struct ComboContents {
  std::vector<std::wstring> texts;
  std::vector<LRESULT> data;
  LRESULT selected = -1;
};
ComboContents ReadCombo(HWND dialog, int id);

}  // namespace sonaril_test
