// A drawing surface that keeps every call, so tests can compare the exact drawing.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "editor/drawing_surface.h"

namespace sonaril_test {

struct DrawCall {
  enum Kind { Fill, Pen, Move, Line, Text } kind;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t color = 0;  // Fill and Pen
  std::string text;    // Text, as ASCII
  DrawRect rect{};     // Fill

  bool operator==(const DrawCall& other) const {
    return kind == other.kind && x == other.x && y == other.y && color == other.color &&
           text == other.text;
  }
};

inline DrawCall PenCall(uint32_t color) { return {DrawCall::Pen, 0, 0, color, {}, {}}; }
inline DrawCall MoveCall(int32_t x, int32_t y) { return {DrawCall::Move, x, y, 0, {}, {}}; }
inline DrawCall LineCall(int32_t x, int32_t y) { return {DrawCall::Line, x, y, 0, {}, {}}; }
inline DrawCall TextCall(int32_t x, int32_t y, const std::string& text) {
  return {DrawCall::Text, x, y, 0, text, {}};
}

std::string Describe(const DrawCall& call);

// Lets gtest print calls readably when a comparison fails.
inline void PrintTo(const DrawCall& call, std::ostream* out) { *out << Describe(call); }

class CRecordingSurface : public CDrawingSurface {
 public:
  void FillRectangle(const DrawRect& rect, uint32_t color) override;
  void SelectPen(uint32_t color) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void WriteText(int32_t x, int32_t y, const wchar_t* text, int32_t length) override;

  const std::vector<DrawCall>& calls() const { return calls_; }
  // The calls made while the pen had this colour (the pen calls themselves left out).
  std::vector<DrawCall> CallsInColor(uint32_t color) const;
  // Every label text, in drawing order.
  std::vector<std::string> Labels() const;
  std::vector<DrawCall> TextCalls() const;

 private:
  std::vector<DrawCall> calls_;
};

}  // namespace sonaril_test
