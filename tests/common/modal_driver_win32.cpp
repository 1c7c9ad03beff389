#include "tests/common/modal_driver.h"

#include <algorithm>

namespace sonaril_test {

namespace {

CModalDriver* active_driver = nullptr;
constexpr UINT kTickMs = 30;

struct ThreadWindows {
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  if (IsWindowVisible(window)) reinterpret_cast<ThreadWindows*>(context)->windows.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleThreadWindows() {
  ThreadWindows found;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

bool IsDialogWindow(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

}  // namespace

std::wstring Wide(const char* utf8) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 1) return std::wstring();
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], length);
  text.resize(static_cast<size_t>(length) - 1);
  return text;
}

CModalDriver::CModalDriver(DWORD limit_ms) : limit_ms_(limit_ms) {}

CModalDriver::~CModalDriver() { Stop(); }

void CModalDriver::Expect(const std::wstring& caption, Action action) {
  expected_.push_back(Step{caption, std::move(action), nullptr});
}

void CModalDriver::ExpectAgain(const std::wstring& caption, Condition ready, Action action) {
  expected_.push_back(Step{caption, std::move(action), std::move(ready)});
}

void CModalDriver::ExpectAgain(const std::wstring& caption, Action action) {
  ExpectAgain(caption, [](HWND) { return true; }, std::move(action));
}

bool CModalDriver::Matches(const Step& step, HWND window) const {
  if (!IsWindowEnabled(window) || WindowText(window) != step.caption) return false;
  if (step.ready) return step.ready(window);
  return std::find(handled_.begin(), handled_.end(), window) == handled_.end();
}

void CModalDriver::Start() {
  active_driver = this;
  started_ = GetTickCount();
  timer_ = SetTimer(nullptr, 0, kTickMs, &CModalDriver::OnTimer);
}

void CModalDriver::Stop() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  timer_ = 0;
  if (active_driver == this) active_driver = nullptr;
}

void CALLBACK CModalDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (active_driver != nullptr) active_driver->Tick();
}

// An action that opens a modal window runs that window's loop inside this tick, and its
// ticks drive it: a step leaves the list before its action runs and a tick touches nothing
// after its action, so a tick inside another one is safe.
void CModalDriver::Tick() {
  // Windows that are gone can no longer be confused with new ones.
  handled_.erase(std::remove_if(handled_.begin(), handled_.end(), [](HWND h) { return !IsWindow(h); }),
                 handled_.end());
  std::vector<HWND> windows = VisibleThreadWindows();
  if (GetTickCount() - started_ > limit_ms_) {
    // Whatever is still open is ended, so the test goes on and fails instead of hanging.
    for (HWND window : windows) {
      if (IsDialogWindow(window)) {
        timed_out_ = true;
        EndDialog(window, kForcedEnd);
      }
    }
    return;
  }
  for (HWND window : windows) {
    if (!expected_.empty() && Matches(expected_.front(), window)) {
      handled_.push_back(window);
      Step step = std::move(expected_.front());
      expected_.erase(expected_.begin());
      step.action(window);
      return;  // one step a tick: the action's posted messages run first
    }
  }
  if (expected_.empty()) {
    for (HWND window : windows) {
      if (IsDialogWindow(window) && std::find(handled_.begin(), handled_.end(), window) == handled_.end()) {
        unexpected_.push_back(WindowText(window));
        handled_.push_back(window);
        EndDialog(window, kForcedEnd);
      }
    }
  }
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressKey(HWND dialog, UINT virtual_key) {
  HWND focus = GetFocus();
  HWND target = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
  PostMessageW(target, WM_KEYDOWN, virtual_key, 1);
  PostMessageW(target, WM_KEYUP, virtual_key, 0xC0000001);
}

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::wstring MessageBoxText(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(name, L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
      std::wstring text = WindowText(child);
      if (!text.empty()) return text;
    }
  }
  return std::wstring();
}

int DefaultButton(HWND dialog) {
  // The button drawn as the default is the one Enter presses; a message box marks it so
  // without necessarily answering DM_GETDEFID with it.
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return GetDlgCtrlID(child);
  }
  LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : 0;
}

ComboContents ReadCombo(HWND dialog, int id) {
  ComboContents contents;
  LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    contents.texts.push_back(text);
    contents.data.push_back(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
  }
  contents.selected = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  return contents;
}

}  // namespace sonaril_test
