#include "tests/app/modal_driver.h"

namespace sonaril_test {

namespace {

constexpr UINT kPollMs = 20;


CModalDriver* active_driver = nullptr;

struct DialogSearch {
  const std::wstring* caption;  // null: any visible dialog
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (!IsWindowVisible(window) || std::wstring(class_name) != L"#32770") return TRUE;
  if (search->caption != nullptr) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*search->caption != text) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindThreadDialog(const std::wstring& caption) {
  DialogSearch search{&caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

CModalDriver::CModalDriver(std::vector<DriverStep> steps, UINT timeout_ms)
    : steps_(std::move(steps)), deadline_(GetTickCount() + timeout_ms) {
  active_driver = this;
  timer_ = SetTimer(nullptr, 0, kPollMs, Tick);
}

CModalDriver::~CModalDriver() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  if (active_driver == this) active_driver = nullptr;
}

void CALLBACK CModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (active_driver != nullptr) active_driver->Poll();
}

void CModalDriver::Poll() {
  if (static_cast<LONG>(GetTickCount() - deadline_) >= 0) {
    if (!timed_out_ && !finished()) waiting_for_ = steps_[next_step_].caption;
    // End every dialog still up, innermost first, until none is left.
    DialogSearch search{nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      timed_out_ = true;
      EndDialog(search.found, -2);
    }
    return;
  }
  if (finished()) return;
  HWND dialog = FindThreadDialog(steps_[next_step_].caption);
  if (dialog == nullptr) return;
  // Take the step before acting: the action may open a nested dialog whose
  // own loop dispatches the next tick.
  const DriverStep& step = steps_[next_step_++];
  step.action(dialog);
}

void PressKey(HWND dialog, UINT virtual_key) {
  HWND focus = GetFocus();
  HWND target = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
  PostMessageW(target, WM_KEYDOWN, virtual_key, 1);
  PostMessageW(target, WM_KEYUP, virtual_key, 0xC0000001);
}

void ClickButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring ControlText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

std::vector<std::wstring> ComboTexts(HWND dialog, int id) {
  std::vector<std::wstring> texts;
  const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0);
    if (length < 0) continue;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    texts.push_back(text);
  }
  return texts;
}

int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], length);
  text.resize(static_cast<size_t>(length) - 1);
  return text;
}

}  // namespace sonaril_test
