// Helpers for tests that create real windows from the program's resources.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace sonaril_test {

// UTF-16 form of UTF-8 text. Expected texts are written as u8"..." literals, so Japanese
// texts are compared exactly as the resource compiler should have stored them.
std::wstring Utf16(const char* utf8);

// The module whose resources are under test: the test executable itself.
HINSTANCE ResourceModule();

// Registers the common control classes the templates use (list views); once per process.
void RegisterCommonControls();

// A hidden, modeless instance of a dialog template with a procedure that handles nothing;
// destroyed with the object. window() is null when the template could not be created.
class CHiddenDialog {
 public:
  explicit CHiddenDialog(int template_id);
  ~CHiddenDialog();
  CHiddenDialog(const CHiddenDialog&) = delete;
  CHiddenDialog& operator=(const CHiddenDialog&) = delete;
  HWND window() const { return window_; }

 private:
  HWND window_;
};

// One control as the compiled extended dialog template stores it (before any control class
// adjusts its own style).
struct TemplateItem {
  DWORD style;
  int x, y, w, h;  // dialog units
  int id;
};
// The controls of a dialog template in order; empty when the resource is missing, is not an
// extended template, or is damaged.
std::vector<TemplateItem> ReadTemplateItems(int template_id);

// The whole text of a window.
std::wstring WindowText(HWND window);
// The class name of a window.
std::wstring ClassName(HWND window);

}  // namespace sonaril_test
