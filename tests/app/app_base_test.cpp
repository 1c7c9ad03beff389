// The application class running a real main dialog from the program's template:
// how it ends, what its menu commands open, the language decision at start and
// from the menu, and the single-instance search.
#include "app/app_base.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/language_decision.h"
#include "resources/resource_ids.h"
#include "tests/common/modal_driver.h"
#include "tests/app/test_config.h"

namespace {

using sonaril_test::CModalDriver;
using sonaril_test::ComboContents;
using sonaril_test::CTestConfig;
using sonaril_test::Press;
using sonaril_test::PressKey;
using sonaril_test::ReadCombo;
using sonaril_test::Wide;

const std::wstring kEnglishMain = L"Sonaril - Tone Generator";

std::vector<std::wstring> help_addresses;
void RecordAddress(const wchar_t* address) { help_addresses.push_back(address); }

// The program's main template and a record of what the framework called.
class CTestApp : public CAppBase {
 public:
  CTestApp() { open_address = RecordAddress; }
  ~CTestApp() override { open_address = original_open_; }
  const wchar_t* GetDialogId() override {
    return MAKEINTRESOURCEW(DialogTemplateFor(IDD_MAIN_JA, CurrentLanguage()));
  }
  int CanClose() override {
    ++can_close_calls;
    return allow_close;
  }
  void OnClose(HWND window) override {
    ++close_calls;
    CAppBase::OnClose(window);
  }
  void OnExit() override {
    ++exit_commands;
    CAppBase::OnExit();
  }
  void Exit(HINSTANCE) override { ++exit_calls; }
  void OnCommandLine(const wchar_t* text) override { command_line = text; }
  void OnTimer(WPARAM id) override { timer_id = id; }
  void OnNotify(WPARAM id, LPARAM header) override {
    notify_id = id;
    notify_header = header;
  }
  int OnDropFiles(HDROP drop, wchar_t* buffer, int size) override {
    dropped = drop;
    drop_buffer = buffer;
    drop_size = size;
    return 0;
  }
  INT_PTR RunHere() { return Run(GetModuleHandleW(nullptr), nullptr, L"\"C:\\a b.ton\"", SW_SHOW); }

  int allow_close = 1;
  int can_close_calls = 0;
  int close_calls = 0;
  int exit_commands = 0;
  int exit_calls = 0;
  std::wstring command_line;
  WPARAM timer_id = 0;
  WPARAM notify_id = 0;
  LPARAM notify_header = 0;
  HDROP dropped = nullptr;
  wchar_t* drop_buffer = reinterpret_cast<wchar_t*>(1);
  int drop_size = -1;

 private:
  OpenAddressFunction original_open_ = open_address;
};

void Command(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

class AppBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_.config.language = 0;  // chosen before: no first-start dialog
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    help_addresses.clear();
  }
  CTestConfig config_;
};

TEST_F(AppBaseTest, EveryWayOfEndingReturnsOneAndOnlyTheCloseBoxAsksCanClose) {
  struct Case {
    const char* name;
    void (*end)(HWND);
    int exit_commands;
    int close_calls;
    int can_close_calls;
  };
  const Case cases[] = {
      {"Exit", [](HWND w) { Command(w, IDM_FILE_EXIT); }, 1, 0, 0},
      {"Esc", [](HWND w) { PressKey(w, VK_ESCAPE); }, 1, 0, 0},
      {"close box", [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }, 0, 1, 1},
      {"system menu", [](HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0, 1, 1},
  };
  for (const Case& c : cases) {
    CTestApp app;
    CModalDriver driver;
    driver.Expect(kEnglishMain, c.end);
    EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1) << c.name;
    EXPECT_TRUE(driver.Succeeded()) << c.name;
    EXPECT_EQ(app.exit_commands, c.exit_commands) << c.name;
    EXPECT_EQ(app.close_calls, c.close_calls) << c.name;
    EXPECT_EQ(app.can_close_calls, c.can_close_calls) << c.name;
    EXPECT_EQ(app.exit_calls, 1) << c.name;
    EXPECT_EQ(app.command_line, L"\"C:\\a b.ton\"") << c.name;
    EXPECT_NE(app.main_window, nullptr) << c.name;
  }
  EXPECT_FALSE(config_.FileExists());  // nothing is written at shutdown
}

