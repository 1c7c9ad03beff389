#include "app/child_view.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "app/app_config.h"
#include "app/dpi_scale.h"
#include "app/scroll_arithmetic.h"
#include "app/view_font.h"

namespace {

// The class name the views register under when the configuration names none.
constexpr wchar_t kDefaultChildClassName[] = L"SONARIL CHILD WINDOW";
constexpr COLORREF kBackgroundColour = 0xFFFFFF;
constexpr COLORREF kLineColour = 0xC8C8C8;
constexpr UINT kUserMessage = WM_USER + 1;

// The class name registered for this process; kept for every later creation.
std::wstring& RegisteredClassName() {
  static std::wstring name;
  return name;
}

int ClampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

void DetachWindow(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

// A normal-weight fixed-pitch font; null when the platform refused it.
HFONT CreateFixedPitchFont(const wchar_t* face, int height, int charset) {
  LOGFONTW description{};
  description.lfHeight = height;
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = static_cast<BYTE>(charset);
  description.lfPitchAndFamily = FIXED_PITCH;
  const std::wstring fitted = FitFaceName(face);
  std::copy(fitted.begin(), fitted.end(), description.lfFaceName);
  return CreateFontIndirectW(&description);
}

}  // namespace

bool CChildView::class_registered = false;

CChildView::~CChildView() {
  if (font != nullptr) DeleteObject(font);
  font = nullptr;
  font_copy = nullptr;
  Destroy();
}

int CChildView::Create(HWND parent, CAppEventListener* owner_listener, DWORD style, DWORD ex_style) {
  listener = owner_listener;
  HINSTANCE instance = parent != nullptr
                           ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE))
                           : GetModuleHandleW(nullptr);
  RegisterWindowClass(instance);
  if (window == nullptr) {
    // WM_CREATE stores the handle in window.
    CreateWindowExW(ex_style, RegisteredClassName().c_str(), L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                    parent, nullptr, instance, this);
  }
  return window != nullptr ? 1 : 0;
}

void CChildView::Destroy() {
  if (window == nullptr) return;
  HWND destroyed = window;
  window = nullptr;
  DetachWindow(destroyed);
  DestroyWindow(destroyed);
}

void CChildView::Invalidate() {
  if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

void CChildView::MoveToRect(int left, int top, int right, int bottom) {
  if (window != nullptr) MoveWindow(window, left, top, right - left, bottom - top, TRUE);
}

void CChildView::Move(int x, int y, int width, int height) {
  if (window != nullptr) MoveWindow(window, x, y, width, height, TRUE);
}

void CChildView::Enable(int enable) {
  if (window != nullptr) EnableWindow(window, enable != 0 ? TRUE : FALSE);
}

void CChildView::MoveTo(const RECT& rect) { MoveToRect(rect.left, rect.top, rect.right, rect.bottom); }

int CChildView::MakeFont(const wchar_t* face, int height, int charset) {
  HFONT made = CreateFixedPitchFont(face, height, charset);
  if (made == nullptr) return 0;
  if (font != nullptr) DeleteObject(font);
  font = made;
  font_copy = made;
  return 1;
}

int CChildView::RegisterWindowClass(HINSTANCE instance) {
  if (class_registered) return 1;
  std::wstring name = kDefaultChildClassName;
  if (app_config != nullptr) {
    const wchar_t* configured = app_config->child_class_name.GetWide();
    if (configured != nullptr && configured[0] != L'\0') name = configured;
  }
  WNDCLASSW window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = SharedWindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszClassName = name.c_str();
  if (RegisterClassW(&window_class) == 0) return 0;
  RegisteredClassName() = name;
  class_registered = true;
  return 1;
}

LRESULT CALLBACK CChildView::SharedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* view = reinterpret_cast<CChildView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Destroyed from outside (with its parent): the object must not keep a
    // handle that the system may hand to another window later.
    DetachWindow(window);
    if (view->window == window) view->window = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return view->WindowProc(window, message, wparam, lparam);
}

