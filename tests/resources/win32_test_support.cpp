#include "tests/resources/win32_test_support.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace sonaril_test {

std::wstring Utf16(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  if (length <= 0) return L"<invalid UTF-8>";
  std::vector<wchar_t> text(length);
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, text.data(), length);
  return std::wstring(text.data());
}

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

void RegisterCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
}

namespace {
// Returning FALSE for WM_INITDIALOG as well keeps the dialog manager from moving the focus
// (and with it the default button) while the template is inspected.
INT_PTR CALLBACK HandleNothing(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

CHiddenDialog::CHiddenDialog(int template_id)
    : window_(CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(template_id), nullptr,
                                 HandleNothing, 0)) {}

CHiddenDialog::~CHiddenDialog() {
  if (window_ != nullptr) DestroyWindow(window_);
}

namespace {

// Reads the fields of a compiled template in order, refusing to pass its end.
class CTemplateReader {
 public:
  CTemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool failed() const { return failed_; }
  WORD Word() { return static_cast<WORD>(Read(2)); }
  DWORD Dword() { return static_cast<DWORD>(Read(4)); }
  int Short() { return static_cast<short>(Read(2)); }
  // A name or ordinal field: 0, or 0xFFFF and an ordinal, or a terminated UTF-16 string.
  void SkipNameOrOrdinal() {
    const WORD first = Word();
    if (first == 0xFFFF) {
      Word();
    } else {
      for (WORD c = first; c != 0 && !failed_; c = Word()) {
      }
    }
  }
  void Skip(size_t bytes) {
    if (bytes > size_ - offset_) {
      failed_ = true;
    } else {
      offset_ += bytes;
    }
  }
  void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

 private:
  uint32_t Read(size_t bytes) {
    uint32_t value = 0;
    if (failed_ || bytes > size_ - offset_) {
      failed_ = true;
      return 0;
    }
    for (size_t i = 0; i < bytes; ++i) value |= uint32_t{data_[offset_ + i]} << (8 * i);
    offset_ += bytes;
    return value;
  }

  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
  bool failed_ = false;
};

}  // namespace

std::vector<TemplateItem> ReadTemplateItems(int template_id) {
  std::vector<TemplateItem> items;
  HMODULE module = ResourceModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(template_id), RT_DIALOG);
  if (found == nullptr) return items;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  if (data == nullptr) return items;
  CTemplateReader reader(data, SizeofResource(module, found));

  const WORD version = reader.Word();
  const WORD signature = reader.Word();
  if (version != 1 || signature != 0xFFFF) return items;
  reader.Dword();  // help id
  reader.Dword();  // extended style
  const DWORD style = reader.Dword();
  const WORD count = reader.Word();
  reader.Skip(8);  // x, y, cx, cy
  reader.SkipNameOrOrdinal();  // menu
  reader.SkipNameOrOrdinal();  // window class
  reader.SkipNameOrOrdinal();  // title
  if (style & (DS_SETFONT | DS_FIXEDSYS)) {
    reader.Skip(6);  // point size, weight, italic, character set
    reader.SkipNameOrOrdinal();  // typeface
  }
  for (WORD i = 0; i < count && !reader.failed(); ++i) {
    reader.AlignToDword();
    TemplateItem item{};
    reader.Dword();  // help id
    reader.Dword();  // extended style
    item.style = reader.Dword();
    item.x = reader.Short();
    item.y = reader.Short();
    item.w = reader.Short();
    item.h = reader.Short();
    item.id = static_cast<int>(reader.Dword());
    reader.SkipNameOrOrdinal();  // class
    reader.SkipNameOrOrdinal();  // text
    reader.Skip(reader.Word());  // creation data
    if (!reader.failed()) items.push_back(item);
  }
  if (reader.failed()) items.clear();
  return items;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> text(length + 2);
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), copied > 0 ? copied : 0);
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

}  // namespace sonaril_test
