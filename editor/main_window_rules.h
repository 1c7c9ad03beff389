// The main window's small rules that need no window: how the command line names a file,
// which list entries are selected, how the repeat field reads, where Save As writes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The first token of a command line: only the space separates tokens (a tab does not); a
// token that starts with a double quote runs to the next double quote or to the end;
// empty tokens ("") are skipped. Empty when the line holds no token. A null line is empty.
std::wstring FirstCommandLineToken(const wchar_t* line);

// Index of hertz in the sampling-frequency list, or -1 when it is not offered.
int32_t SamplingFrequencyIndex(int32_t hertz);

// The repeat field as "Create Tone" and Save read it: the repeat count of its first 63
// characters, then limited to 1..100 ("-5x" gives 5, "abc" gives 1, "250" gives 100).
int32_t ReadRepeatField(std::wstring_view text);

// The path Save As writes for a chosen name: ".ton" is appended unless the name already
// ends in that extension in any letter case ("song" gives "song.ton", "song.TON" stays,
// "a.txt" gives "a.txt.ton").
std::wstring ToneFileSavePath(const wchar_t* chosen);

// The output-device list's selection: the last of count names equal to configured
// (exactly, letter case included), or 0 when none is. -1 when the list is empty.
int32_t ChooseDeviceIndex(const wchar_t* const* names, int32_t count, const wchar_t* configured);

// What a command of the main window (a button, a menu item, Esc, or the output-device list)
// does. Ids the main window does not handle go to the framework (About, Help, language).
enum class MainCommand : int32_t {
  kFramework,
  kExit,  // Exit and Esc: the renderer is shut down before the dialog ends
  kNew,
  kOpen,
  kOpenFromLibrary,
  kCheckRecording,
  kDigits,
  kSave,
  kSaveAs,
  kZoomIn,
  kZoomOut,
  kAddStep,
  kModifyStep,
  kDeleteStep,
  kStepUp,
  kStepDown,
  kAddTone,
  kModifyTone,
  kDeleteTone,
  kCreateTone,
  kExport,
  kToneString,  // Edit > "Tone String..."
  kChooseDevice,  // only for the list's selection change
  kRepeatPlay,
  kStop,
  kPlay,
  kPause,
  kIgnore,  // another notification of the output-device list
};

// The command for a WM_COMMAND's id and notification code.
MainCommand RouteMainCommand(int32_t id, int32_t code);
