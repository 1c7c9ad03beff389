// The dialog base and the opening protocol, on real dialogs from the program's
// templates, driven by window messages.
#include "app/dialog.h"

#include <commctrl.h>
#include <shlobj.h>  // DROPFILES
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/common/modal_driver.h"

namespace {

using sonaril_test::CModalDriver;
using sonaril_test::Press;
using sonaril_test::PressKey;
using sonaril_test::Wide;

// A dialog that can refuse to end and records what reached it.
class CProbeDialog : public CDialog {
 public:
  void OnInitDialog(HWND dialog, WPARAM, LPARAM) override {
    init_window = dialog;
    SetWindowTextW(dialog, caption.c_str());
  }
  int OnOK(HWND) override {
    ++ok_calls;
    return allow_ok;
  }
  int OnCancel(HWND) override {
    ++cancel_calls;
    return allow_cancel;
  }
  void OnNotify(HWND, int id, NMHDR* header) override {
    notified_id = id;
    notified_header = header;
  }
  std::wstring caption = L"Probe";
  int allow_ok = 1;
  int allow_cancel = 1;
  int ok_calls = 0;
  int cancel_calls = 0;
  HWND init_window = nullptr;
  int notified_id = 0;
  NMHDR* notified_header = nullptr;
};

class CSecondProbeDialog : public CProbeDialog {};

using Action = void (*)(HWND);

struct EndingCase {
  const char* name;
  Action action;
  INT_PTR result;
  int ok_calls;
  int cancel_calls;
};

void PressOk(HWND d) { Press(d, IDOK); }
void PressCancel(HWND d) { Press(d, IDCANCEL); }
void PressEsc(HWND d) { PressKey(d, VK_ESCAPE); }
void PressEnter(HWND d) { PressKey(d, VK_RETURN); }
void CloseBox(HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }
void SystemMenuClose(HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST(DialogBase, OkGivesOneAndEveryWayOfCancellingGivesZero) {
  const EndingCase cases[] = {
      {"OK button", PressOk, 1, 1, 0},
      {"Cancel button", PressCancel, 0, 0, 1},
      {"Esc key", PressEsc, 0, 0, 1},
      // In the edit templates Cancel is the default button.
      {"Enter key", PressEnter, 0, 0, 1},
      {"close box", CloseBox, 0, 0, 1},
      {"system menu", SystemMenuClose, 0, 0, 1},
  };
  for (const EndingCase& c : cases) {
    CProbeDialog dialog;
    CModalDriver driver;
    driver.Expect(L"Probe", c.action);
    const INT_PTR result = driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_PATTERN_EDIT_JA, 0); });
    EXPECT_TRUE(driver.Succeeded()) << c.name;
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(dialog.ok_calls, c.ok_calls) << c.name;
    EXPECT_EQ(dialog.cancel_calls, c.cancel_calls) << c.name;
    EXPECT_NE(dialog.window, nullptr) << c.name;
    EXPECT_EQ(dialog.window, dialog.init_window) << c.name;
  }
}

TEST(DialogBase, RefusingOkKeepsTheDialogOpen) {
  CProbeDialog dialog;
  dialog.allow_ok = 0;
  bool still_open = false;
  CModalDriver driver;
  driver.Expect(L"Probe", PressOk);
  driver.ExpectAgain(L"Probe", [&](HWND d) {
    still_open = IsWindowVisible(d) && dialog.ok_calls == 1;
    PressOk(d);
  });
  driver.ExpectAgain(L"Probe", [&](HWND d) {
    dialog.allow_ok = 1;
    PressOk(d);
  });
  EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_TONE_EDIT_JA, 0); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_TRUE(still_open);
  EXPECT_EQ(dialog.ok_calls, 3);
}

