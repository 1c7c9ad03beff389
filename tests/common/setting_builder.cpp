#include "tests/common/setting_builder.h"

void AddStep(ToneSetting& setting, int32_t on_off, int32_t time, int32_t is_fade) {
  PatternStep* step = new PatternStep;
  step->on_off = on_off;
  step->time = time;
  step->is_fade = is_fade;
  setting.AppendStep(step);
}

void AddTone(ToneSetting& setting, int32_t type, int32_t frequency, int32_t phase,
             int32_t start_time, int32_t end_time, int32_t level) {
  ToneEntry* tone = new ToneEntry;
  tone->type = type;
  tone->frequency = frequency;
  tone->phase = phase;
  tone->start_time = start_time;
  tone->end_time = end_time;
  tone->level = level;
  setting.AppendTone(tone);
}
