// What the signal view draws with: pens, lines, text and fills. The window draws through a
// GDI adapter; tests record the calls instead, so the drawing logic stays portable.
#pragma once
#include <cstdint>

// A rectangle in client coordinates; right and bottom lie just outside it.
struct DrawRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

class CDrawingSurface {
 public:
  virtual ~CDrawingSurface() = default;
  // Colours are 0x00BBGGRR.
  virtual void FillRectangle(const DrawRect& rect, uint32_t color) = 0;
  // Later lines are solid, 1 pixel wide, in this colour.
  virtual void SelectPen(uint32_t color) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // A line from the current point up to (not including) x, y, which becomes the current point.
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // length characters of text with their top left corner at x, y, in the surface's font.
  virtual void WriteText(int32_t x, int32_t y, const wchar_t* text, int32_t length) = 0;
};