TEST(DialogBase, RefusingCancelKeepsTheDialogOpenAfterCancelAndEsc) {
  CProbeDialog dialog;
  dialog.allow_cancel = 0;
  int cancels_seen_open = 0;
  auto expect_open = [&](HWND d) {
    if (IsWindowVisible(d)) cancels_seen_open = dialog.cancel_calls;
  };
  CModalDriver driver;
  driver.Expect(L"Probe", PressCancel);
  driver.ExpectAgain(L"Probe", [&](HWND d) { expect_open(d); PressEsc(d); });
  driver.ExpectAgain(L"Probe", [&](HWND d) { expect_open(d); CloseBox(d); });
  driver.ExpectAgain(L"Probe", [&](HWND d) { expect_open(d); PressOk(d); });
  EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_EXPORT_JA, 0); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_EQ(cancels_seen_open, 3);
  EXPECT_EQ(dialog.ok_calls, 1);
}

TEST(DialogBase, EveryTemplateOpensInBothLanguagesThroughTheProtocol) {
  struct Case {
    int japanese_id;
    const char* english_caption;
    const char* japanese_caption;
    bool has_cancel_button;
  };
  const Case cases[] = {
      {IDD_CHOOSE_LANGUAGE_JA, u8"Choose Language", u8"言語設定", true},
      {IDD_ABOUT_JA, u8"About Sonaril", u8"Sonarilについて", false},
      {IDD_PATTERN_EDIT_JA, u8"Ring Pattern Setting", u8"鳴動パターン設定", true},
      {IDD_TONE_EDIT_JA, u8"Tone Setting", u8"音色設定", true},
      {IDD_EXPORT_JA, u8"Save Tone File", u8"トーンファイルの保存", true},
      {IDD_MAIN_JA, u8"Sonaril - Tone Generator", u8"Sonaril - トーン生成ツール", false},
  };
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  for (const Case& c : cases) {
    for (int language : {0, 1}) {
      const std::wstring caption = Wide(language == 1 ? c.japanese_caption : c.english_caption);
      // The base dialog keeps the template's caption and ends on Esc with 0.
      CDialog dialog;
      bool has_ok = false;
      bool has_cancel = false;
      CModalDriver driver;
      driver.Expect(caption, [&](HWND d) {
        has_ok = GetDlgItem(d, IDOK) != nullptr;
        has_cancel = GetDlgItem(d, IDCANCEL) != nullptr;
        PressEsc(d);
      });
      EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, c.japanese_id, language); }), 0)
          << c.japanese_id << "/" << language;
      EXPECT_TRUE(driver.Succeeded()) << c.japanese_id << "/" << language;
      EXPECT_EQ(has_ok, c.japanese_id != IDD_MAIN_JA) << c.japanese_id;
      EXPECT_EQ(has_cancel, c.has_cancel_button) << c.japanese_id;
    }
  }
}

TEST(DialogProtocol, TheCurrentInstanceIsEmptyOutsideARunAndAnswersFalse) {
  EXPECT_EQ(CDialogClass<CProbeDialog>::current_instance, nullptr);
  EXPECT_EQ(CDialogClass<CProbeDialog>::Procedure(nullptr, WM_INITDIALOG, 0, 0), FALSE);
  EXPECT_EQ(CDialogClass<CProbeDialog>::Procedure(nullptr, WM_COMMAND, IDOK, 0), FALSE);

  CProbeDialog dialog;
  CProbeDialog* seen = nullptr;
  CModalDriver driver;
  driver.Expect(L"Probe", [&](HWND d) {
    seen = CDialogClass<CProbeDialog>::current_instance;
    PressOk(d);
  });
  EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_PATTERN_EDIT_JA, 0); }), 1);
  EXPECT_EQ(seen, &dialog);
  // No pointer into the ended caller's frame is left behind.
  EXPECT_EQ(CDialogClass<CProbeDialog>::current_instance, nullptr);
}