TEST_F(AppBaseTest, RefusedCloseAndUnknownCommandsKeepTheWindow) {
  CTestApp app;
  app.allow_close = 0;
  bool open_after = false;
  CModalDriver driver;
  driver.Expect(kEnglishMain, [](HWND w) {
    PostMessageW(w, WM_CLOSE, 0, 0);
    for (int id : {1, 5001, 5002, 5004, 5005, 5016, 9999, 20123}) Command(w, id);
  });
  driver.ExpectAgain(kEnglishMain, [&](HWND w) {
    open_after = IsWindowVisible(w) != FALSE;
    Command(w, IDM_FILE_EXIT);
  });
  EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_TRUE(open_after);
  EXPECT_EQ(app.can_close_calls, 1);
  EXPECT_EQ(app.exit_commands, 1);
}

TEST_F(AppBaseTest, AboutOpensOwnedByTheMainWindowInTheRunLanguage) {
  for (int language : {0, 1}) {
    config_.config.language = language;
    CTestApp app;
    const std::wstring main_caption = language == 1 ? Wide(u8"Sonaril - トーン生成ツール") : kEnglishMain;
    const std::wstring about_caption = language == 1 ? Wide(u8"Sonarilについて") : L"About Sonaril";
    HWND owner = nullptr;
    HWND main = nullptr;
    CModalDriver driver;
    driver.Expect(main_caption, [&](HWND w) {
      main = w;
      Command(w, IDM_HELP_ABOUT);
    });
    driver.Expect(about_caption, [&](HWND d) {
      owner = GetWindow(d, GW_OWNER);
      Press(d, IDOK);
    });
    driver.ExpectAgain(main_caption, [](HWND w) { Command(w, IDM_FILE_EXIT); });
    EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1);
    const std::wstring waited_for = driver.waiting_for();
    EXPECT_TRUE(driver.Succeeded()) << language << " waited for " << std::string(waited_for.begin(), waited_for.end());
    EXPECT_EQ(owner, main);
  }
}

TEST_F(AppBaseTest, HelpOpensThePageOfTheRunLanguage) {
  struct Case {
    int language;
    const wchar_t* path;
  };
  const Case cases[] = {{0, L"/en/Sonaril/help"}, {1, L"/soft/Sonaril/help"}};
  for (const Case& c : cases) {
    config_.config.current_language = c.language;
    CTestApp app;
    app.OnCommand(IDM_HELP_TOPICS, 0);
    ASSERT_EQ(help_addresses.size(), 1u);
    EXPECT_EQ(help_addresses[0], std::wstring(config_.config.GetHelpUrl(c.language)));
    const std::wstring address = help_addresses[0];
    EXPECT_EQ(address.compare(address.size() - wcslen(c.path), std::wstring::npos, c.path), 0) << c.language;
    help_addresses.clear();
  }
}

TEST_F(AppBaseTest, ChoosingFromTheMenuStoresAtOnceButKeepsTheRunLanguage) {
  config_.config.language = 1;  // running in Japanese
  CTestApp app;
  const std::wstring main_caption = Wide(u8"Sonaril - トーン生成ツール");
  ComboContents shown;
  CModalDriver driver;
  driver.Expect(main_caption, [](HWND w) { Command(w, IDM_HELP_CHOOSE_LANGUAGE); });
  driver.Expect(Wide(u8"言語設定"), [&](HWND d) {
    shown = ReadCombo(d, IDC_LANGUAGE_LIST);
    SendDlgItemMessageW(d, IDC_LANGUAGE_LIST, CB_SETCURSEL, 0, 0);  // English
    Press(d, IDOK);
  });
  driver.ExpectAgain(main_caption, [&](HWND w) {
    // Saved before the program ends, still running in Japanese.
    EXPECT_EQ(config_.StoredLanguage(), 0);
    EXPECT_EQ(config_.config.current_language, 1);
    Command(w, IDM_FILE_EXIT);
  });
  EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1);
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_EQ(shown.texts, (std::vector<std::wstring>{Wide(u8"英語"), Wide(u8"日本語")}));
  EXPECT_EQ(shown.selected, 1);
  EXPECT_EQ(config_.config.language, 0);
  EXPECT_EQ(config_.config.current_language, 1);
}