LRESULT CChildView::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const int x = static_cast<int16_t>(LOWORD(lparam));
  const int y = static_cast<int16_t>(HIWORD(lparam));
  int handled = 0;
  switch (message) {
    case WM_CREATE:
      window = hwnd;
      OnCreate();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (dc != nullptr) {
        OnPaint(dc);
        EndPaint(hwnd, &paint);
      }
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    case WM_SIZE:
      sized = 1;
      handled = OnSize(LOWORD(lparam), HIWORD(lparam), static_cast<int>(wparam));
      break;
    case WM_SETFOCUS: handled = OnSetFocus(); break;
    case WM_KILLFOCUS: handled = OnKillFocus(); break;
    case WM_CLOSE: handled = OnClose(); break;
    case WM_ERASEBKGND: handled = OnEraseBackground(); break;
    case WM_GETMINMAXINFO: handled = OnGetMinMaxInfo(lparam); break;
    case WM_NOTIFY: handled = OnNotify(wparam, lparam); break;
    case WM_KEYDOWN: handled = OnKeyDown(wparam, lparam); break;
    case WM_KEYUP: handled = OnKeyUp(wparam, lparam); break;
    case WM_CHAR: handled = OnChar(wparam, lparam); break;
    case WM_COMMAND: handled = OnCommand(LOWORD(wparam), HIWORD(wparam)); break;
    case WM_HSCROLL: handled = OnHorizontalScroll(LOWORD(wparam)); break;
    case WM_VSCROLL: handled = OnVerticalScroll(LOWORD(wparam)); break;
    case WM_MOUSEMOVE: handled = OnMouseMove(x, y); break;
    case WM_LBUTTONDOWN: handled = OnLeftButtonDown(x, y); break;
    case WM_LBUTTONUP: handled = OnLeftButtonUp(x, y); break;
    case WM_LBUTTONDBLCLK: handled = OnLeftButtonDoubleClick(x, y); break;
    case WM_RBUTTONDOWN: handled = OnRightButtonDown(x, y); break;
    case WM_MOUSEWHEEL: handled = OnMouseWheel(static_cast<int16_t>(HIWORD(wparam))); break;
    case kUserMessage: handled = OnUserMessage(wparam, lparam); break;
    default: return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return handled != 0 ? 0 : DefWindowProcW(hwnd, message, wparam, lparam);
}

int CChildView::OnCreate() { return 0; }
int CChildView::OnClose() { return 0; }
int CChildView::OnSize(int, int, int) { return 0; }
int CChildView::OnDraw(HDC, const RECT&) { return 0; }
int CChildView::OnCommand(int, int) { return 0; }

int CChildView::OnLeftButtonDown(int, int) {
  SetFocus(window);
  SetCapture(window);
  return 1;
}

int CChildView::OnLeftButtonUp(int, int) {
  ReleaseCapture();
  return 1;
}

int CChildView::OnMouseMove(int, int) { return 0; }
int CChildView::OnRightButtonDown(int, int) { return 0; }

int CChildView::OnLeftButtonDoubleClick(int, int) {
  SetFocus(window);
  return 1;
}

int CChildView::OnHorizontalScroll(int request) {
  OnScrollRequest(SB_HORZ, request);
  return 1;
}

int CChildView::OnVerticalScroll(int request) {
  OnScrollRequest(SB_VERT, request);
  return 1;
}

int CChildView::OnMouseWheel(int delta) {
  SetVerticalPosition(ClampToInt(static_cast<int64_t>(v_pos) + WheelLineChange(delta)));
  Invalidate();
  return 1;
}

int CChildView::OnChar(WPARAM, LPARAM) { return 0; }
int CChildView::OnKeyDown(WPARAM, LPARAM) { return 0; }
int CChildView::OnKeyUp(WPARAM, LPARAM) { return 0; }
int CChildView::OnSetFocus() { return 0; }
int CChildView::OnKillFocus() { return 0; }
int CChildView::OnNotify(WPARAM, LPARAM) { return 0; }
int CChildView::OnGetMinMaxInfo(LPARAM) { return 0; }
int CChildView::OnUserMessage(WPARAM, LPARAM) { return 0; }
int CChildView::OnEraseBackground() { return 0; }