TEST(DialogProtocol, EachClassHasItsOwnPointerAndASecondRunSeesOnlyItsOwnObject) {
  CProbeDialog first;
  first.caption = L"First";
  first.allow_ok = 7;
  CSecondProbeDialog other;
  other.caption = L"Other";
  CProbeDialog* first_seen = nullptr;
  CProbeDialog* other_seen_outer = nullptr;
  CSecondProbeDialog* other_seen_inner = nullptr;
  CModalDriver driver;
  driver.Expect(L"First", [&](HWND d) {
    first_seen = CDialogClass<CProbeDialog>::current_instance;
    // A dialog of another class opened from this one.
    OpenModalDialog(&other, d, IDD_TONE_EDIT_JA, 0);
    PressOk(d);
  });
  driver.Expect(L"Other", [&](HWND d) {
    other_seen_outer = CDialogClass<CProbeDialog>::current_instance;
    other_seen_inner = CDialogClass<CSecondProbeDialog>::current_instance;
    PressCancel(d);
  });
  EXPECT_EQ(driver.Run([&] { return OpenModalDialog(&first, nullptr, IDD_PATTERN_EDIT_JA, 0); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_EQ(first_seen, &first);
  EXPECT_EQ(other_seen_outer, &first);
  EXPECT_EQ(other_seen_inner, &other);
  EXPECT_EQ(other.cancel_calls, 1);

  CProbeDialog second;
  second.caption = L"Second";
  CModalDriver second_driver;
  second_driver.Expect(L"Second", PressOk);
  EXPECT_EQ(second_driver.Run([&] { return OpenModalDialog(&second, nullptr, IDD_PATTERN_EDIT_JA, 0); }), 1);
  EXPECT_EQ(second.ok_calls, 1);
  EXPECT_EQ(first.ok_calls, 1);  // the first object saw nothing of the second run
}

TEST(DialogProtocol, AMissingTemplateGivesMinusOne) {
  CProbeDialog dialog;
  EXPECT_EQ(OpenModalDialog(&dialog, nullptr, 4242, 1), -1);
  EXPECT_EQ(dialog.window, nullptr);
  EXPECT_EQ(CDialogClass<CProbeDialog>::current_instance, nullptr);
}

TEST(DialogDispatch, MessagesReachTheirOperationsAndOthersAnswerFalse) {
  CProbeDialog dialog;
  NMHDR header{};
  EXPECT_EQ(dialog.DialogProc(nullptr, WM_NOTIFY, 20110, reinterpret_cast<LPARAM>(&header)), TRUE);
  EXPECT_EQ(dialog.notified_id, 20110);
  EXPECT_EQ(dialog.notified_header, &header);
  // An id the base does not know does nothing but is still handled.
  EXPECT_EQ(dialog.DialogProc(nullptr, WM_COMMAND, MAKEWPARAM(20401, EN_CHANGE), 0), TRUE);
  EXPECT_EQ(dialog.ok_calls + dialog.cancel_calls, 0);
  for (UINT message : {UINT{WM_CLOSE}, UINT{WM_TIMER}, UINT{WM_PAINT}, UINT{WM_SIZE}, UINT{WM_KEYDOWN}, UINT{WM_USER + 5}}) {
    EXPECT_EQ(dialog.DialogProc(nullptr, message, 0, 0), FALSE) << message;
  }
  EXPECT_EQ(dialog.ok_calls + dialog.cancel_calls, 0);
}

// A drop of the given files, as the shell would hand it over.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
  size_t characters = 1;
  for (const auto& f : files) characters += f.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& f : files) {
    f.copy(names, f.size());
    names += f.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST(DialogDropFiles, TheFirstFileIsTakenOnlyIntoABuffer) {
  CDialog dialog;
  HDROP drop = MakeDrop({L"C:\\tones\\ringback.ton", L"C:\\other.ton"});
  EXPECT_EQ(dialog.OnDropFiles(drop, nullptr, 0), 0);
  wchar_t buffer[259];
  EXPECT_EQ(dialog.OnDropFiles(drop, buffer, 259), 1);  // releases the drop
  EXPECT_STREQ(buffer, L"C:\\tones\\ringback.ton");

  wchar_t small[8];
  EXPECT_EQ(dialog.OnDropFiles(MakeDrop({L"C:\\tones\\ringback.ton"}), small, 8), 1);
  EXPECT_STREQ(small, L"C:\\tone");  // cut, still terminated
}

}  // namespace
