// A child view on a real parent window: creation, painting through the
// off-screen bitmap, the paint font, scroll bars, the wheel, capture, message
// routing and destruction.
#include "app/child_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/test_config.h"

namespace {

using sonaril_test::CTestConfig;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kLineGrey = 0xC8C8C8;

// Records the handlers' calls and draws one line with the pen it is given.
class CRecordingView : public CChildView {
 public:
  int OnDraw(HDC dc, const RECT& client) override {
    ++draw_calls;
    drawn_client = client;
    MoveToEx(dc, 0, 5, nullptr);
    LineTo(dc, client.right, 5);
    LOGFONTW selected{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(selected), &selected);
    drawn_font = selected;
    return 1;
  }
  int OnCreate() override {
    created_with = window;
    return 0;
  }
  int OnSize(int width, int height, int type) override {
    calls.push_back(L"size " + std::to_wstring(width) + L"x" + std::to_wstring(height) + L" " + std::to_wstring(type));
    return 0;
  }
  int OnMouseMove(int x, int y) override { return Record(L"move", x, y); }
  int OnRightButtonDown(int x, int y) override { return Record(L"right", x, y); }
  int OnCommand(int id, int code) override { return Record(L"command", id, code); }
  int OnKeyDown(WPARAM key, LPARAM) override { return Record(L"keydown", static_cast<int>(key), 0); }
  int OnKeyUp(WPARAM key, LPARAM) override { return Record(L"keyup", static_cast<int>(key), 0); }
  int OnChar(WPARAM key, LPARAM) override { return Record(L"char", static_cast<int>(key), 0); }
  int OnUserMessage(WPARAM w, LPARAM l) override { return Record(L"user", static_cast<int>(w), static_cast<int>(l)); }
  int OnClose() override { return Record(L"close", 0, 0); }

  int Record(const wchar_t* what, int a, int b) {
    calls.push_back(std::wstring(what) + L" " + std::to_wstring(a) + L"," + std::to_wstring(b));
    return handle;
  }
  int handle = 1;
  int draw_calls = 0;
  RECT drawn_client{};
  LOGFONTW drawn_font{};
  HWND created_with = nullptr;
  std::vector<std::wstring> calls;
};

class ChildViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"view parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
  }
  void CreateView(CChildView* view, DWORD style = WS_HSCROLL | WS_VSCROLL) {
    ASSERT_EQ(view->Create(parent_, nullptr, style, 0), 1);
    view->MoveToRect(10, 20, 410, 320);
  }
  CTestConfig config_;
  HWND parent_ = nullptr;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

TEST_F(ChildViewTest, CreatingIsIdempotentAndEveryViewSharesTheOneClass) {
  CRecordingView first;
  CreateView(&first);
  HWND window = first.window;
  EXPECT_EQ(first.created_with, window);
  EXPECT_EQ(GetParent(window), parent_);
  EXPECT_EQ(ClassOf(window), L"SONARIL CHILD WINDOW");
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(first.Create(parent_, nullptr, 0, 0), 1);
  EXPECT_EQ(first.window, window);  // no second window

  CRecordingView second;
  EXPECT_EQ(second.RegisterWindowClass(GetModuleHandleW(nullptr)), 1);  // already registered
  CreateView(&second);
  EXPECT_NE(second.window, window);
  EXPECT_EQ(ClassOf(second.window), L"SONARIL CHILD WINDOW");

  CRecordingView orphan;
  EXPECT_EQ(orphan.Create(nullptr, nullptr, 0, 0), 0);  // a child needs a parent
  EXPECT_EQ(orphan.window, nullptr);
}

TEST_F(ChildViewTest, MovingAndSizingReachTheWindow) {
  CRecordingView view;
  CreateView(&view);
  RECT client;
  GetClientRect(view.window, &client);
  EXPECT_EQ(view.sized, 1);
  view.Move(0, 0, 200, 100);
  GetWindowRect(view.window, &client);
  EXPECT_EQ(client.right - client.left, 200);
  EXPECT_EQ(client.bottom - client.top, 100);
  view.MoveTo(RECT{5, 5, 305, 155});
  GetWindowRect(view.window, &client);
  EXPECT_EQ(client.right - client.left, 300);
  view.Enable(0);
  EXPECT_FALSE(IsWindowEnabled(view.window));
  view.Enable(1);
  EXPECT_TRUE(IsWindowEnabled(view.window));
}

