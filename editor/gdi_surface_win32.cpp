#include "editor/gdi_surface.h"

CGdiSurface::CGdiSurface(HDC dc) : dc_(dc) {}

CGdiSurface::~CGdiSurface() {
  if (original_pen_ != nullptr) SelectObject(dc_, original_pen_);
  if (own_pen_ != nullptr) DeleteObject(own_pen_);
}

void CGdiSurface::FillRectangle(const DrawRect& rect, uint32_t color) {
  HBRUSH brush = CreateSolidBrush(color);
  if (brush == nullptr) return;
  RECT area{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc_, &area, brush);
  DeleteObject(brush);
}

void CGdiSurface::SelectPen(uint32_t color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  if (pen == nullptr) return;
  HGDIOBJ previous = SelectObject(dc_, pen);
  if (original_pen_ == nullptr) original_pen_ = previous;
  if (own_pen_ != nullptr) DeleteObject(own_pen_);
  own_pen_ = pen;
}

void CGdiSurface::MoveTo(int32_t x, int32_t y) { MoveToEx(dc_, x, y, nullptr); }

void CGdiSurface::LineTo(int32_t x, int32_t y) { ::LineTo(dc_, x, y); }

void CGdiSurface::WriteText(int32_t x, int32_t y, const wchar_t* text, int32_t length) {
  TextOutW(dc_, x, y, text, length);
}