TEST_F(AppBaseTest, CancellingTheMenuDialogChangesAndSavesNothing) {
  for (void (*cancel)(HWND) : {+[](HWND d) { Press(d, IDCANCEL); }, +[](HWND d) { PressKey(d, VK_RETURN); },
                               +[](HWND d) { PressKey(d, VK_ESCAPE); }}) {
    config_.config.language = 0;
    CTestApp app;
    CModalDriver driver;
    driver.Expect(kEnglishMain, [](HWND w) { Command(w, IDM_HELP_CHOOSE_LANGUAGE); });
    driver.Expect(L"Choose Language", [&](HWND d) {
      SendDlgItemMessageW(d, IDC_LANGUAGE_LIST, CB_SETCURSEL, 1, 0);
      cancel(d);
    });
    driver.ExpectAgain(kEnglishMain, [](HWND w) { Command(w, IDM_FILE_EXIT); });
    EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1);
    EXPECT_TRUE(driver.Succeeded());
    EXPECT_EQ(config_.config.language, 0);
    EXPECT_EQ(config_.config.current_language, 0);
    EXPECT_FALSE(config_.FileExists());
  }
}

TEST_F(AppBaseTest, AStoredChoiceStartsWithoutAskingAndADamagedOneAsksAgain) {
  for (int stored : {0, 1}) {
    config_.config.language = stored;
    CTestApp app;
    CModalDriver driver;  // expects nothing: any dialog shown now is ended as a failure
    EXPECT_EQ(driver.Run([&] { return app.Init(GetModuleHandleW(nullptr)); }), 1);
    EXPECT_TRUE(driver.Succeeded()) << stored;
    EXPECT_EQ(config_.config.current_language, stored);
    EXPECT_FALSE(config_.FileExists());
  }
  config_.config.language = 7;
  config_.config.current_language = 1;
  CTestApp app;
  bool asked = false;
  CModalDriver driver;
  driver.Expect(L"Choose Language", [&](HWND d) {
    asked = true;
    SendDlgItemMessageW(d, IDC_LANGUAGE_LIST, CB_SETCURSEL, 0, 0);
    Press(d, IDOK);
  });
  // The run's user language decides the dialog's texts; this run is English.
  app.user_language = [] { return LANGID{0x0409}; };
  EXPECT_EQ(driver.Run([&] { return app.Init(GetModuleHandleW(nullptr)); }), 1);
  app.user_language = GetUserDefaultLangID;
  EXPECT_TRUE(asked);
  EXPECT_EQ(config_.config.language, 0);
  EXPECT_EQ(config_.StoredLanguage(), 0);
}

