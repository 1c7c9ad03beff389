// The drawing surface on a GDI device context: each call is the matching GDI call.
#pragma once
#include <windows.h>

#include "editor/drawing_surface.h"

class CGdiSurface : public CDrawingSurface {
 public:
  // dc is borrowed; it must outlive the surface.
  explicit CGdiSurface(HDC dc);
  // Puts back the pen that was selected before the first SelectPen and deletes its own.
  ~CGdiSurface() override;
  CGdiSurface(const CGdiSurface&) = delete;
  CGdiSurface& operator=(const CGdiSurface&) = delete;

  void FillRectangle(const DrawRect& rect, uint32_t color) override;
  // When no pen can be made the previous one stays in use.
  void SelectPen(uint32_t color) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void WriteText(int32_t x, int32_t y, const wchar_t* text, int32_t length) override;

 private:
  HDC dc_;
  HPEN own_pen_ = nullptr;        // the pen made by the last SelectPen; owned
  HGDIOBJ original_pen_ = nullptr;  // the pen selected before
};
