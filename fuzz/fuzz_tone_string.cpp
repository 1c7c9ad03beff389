// Any text as a tone string. The parser never crashes and always says why it refuses;
// what it accepts formats to a normal form that it accepts again unchanged; what the builder
// turns into a setting reads back as that normal form but for the levels, now those the
// setting holds; and that string builds a setting that reads back as it again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

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
  auto without_levels = [](ToneSequence plain) {
    for (TonePart& part : plain.parts) {
      for (PartTone& tone : part.tones) tone = PartTone{tone.frequency_hz};
    }
    return FormatToneString(plain);
  };
  ToneSequence read;
  if (!ReadToneSequence(setting, &read, &why_not) || without_levels(read) != without_levels(again)) std::abort();
  const std::string read_text = FormatToneString(read);
  ToneSetting rebuilt;
  if (!ParseToneString(read_text, &again, &why_not) || !BuildToneSetting(again, options, &rebuilt, &why_not) ||
      !ReadToneSequence(rebuilt, &read, &why_not) || FormatToneString(read) != read_text) {
    std::abort();
  }
  return 0;
}
