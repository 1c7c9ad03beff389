// What every sonaril-cli command shares: paths in the form the file calls take, the one
// error line, and loading a tone setting with the tool's messages.
#pragma once
#include <cstdio>
#include <string>

#include "files/string.h"
#include "synth/tone_setting.h"

// A UTF-8 path with the wide form the file calls take.
class WidePath {
 public:
  explicit WidePath(const std::string& utf8) { path_.Assign(utf8.c_str()); }
  const wchar_t* get() { return path_.GetWide(); }
  const CString& text() const { return path_; }

 private:
  CString path_;
};

// Writes "sonaril-cli: SUBJECT: REASON" (or without a subject) and returns code.
int Fail(std::FILE* err, int code, const std::string& subject, const std::string& reason);

// Loads the setting; on failure writes the error line, sets *exit_code and returns false.
bool LoadSetting(const std::string& path, ToneSetting* setting, std::FILE* err, int* exit_code);