TEST_F(ChildViewTest, PaintingDrawsOnWhiteWithTheLinePenAndCopiesTheBitmap) {
  CRecordingView view;
  CreateView(&view, 0);
  HDC screen = GetDC(view.window);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
  SelectObject(target, bitmap);
  // Paint into an off-screen target with a colour the view must cover.
  RECT all{0, 0, 400, 300};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(target, &all, red);
  DeleteObject(red);
  EXPECT_EQ(view.OnPaint(target), 1);
  EXPECT_EQ(view.draw_calls, 1);
  EXPECT_EQ(view.drawn_client.right, 400);
  EXPECT_EQ(view.drawn_client.bottom, 300);
  EXPECT_EQ(GetPixel(target, 200, 5), kLineGrey);
  EXPECT_EQ(GetPixel(target, 200, 100), kWhite);
  EXPECT_EQ(GetPixel(target, 399, 299), kWhite);
  DeleteDC(target);
  DeleteObject(bitmap);
  ReleaseDC(view.window, screen);

  // The window's own paint message goes the same way.
  InvalidateRect(view.window, nullptr, FALSE);
  UpdateWindow(view.window);
  EXPECT_EQ(view.draw_calls, 2);
}

TEST_F(ChildViewTest, ThePaintFontFollowsTheConfigurationAndSetsTheMetrics) {
  struct Case {
    int language;
    int configured_size;
    const wchar_t* configured_face;
    int charset;
    int height;
    const wchar_t* face;
  };
  const Case cases[] = {
      {0, 0, L"", ANSI_CHARSET, 14, L"Courier New"},
      {0, 20, L"", ANSI_CHARSET, 20, L"Courier New"},
      {1, 0, L"", SHIFTJIS_CHARSET, 12, L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF"},
      {1, 16, L"Lucida Console", SHIFTJIS_CHARSET, 16, L"Lucida Console"},
  };
  for (const Case& c : cases) {
    config_.config.current_language = c.language;
    config_.config.font_size = c.configured_size;
    config_.config.font_name.Assign(c.configured_face);
    CRecordingView view;
    CreateView(&view, 0);
    InvalidateRect(view.window, nullptr, FALSE);
    UpdateWindow(view.window);
    ASSERT_EQ(view.draw_calls, 1);
    EXPECT_EQ(view.drawn_font.lfHeight, c.height) << c.language << "/" << c.configured_size;
    EXPECT_EQ(view.drawn_font.lfCharSet, c.charset);
    EXPECT_EQ(view.drawn_font.lfWeight, FW_NORMAL);
    EXPECT_EQ(view.drawn_font.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_STREQ(view.drawn_font.lfFaceName, c.face);
    // The metrics come from the font the system actually picked.
    EXPECT_GT(view.char_width, 0);
    EXPECT_GT(view.line_height, 0);
    EXPECT_EQ(view.line_pitch, view.line_height + 1);
  }
}

TEST_F(ChildViewTest, PositionsAreClampedToWhatTheBarShows) {
  CRecordingView view;
  CreateView(&view);
  view.SetHorizontalPosition(-5);
  EXPECT_EQ(view.h_pos, 0);
  view.SetScrollBar(SB_HORZ, 1000, 200, 0);
  EXPECT_EQ(view.h_step, 1);
  view.SetHorizontalPosition(900);
  EXPECT_EQ(view.h_pos, 801);
  EXPECT_EQ(GetScrollPos(view.window, SB_HORZ), 801);
  view.SetScrollBar(SB_VERT, 100, 500, 0);  // page cut to the maximum
  EXPECT_EQ(view.v_page, 100);
  view.SetVerticalPosition(50);
  EXPECT_EQ(view.v_pos, 1);
}

TEST_F(ChildViewTest, ScrollRequestsMoveByStepPageAndToTheEnds) {
  CRecordingView view;
  CreateView(&view);
  view.SetScrollBar(SB_VERT, 1000, 200, 500);
  struct Case {
    int request;
    int expected;
  };
  const Case cases[] = {
      {SB_LINEDOWN, 501}, {SB_LINEUP, 500}, {SB_PAGEDOWN, 700}, {SB_PAGEUP, 500},
      {SB_BOTTOM, 801},   {SB_TOP, 0},      {SB_ENDSCROLL, 0},  {SB_PAGEUP, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageW(view.window, WM_VSCROLL, MAKEWPARAM(c.request, 0), 0), 0);
    EXPECT_EQ(view.v_pos, c.expected) << c.request;
    EXPECT_EQ(GetScrollPos(view.window, SB_VERT), c.expected) << c.request;
  }
  view.SetScrollBar(SB_HORZ, 300, 100, 0);
  SendMessageW(view.window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), 0);
  EXPECT_EQ(view.h_pos, 100);
  SendMessageW(view.window, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
  EXPECT_EQ(view.h_pos, 201);
}

TEST_F(ChildViewTest, TheWheelMovesTwoLinesPerNotch) {
  CRecordingView view;
  CreateView(&view);
  view.SetScrollBar(SB_VERT, 1000, 10, 10);
  struct Case {
    short delta;
    int expected;
  };
  const Case cases[] = {{240, 6}, {-120, 8}, {60, 8}, {-1200, 28}, {32767, 0}};
  for (const Case& c : cases) {
    SendMessageW(view.window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
    EXPECT_EQ(view.v_pos, c.expected) << c.delta;
  }
}

TEST_F(ChildViewTest, BarsFollowContentAndFontAndResetWithoutContent) {
  CRecordingView view;
  CreateView(&view);
  view.line_height = 15;
  view.char_width = 8;
  view.content_height = 100;
  view.content_width = 50;
  view.start_line = 3;
  RECT client;
  GetClientRect(view.window, &client);
  view.UpdateVerticalScrollBar();
  const int lines = client.bottom / 16;
  EXPECT_EQ(view.v_page, lines);
  EXPECT_EQ(view.v_max, lines / 2 + 100);
  EXPECT_EQ(view.v_pos, 3);
  view.UpdateHorizontalScrollBar();
  const int columns = client.right / 8;
  EXPECT_EQ(view.h_page, std::min(columns, columns / 2 + 50));
  EXPECT_EQ(view.h_max, columns / 2 + 50);
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view.window, SB_HORZ, &info);
  EXPECT_EQ(info.nMax, view.h_max);

  view.content_height = 0;
  view.char_width = 0;
  view.UpdateVerticalScrollBar();
  view.UpdateHorizontalScrollBar();
  for (int* field : {&view.v_max, &view.v_page, &view.v_step, &view.h_max, &view.h_page, &view.h_step}) {
    EXPECT_EQ(*field, 1);
  }
  EXPECT_EQ(view.v_pos, 0);
  EXPECT_EQ(view.h_pos, 0);
}

TEST_F(ChildViewTest, TheLeftButtonTakesFocusAndCapturesUntilReleased) {
  CRecordingView view;
  CreateView(&view);
  EXPECT_EQ(SendMessageW(view.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 0);
  EXPECT_EQ(GetCapture(), view.window);
  EXPECT_EQ(GetFocus(), view.window);
  SendMessageW(view.window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  SetFocus(parent_);
  SendMessageW(view.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(GetFocus(), view.window);
}

TEST_F(ChildViewTest, MessagesReachTheirHandlersWithSignedCoordinates) {
  CRecordingView view;
  CreateView(&view);
  view.calls.clear();
  SendMessageW(view.window, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-3), 5));
  SendMessageW(view.window, WM_RBUTTONDOWN, 0, MAKELPARAM(7, static_cast<WORD>(-8)));
  SendMessageW(view.window, WM_COMMAND, MAKEWPARAM(42, 3), 0);
  SendMessageW(view.window, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(view.window, WM_KEYUP, VK_LEFT, 0);
  SendMessageW(view.window, WM_CHAR, L'a', 0);
  SendMessageW(view.window, WM_USER + 1, 9, 10);
  SendMessageW(view.window, WM_CLOSE, 0, 0);
  SendMessageW(view.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(321, 123));
  const std::vector<std::wstring> expected = {
      L"move -3,5", L"right 7,-8", L"command 42,3", L"keydown 37,0", L"keyup 37,0",
      L"char 97,0", L"user 9,10",  L"close 0,0",    L"size 321x123 0"};
  EXPECT_EQ(view.calls, expected);
  // A handled WM_CLOSE stops there; an unhandled one reaches DefWindowProcW,
  // which destroys the window.
  EXPECT_TRUE(IsWindow(view.window));
  view.handle = 0;
  EXPECT_EQ(SendMessageW(view.window, WM_USER + 1, 0, 0), 0);
  SendMessageW(view.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(view.window, nullptr);
}

TEST_F(ChildViewTest, DestroyingLeavesNoHandleBehind) {
  CRecordingView view;
  CreateView(&view);
  HWND window = view.window;
  view.Destroy();
  EXPECT_EQ(view.window, nullptr);
  EXPECT_FALSE(IsWindow(window));
  view.Destroy();  // twice is harmless

  // A parent destroyed first takes the view's window with it; the object then
  // forgets the handle instead of destroying whatever gets it next.
  auto* orphaned = new CRecordingView;
  CreateView(orphaned);
  window = orphaned->window;
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(orphaned->window, nullptr);
  delete orphaned;
}

TEST_F(ChildViewTest, TheDestructorDeletesTheFontAndTheWindow) {
  HWND window = nullptr;
  HFONT made = nullptr;
  {
    CRecordingView view;
    CreateView(&view);
    window = view.window;
    EXPECT_EQ(view.MakeFont(L"Courier New", 14, ANSI_CHARSET), 1);
    made = view.font;
    EXPECT_EQ(view.font_copy, made);
    EXPECT_EQ(view.MakeFont(std::wstring(80, L'x').c_str(), 14, ANSI_CHARSET), 1);  // overlong face is cut
    EXPECT_EQ(GetObjectType(made), 0u);  // the first font was deleted, not leaked
    made = view.font;
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetObjectType(made), 0u);
}

}  // namespace
