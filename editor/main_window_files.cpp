#include "editor/main_window_files.h"

#include <string>
#include <utility>

#include "files/tone_file.h"

void MoveToneSetting(ToneSetting& source, ToneSetting& target) {
  target.Clear();
  target.path = std::move(source.path);
  target.patterns = source.patterns;
  target.tones = source.tones;
  target.sampling_frequency = source.sampling_frequency;
  target.pattern_total = source.pattern_total;
  target.repeat = source.repeat;
  target.pattern_position = source.pattern_position;
  target.fade = source.fade;
  target.filter_on = source.filter_on;
  source.patterns = nullptr;
  source.tones = nullptr;
  source.Clear();
}

bool LoadToneFileInto(ToneSetting& current, const wchar_t* path) {
  ToneSetting loaded;
  if (!LoadToneSetting(loaded, path)) return false;
  MoveToneSetting(loaded, current);
  return true;
}

bool SaveToneFileAt(ToneSetting& setting, const wchar_t* path) {
  std::string previous_path = setting.path;
  if (SaveToneSetting(setting, path)) return true;
  setting.path = std::move(previous_path);
  return false;
}