int CChildView::OnPaint(HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (memory == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    return 0;
  }
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);

  HBRUSH background = CreateSolidBrush(kBackgroundColour);
  if (background != nullptr) {
    FillRect(memory, &client, background);
    DeleteObject(background);
  }

  CString no_face;
  CString& configured_face = app_config != nullptr ? app_config->font_name : no_face;
  const ViewFont choice = ChooseViewFont(configured_face.GetWide(),
                                         app_config != nullptr ? app_config->font_size : 0, CurrentLanguage());
  // The height is in pixels at 96 DPI; at another DPI the text grows with the window.
  const int height = ScaleForDpi(choice.height, GetDeviceCaps(memory, LOGPIXELSY));
  HFONT paint_font = CreateFixedPitchFont(choice.face.c_str(), height, choice.charset);
  HGDIOBJ old_font = paint_font != nullptr ? SelectObject(memory, paint_font) : nullptr;

  TEXTMETRICW metrics;
  if (GetTextMetricsW(memory, &metrics)) {
    char_width = metrics.tmAveCharWidth;
    line_height = metrics.tmHeight + metrics.tmExternalLeading;
    line_pitch = line_height + 1;
  }

  HPEN pen = CreatePen(PS_SOLID, 1, kLineColour);
  HGDIOBJ old_pen = pen != nullptr ? SelectObject(memory, pen) : nullptr;
  OnDraw(memory, client);

  if (old_pen != nullptr) SelectObject(memory, old_pen);
  if (pen != nullptr) DeleteObject(pen);
  if (old_font != nullptr) SelectObject(memory, old_font);
  if (paint_font != nullptr) DeleteObject(paint_font);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return 1;
}

void CChildView::UpdateVerticalScrollBar() {
  RECT client{};
  if (window != nullptr) GetClientRect(window, &client);
  ScrollBarLayout layout;
  if (line_height != 0 &&
      LayOutScrollBar(content_height, line_height + 1, client.bottom - client.top, start_line, &layout)) {
    SetScrollBar(SB_VERT, layout.maximum, layout.page, layout.position);
  } else {
    ResetScrollBar(SB_VERT);
  }
}

void CChildView::UpdateHorizontalScrollBar() {
  RECT client{};
  if (window != nullptr) GetClientRect(window, &client);
  ScrollBarLayout layout;
  if (LayOutScrollBar(content_width, char_width, client.right - client.left, start_column, &layout)) {
    SetScrollBar(SB_HORZ, layout.maximum, layout.page, layout.position);
  } else {
    ResetScrollBar(SB_HORZ);
  }
}

void CChildView::SetVerticalPosition(int position) {
  const int clamped = ClampScrollPosition(position, v_max, v_page);
  if (clamped == v_pos) return;
  v_pos = clamped;
  Invalidate();
  SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, clamped, 0};
  if (window != nullptr) SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void CChildView::SetHorizontalPosition(int position) {
  const int clamped = ClampScrollPosition(position, h_max, h_page);
  if (clamped == h_pos) return;
  h_pos = clamped;
  Invalidate();
  SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, clamped, 0};
  if (window != nullptr) SetScrollInfo(window, SB_HORZ, &info, TRUE);
}

void CChildView::SetScrollBar(int bar, int maximum, int page, int position) {
  const bool vertical = bar == SB_VERT;
  ScrollBarFields fields = vertical ? ScrollBarFields{v_max, v_pos, v_page, v_step}
                                    : ScrollBarFields{h_max, h_pos, h_page, h_step};
  fields = ApplyScrollBar(fields, maximum, page, position);
  if (vertical) {
    v_max = fields.maximum, v_pos = fields.position, v_page = fields.page, v_step = fields.step;
  } else {
    h_max = fields.maximum, h_pos = fields.position, h_page = fields.page, h_step = fields.step;
  }
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, fields.maximum,
                  static_cast<UINT>(std::max(fields.page, 0)), fields.position, 0};
  if (window != nullptr) SetScrollInfo(window, bar, &info, TRUE);
}

void CChildView::ResetScrollBar(int bar) {
  const ScrollBarFields fields = ResetScrollBarFields();
  if (bar == SB_VERT) {
    v_max = fields.maximum, v_pos = fields.position, v_page = fields.page, v_step = fields.step;
  } else {
    h_max = fields.maximum, h_pos = fields.position, h_page = fields.page, h_step = fields.step;
  }
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 1, 2, 0, 0};
  if (window != nullptr) SetScrollInfo(window, bar, &info, TRUE);
}

void CChildView::OnScrollRequest(int bar, int request) {
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  if (window == nullptr || !GetScrollInfo(window, bar, &info)) return;
  const ScrollBarReading reading{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos,
                                 info.nTrackPos};
  const int64_t target = ScrollRequestTarget(request, reading, bar == SB_VERT ? v_step : h_step);
  if (bar == SB_VERT) {
    SetVerticalPosition(ClampToInt(target));
  } else {
    SetHorizontalPosition(ClampToInt(target));
  }
}
