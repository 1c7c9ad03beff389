// Any text as a tone string. The parser never crashes and always says why it refuses;
// what it accepts formats to a normal form that it accepts again unchanged; and what the
// builder turns into a setting reads back as that same normal form, with every level as
// the setting holds it (a string that leaves levels to the options gets them written).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

namespace {

std::string WithoutLevels(const std::string& text) {
  std::string plain;
  bool in_level = false;
  for (char c : text) {
    if (c == '@') in_level = true;
    else if (c == '+' || c == '/' || c == ',') in_level = false;
    if (!in_level) plain += c;
  }
  return plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ToneSequence sequence;
  std::string why_not;
  if (!ParseToneString(text, &sequence, &why_not)) {
    if (why_not.empty()) std::abort();
    return 0;
  }
  const std::string normal = FormatToneString(sequence);
  ToneSequence again;
  if (!ParseToneString(normal, &again, &why_not) || FormatToneString(again) != normal) std::abort();

  // The input's length picks the options, so every rate and a few repeat counts are met.
  static const int32_t kRates[] = {8000, 16000, 32000, 44100, 48000, 96000};
  ToneStringOptions options;
  options.sampling_frequency = kRates[size % 6];
  options.repeat = 1 + static_cast<int32_t>(size / 6 % 3);
  options.hold_ms = 100;
  ToneSetting setting;
  if (!BuildToneSetting(sequence, options, &setting, &why_not)) {
    if (why_not.empty()) std::abort();
    return 0;
  }
  ToneSequence read;
  if (!ReadToneSequence(setting, &read, &why_not) || WithoutLevels(FormatToneString(read)) != WithoutLevels(normal)) {
    std::abort();
  }
  // The string read back, levels and all, builds the same setting again.
  const std::string read_text = FormatToneString(read);
  ToneSequence reparsed;
  ToneSetting rebuilt;
  ToneSequence reread;
  if (!ParseToneString(read_text, &reparsed, &why_not) || !BuildToneSetting(reparsed, options, &rebuilt, &why_not) ||
      !ReadToneSequence(rebuilt, &reread, &why_not) || FormatToneString(reread) != read_text) {
    std::abort();
  }
  return 0;
}
