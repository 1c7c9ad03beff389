// When the main window must ask before the setting is replaced or the program ends: the
// setting's values as a file would keep them are compared with the values last opened,
// saved or started with, so that an edit undone by hand asks nothing.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/main_window_rules.h"
#include "synth/tone_setting.h"

// Everything Save writes: the window's rate, repeat and filter switch, the setting's fade,
// and every step and tone in list order.
struct SettingValues {
  int32_t sampling_frequency = 0;
  int32_t repeat = 0;
  int32_t filter_on = 0;
  int32_t fade = 0;
  std::vector<std::array<int32_t, 3>> steps;  // on_off, time, is_fade
  std::vector<std::array<int32_t, 6>> tones;  // type, frequency, phase, start, end, level

  bool operator==(const SettingValues& other) const;
  bool operator!=(const SettingValues& other) const { return !(*this == other); }
};

// The values of setting with the window's current rate, repeat and filter switch.
SettingValues CaptureSettingValues(const ToneSetting& setting, int32_t sampling_frequency,
                                   int32_t repeat, int32_t filter_on);

// Exit and Esc, New and Open replace the setting or end the program and so ask first;
// closing the window and dropping a file do too, through their own messages.
bool AsksToSaveChanges(MainCommand command);

enum class SaveChangesAnswer { kYes, kNo, kCancel };

// Whether the replacing command may go on. An unchanged setting goes on without a question.
// Otherwise ask is called once: Yes goes on only when save succeeds (a failed or cancelled
// save keeps everything), No goes on, Cancel does not.
bool ConfirmDiscard(bool changed, const std::function<SaveChangesAnswer()>& ask,
                    const std::function<bool()>& save);

// The caption with a leading "*" while the setting has unsaved changes.
std::wstring MarkedCaption(const std::wstring& caption, bool changed);

// The file name of a setting's UTF-8 path, or "Untitled" / "無題" when it has none.
std::wstring SettingName(const std::string& utf8_path, int32_t language);
// "Save changes to NAME?" in the language; and the question box's caption.
std::wstring SaveChangesQuestion(const std::wstring& name, int32_t language);
const wchar_t* SaveChangesCaption();
