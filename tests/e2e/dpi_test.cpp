// The real program at 144 DPI, as Wine reports it when the prefix's LogPixels says so: the
// list columns grow with the DPI and hold their whole headings.
#include <gtest/gtest.h>

#include <utility>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

#include <commctrl.h>

namespace sonaril_e2e {
namespace {

// The heading's text width in the list's own font, measured inside the program.
int TextWidth(HWND list, const std::wstring& text) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(list, &process_id);
  CRemoteMemory memory(process_id, (text.size() + 1) * sizeof(wchar_t));
  if (!memory.Write(0, text.c_str(), (text.size() + 1) * sizeof(wchar_t))) return -1;
  return static_cast<int>(Send(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(memory.address())));
}

TEST(Dpi, At144DpiTheListColumnsGrowAndHoldTheirWholeHeadings) {
  // e2e tests run alone: no other program starts while the prefix says 144.
  const wchar_t* const key = L"Control Panel\\Desktop";
  const DWORD dpi = 144;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi), ERROR_SUCCESS);
  CMainWindow main;
  const bool started = main.Start();
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels");
  ASSERT_TRUE(started);
  for (const auto& [id, columns] : {std::pair{kStepList, 3}, std::pair{kToneList, 6}}) {
    HWND list = GetDlgItem(main.window, id);
    for (int column = 0; column < columns; ++column) {
      const std::wstring heading = ListColumnHeading(main.window, id, column);
      const int width = static_cast<int>(Send(list, LVM_GETCOLUMNWIDTH, column, 0));
      const int text = TextWidth(list, heading);
      // 1.5 times the width at 96 DPI (100 or 50), and room for the heading with the
      // header's margins: 6 pixels on each side at 96 DPI, 9 at 144.
      EXPECT_GE(width, column == 0 ? 150 : 75) << Narrow(heading);
      EXPECT_GE(width, text + 18) << Narrow(heading) << ": text " << text;
      EXPECT_GT(text, 20) << Narrow(heading);
    }
  }
}

}  // namespace
}  // namespace sonaril_e2e
