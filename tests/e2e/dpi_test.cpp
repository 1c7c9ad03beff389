// The real program at 144 DPI, as Wine reports it when the prefix's LogPixels says so: the
// list columns grow with the DPI, so their headings are shown whole.
#include "tests/e2e/main_window_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// Sets the DPI programs started from now on see, and puts the previous setting back at the
// end (e2e tests run alone, so no other test starts a program meanwhile).
class CSystemDpi {
 public:
  explicit CSystemDpi(DWORD dpi) {
    DWORD size = sizeof previous_;
    had_value_ = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr,
                              &previous_, &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~CSystemDpi() {
    if (had_value_) {
      Set(previous_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
    }
  }
  CSystemDpi(const CSystemDpi&) = delete;
  CSystemDpi& operator=(const CSystemDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &dpi, sizeof dpi);
  }
  DWORD previous_ = 96;
  bool had_value_ = false;
};

int ColumnWidth(HWND window, int list, int column) {
  return static_cast<int>(Send(GetDlgItem(window, list), LVM_GETCOLUMNWIDTH, column, 0));
}

// The heading's text width in the list's own font, measured inside the program.
int TextWidth(HWND window, int list, const std::wstring& text) {
  HWND control = GetDlgItem(window, list);
  DWORD process_id = 0;
  GetWindowThreadProcessId(control, &process_id);
  CRemoteMemory memory(process_id, (text.size() + 1) * sizeof(wchar_t));
  if (!memory.ok() || !memory.Write(0, text.c_str(), (text.size() + 1) * sizeof(wchar_t))) return -1;
  return static_cast<int>(
      Send(control, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(memory.address())));
}

struct ColumnCase {
  int list;
  int column;
  const wchar_t* heading;
  int least_width;  // 1.5 times the width at 96 DPI
};

TEST(Dpi, At144DpiTheListColumnsGrowAndHoldTheirWholeHeadings) {
  CMainWindow main;
  {
    CSystemDpi dpi(144);
    ASSERT_TRUE(main.Start());
  }
  RECT client = {};
  GetClientRect(main.window, &client);
  EXPECT_GT(client.right, 1100) << "the dialog did not grow: Wine did not report 144 DPI";
  const ColumnCase cases[] = {
      {kStepList, 0, L"ON/OFF", 150},    {kStepList, 1, L"Time", 75},
      {kStepList, 2, L"Fade In / Fade Out", 75},
      {kToneList, 0, L"TYPE", 150},      {kToneList, 1, L"Frequency", 75},
      {kToneList, 2, L"Phase", 75},      {kToneList, 3, L"Start Time", 75},
      {kToneList, 4, L"End Time", 75},   {kToneList, 5, L"Level", 75},
  };
  for (const ColumnCase& c : cases) {
    EXPECT_EQ(ListColumnHeading(main.window, c.list, c.column), c.heading);
    const int width = ColumnWidth(main.window, c.list, c.column);
    const int text = TextWidth(main.window, c.list, c.heading);
    ASSERT_GT(text, 0) << Narrow(c.heading);
    EXPECT_GE(width, c.least_width) << Narrow(c.heading);
    // The header keeps 6 pixels on each side at 96 DPI, 9 at 144.
    EXPECT_GE(width, text + 18) << Narrow(c.heading) << ": text " << text;
  }
}

}  // namespace
}  // namespace sonaril_e2e
