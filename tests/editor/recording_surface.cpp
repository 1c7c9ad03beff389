#include "tests/editor/recording_surface.h"

#include <ostream>

namespace sonaril_test {

std::string Describe(const DrawCall& call) {
  switch (call.kind) {
    case DrawCall::Fill:
      return "Fill(" + std::to_string(call.rect.left) + "," + std::to_string(call.rect.top) + "," +
             std::to_string(call.rect.right) + "," + std::to_string(call.rect.bottom) + ")";
    case DrawCall::Pen: return "Pen(" + std::to_string(call.color) + ")";
    case DrawCall::Move: return "Move(" + std::to_string(call.x) + "," + std::to_string(call.y) + ")";
    case DrawCall::Line: return "Line(" + std::to_string(call.x) + "," + std::to_string(call.y) + ")";
    case DrawCall::Text:
      return "Text(" + std::to_string(call.x) + "," + std::to_string(call.y) + ",\"" + call.text + "\")";
  }
  return "?";
}

void CRecordingSurface::FillRectangle(const DrawRect& rect, uint32_t color) {
  DrawCall call{DrawCall::Fill, 0, 0, color, {}, rect};
  calls_.push_back(call);
}

void CRecordingSurface::SelectPen(uint32_t color) { calls_.push_back(PenCall(color)); }
void CRecordingSurface::MoveTo(int32_t x, int32_t y) { calls_.push_back(MoveCall(x, y)); }
void CRecordingSurface::LineTo(int32_t x, int32_t y) { calls_.push_back(LineCall(x, y)); }

void CRecordingSurface::WriteText(int32_t x, int32_t y, const wchar_t* text, int32_t length) {
  std::string ascii;
  for (int32_t i = 0; i < length; ++i) ascii.push_back(static_cast<char>(text[i]));
  calls_.push_back(TextCall(x, y, ascii));
}

std::vector<DrawCall> CRecordingSurface::CallsInColor(uint32_t color) const {
  std::vector<DrawCall> result;
  bool in_color = false;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawCall::Pen) {
      in_color = call.color == color;
    } else if (in_color && (call.kind == DrawCall::Move || call.kind == DrawCall::Line)) {
      result.push_back(call);
    }
  }
  return result;
}

std::vector<std::string> CRecordingSurface::Labels() const {
  std::vector<std::string> result;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawCall::Text) result.push_back(call.text);
  }
  return result;
}

std::vector<DrawCall> CRecordingSurface::TextCalls() const {
  std::vector<DrawCall> result;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawCall::Text) result.push_back(call);
  }
  return result;
}

}  // namespace sonaril_test
