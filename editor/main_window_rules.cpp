#include "editor/main_window_rules.h"

#include <cwchar>

#include "files/file_name.h"
#include "files/string.h"
#include "synth/number_parsing.h"
#include "synth/sampling_frequencies.h"

std::wstring FirstCommandLineToken(const wchar_t* line) {
  if (line == nullptr) return std::wstring();
  const wchar_t* p = line;
  while (*p != L'\0') {
    while (*p == L' ') ++p;
    if (*p == L'\0') break;
    const wchar_t* start = p;
    const wchar_t* end = nullptr;
    if (*p == L'"') {
      start = ++p;
      while (*p != L'\0' && *p != L'"') ++p;
      end = p;
      if (*p == L'"') ++p;
    } else {
      while (*p != L'\0' && *p != L' ') ++p;
      end = p;
    }
    if (end > start) return std::wstring(start, end);
  }
  return std::wstring();
}

int32_t SamplingFrequencyIndex(int32_t hertz) {
  int32_t index = 0;
  for (int32_t offered : kOfferedSamplingFrequencies) {
    if (offered == hertz) return index;
    ++index;
  }
  return -1;
}

int32_t ReadRepeatField(std::wstring_view text) { return ClampRepeat(ParseRepeatCount(text)); }

std::wstring ToneFileSavePath(const wchar_t* chosen) {
  CString utf8(chosen);
  if (utf8.data == nullptr) return std::wstring();
  CFileName name;
  if (!name.SetPath(utf8.data)) return std::wstring();
  name.SetExtension("ton");
  CString joined;
  joined.Assign(name.full_path);
  const wchar_t* wide = joined.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

int32_t ChooseDeviceIndex(const wchar_t* const* names, int32_t count, const wchar_t* configured) {
  if (count < 1) return -1;
  int32_t chosen = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (names[i] != nullptr && configured != nullptr && std::wcscmp(names[i], configured) == 0) {
      chosen = i;
    }
  }
  return chosen;
}

MainCommand RouteMainCommand(int32_t id, int32_t code) {
  constexpr int32_t kSelectionChanged = 1;  // CBN_SELCHANGE
  switch (id) {
    case 2: return MainCommand::kExit;  // IDCANCEL: the Esc key
    case 5001: return MainCommand::kNew;
    case 5002: return MainCommand::kOpen;
    case 5004: return MainCommand::kSave;
    case 5005: return MainCommand::kSaveAs;
    case 5019: return MainCommand::kExit;
    case 5030: return MainCommand::kToneString;
    case 5040: return MainCommand::kOpenFromLibrary;
    case 5041: return MainCommand::kCheckRecording;
    case 5042: return MainCommand::kDigits;
    case 20105: return MainCommand::kZoomIn;
    case 20106: return MainCommand::kZoomOut;
    case 20111: return MainCommand::kAddStep;
    case 20112: return MainCommand::kModifyStep;
    case 20113: return MainCommand::kDeleteStep;
    case 20114: return MainCommand::kStepUp;
    case 20115: return MainCommand::kStepDown;
    case 20117: return MainCommand::kAddTone;
    case 20118: return MainCommand::kModifyTone;
    case 20119: return MainCommand::kDeleteTone;
    case 20123: return MainCommand::kCreateTone;
    case 20124: return MainCommand::kExport;
    case 20125: return code == kSelectionChanged ? MainCommand::kChooseDevice : MainCommand::kIgnore;
    case 20126: return MainCommand::kRepeatPlay;
    case 20127: return MainCommand::kStop;
    case 20128: return MainCommand::kPlay;
    case 20129: return MainCommand::kPause;
    default: return MainCommand::kFramework;
  }
}