TEST_F(AppBaseTest, DispatchRoutesTheListedMessagesAndLeavesTheRest) {
  CTestApp app;
  NMHDR header{};
  EXPECT_EQ(app.DialogProc(nullptr, WM_TIMER, 77, 0), TRUE);
  EXPECT_EQ(app.timer_id, 77u);
  EXPECT_EQ(app.DialogProc(nullptr, WM_NOTIFY, 20110, reinterpret_cast<LPARAM>(&header)), TRUE);
  EXPECT_EQ(app.notify_id, 20110u);
  EXPECT_EQ(app.notify_header, reinterpret_cast<LPARAM>(&header));
  HDROP drop = reinterpret_cast<HDROP>(0x1234);
  EXPECT_EQ(app.DialogProc(nullptr, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0), TRUE);
  EXPECT_EQ(app.dropped, drop);
  EXPECT_EQ(app.drop_buffer, nullptr);
  EXPECT_EQ(app.drop_size, 0);
  EXPECT_EQ(app.DialogProc(nullptr, WM_COMMAND, MAKEWPARAM(9999, 0), 0), TRUE);
  for (UINT message : {UINT{WM_POWERBROADCAST}, UINT{WM_USER + 5}, UINT{WM_PAINT}, UINT{WM_SIZE}}) {
    EXPECT_EQ(app.DialogProc(nullptr, message, 0, 0), FALSE) << message;
  }
  EXPECT_EQ(app.exit_commands, 0);
}

TEST_F(AppBaseTest, WithoutAnApplicationObjectTheMainDialogHandlesNothing) {
  CTestApp app;
  ASSERT_EQ(current_app, &app);
  current_app = nullptr;
  CModalDriver driver;
  driver.Expect(kEnglishMain, [](HWND w) { EndDialog(w, 5); });
  EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 5);
  EXPECT_EQ(app.main_window, nullptr);  // WM_INITDIALOG never reached the object
  current_app = &app;
}

TEST_F(AppBaseTest, TheApplicationObjectIsPublishedForItsLifetime) {
  {
    CTestApp app;
    EXPECT_EQ(current_app, &app);
    EXPECT_EQ(app.allow_multiple, 1);
    EXPECT_EQ(app.help_cookie, 0u);
  }
  EXPECT_EQ(current_app, nullptr);
}

TEST_F(AppBaseTest, AMissingMainTemplateRunsExitAndReturnsMinusOne) {
  class CNoTemplate : public CTestApp {
    const wchar_t* GetDialogId() override { return CAppBase::GetDialogId(); }
  } app;
  EXPECT_EQ(app.RunHere(), -1);
  EXPECT_EQ(app.exit_calls, 1);
}

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST_F(AppBaseTest, APreviousInstanceIsFoundByTheMainWindowClassOnlyWhenAsked) {
  CTestApp app;
  EXPECT_EQ(app.FindPreviousInstance(), 0);  // allow_multiple 1: never searched
  app.allow_multiple = 0;
  EXPECT_EQ(app.FindPreviousInstance(), 0);  // nothing of that class runs

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = PlainWindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"SONARIL MAIN WINDOW";
  ASSERT_NE(RegisterClassW(&window_class), 0);
  HWND previous = CreateWindowExW(0, L"SONARIL MAIN WINDOW", L"previous", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(previous, nullptr);
  ShowWindow(previous, SW_MINIMIZE);
  EXPECT_EQ(app.FindPreviousInstance(), 1);
  EXPECT_TRUE(IsWindowVisible(previous));
  // Init gives up and so does Run, before any window of its own.
  EXPECT_EQ(app.RunHere(), 0);
  EXPECT_EQ(app.command_line, L"");
  EXPECT_EQ(app.exit_calls, 0);

  // Without a class name the search would match any window: it is not made.
  config_.config.main_class_name.Clear();
  EXPECT_EQ(app.FindPreviousInstance(), 0);
  DestroyWindow(previous);
  UnregisterClassW(L"SONARIL MAIN WINDOW", GetModuleHandleW(nullptr));
}

TEST_F(AppBaseTest, TheRunningMainDialogIsNotAPreviousInstance) {
  CTestApp app;
  int found = -1;
  CModalDriver driver;
  driver.Expect(kEnglishMain, [&](HWND w) {
    CTestApp second;
    second.allow_multiple = 0;
    found = second.FindPreviousInstance();
    current_app = &app;
    Command(w, IDM_FILE_EXIT);
  });
  EXPECT_EQ(driver.Run([&] { return app.RunHere(); }), 1);
  EXPECT_EQ(found, 0);
}

}  // namespace
