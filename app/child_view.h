// Custom-drawn child windows: one registered window class, one shared window
// procedure that routes every message to a virtual handler, painting through an
// off-screen bitmap, and the window's own scroll bars. A derived view overrides
// OnDraw (and whatever input it cares about); a handler that returns nonzero
// has handled its message, zero passes it on to DefWindowProcW.
#pragma once

#include <windows.h>

#include "app/event_listener.h"

// Root of the drawing classes.
class CDraw {
 public:
  virtual ~CDraw() = default;
  // Hooks for drawing classes that need to be told when they are put in use
  // and taken out of it; nothing here.
  virtual void Attach() {}
  virtual void Detach() {}
};

class CChildView : public CDraw {
 public:
  CChildView() = default;
  // Deletes the font and destroys the window (after detaching it from this
  // object, so late messages go to DefWindowProcW).
  ~CChildView() override;
  CChildView(const CChildView&) = delete;
  CChildView& operator=(const CChildView&) = delete;

  // Registers the class with the parent's instance and, unless the window
  // already exists, creates it as a visible child of parent with the extra
  // style and extended style, empty title, position and size 0. listener is
  // kept for derived views (not owned). Returns 1 when a window exists.
  virtual int Create(HWND parent, CAppEventListener* listener, DWORD style, DWORD ex_style);
  // Detaches and destroys the window; window becomes null.
  virtual void Destroy();
  // Repaints the whole client area without erasing.
  virtual void Invalidate();
  virtual void MoveToRect(int left, int top, int right, int bottom);
  virtual void Move(int x, int y, int width, int height);
  virtual void Enable(int enable);
  // MoveToRect with a rectangle.
  virtual void MoveTo(const RECT& rect);
  // Makes the fixed-pitch font kept in font (face cut to 31 characters);
  // deletes the one made before. Returns 1 when the font was made.
  virtual int MakeFont(const wchar_t* face, int height, int charset);
  // Registers the child view window class once per process; 1 when it is
  // registered (now or before), 0 when the platform refused.
  virtual int RegisterWindowClass(HINSTANCE instance);
  // The message table: calls the handlers below.
  virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  // Handlers: nonzero means handled. Coordinates are client pixels.
  virtual int OnCreate();
  virtual int OnClose();
  virtual int OnSize(int width, int height, int size_type);
  // Draws the view into a memory context that is already white, holds the
  // paint font and a light grey pen; client is the client rectangle.
  virtual int OnDraw(HDC dc, const RECT& client);
  virtual int OnCommand(int id, int code);
  // Takes the focus and captures the mouse; handled.
  virtual int OnLeftButtonDown(int x, int y);
  // Releases the capture; handled.
  virtual int OnLeftButtonUp(int x, int y);
  virtual int OnMouseMove(int x, int y);
  virtual int OnRightButtonDown(int x, int y);
  // Takes the focus; handled.
  virtual int OnLeftButtonDoubleClick(int x, int y);
  // Scroll bar requests (SB_LINEUP ... SB_BOTTOM); handled.
  virtual int OnHorizontalScroll(int request);
  virtual int OnVerticalScroll(int request);
  // Two lines per notch, towards the top for a positive delta; handled.
  virtual int OnMouseWheel(int delta);
  virtual int OnChar(WPARAM wparam, LPARAM lparam);
  virtual int OnKeyDown(WPARAM wparam, LPARAM lparam);
  virtual int OnKeyUp(WPARAM wparam, LPARAM lparam);
  virtual int OnSetFocus();
  virtual int OnKillFocus();
  virtual int OnNotify(WPARAM wparam, LPARAM lparam);
  virtual int OnGetMinMaxInfo(LPARAM lparam);
  // WM_USER + 1.
  virtual int OnUserMessage(WPARAM wparam, LPARAM lparam);
  virtual int OnEraseBackground();
  // Double-buffered paint: white background, the paint font, then OnDraw.
  virtual int OnPaint(HDC dc);
  // Sets the bars from the content size, the font metrics and the client size.
  virtual void UpdateVerticalScrollBar();
  virtual void UpdateHorizontalScrollBar();
  // Clamps to 0 ... maximum - page + 1, stores, repaints and moves the thumb.
  virtual void SetVerticalPosition(int position);
  virtual void SetHorizontalPosition(int position);

  // Stores maximum, page (at most maximum), position and step 1 for bar
  // (SB_HORZ or SB_VERT) and sets the bar; -1 keeps a current value.
  void SetScrollBar(int bar, int maximum, int page, int position);

  HWND window = nullptr;
  int content_width = 0;   // content width in character columns (0: no horizontal bar)
  int content_height = 0;  // content height in lines (0: no vertical bar)
  int start_column = 0;    // positions the bars are set to by the updates
  int start_line = 0;
  int char_width = 1;   // average character width of the paint font, pixels
  int line_height = 1;  // font height plus external leading, pixels
  int line_pitch = 2;   // line_height + 1
  int h_max = 300;
  int h_pos = 0;
  int h_page = 1;
  int h_step = 2;
  int v_max = 1;
  int v_pos = 0;
  int v_page = 1;
  int v_step = 2;
  CAppEventListener* listener = nullptr;  // not owned
  int sized = 0;                          // 1 once WM_SIZE has arrived
  HFONT font = nullptr;                   // owned; made by MakeFont
  HFONT font_copy = nullptr;              // the same font, not owned

 private:
  // The message entry of the class: finds the object in the window's user data.
  static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void ResetScrollBar(int bar);
  void OnScrollRequest(int bar, int request);
  static bool class_registered;
};
