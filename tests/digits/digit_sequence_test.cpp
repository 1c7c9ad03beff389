#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "digits/digit_sequence.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

// The digits as the setting the builder makes of them, read back as a tone string: what
// render plays.
std::string SettingOf(const std::string& digits, const DigitOptions& options, int32_t rate = 8000) {
  ToneSequence sequence, read;
  std::string why_not;
  ToneStringOptions build;
  build.sampling_frequency = rate;
  ToneSetting setting;
  if (!DigitsToToneSequence(digits, options, &sequence, &why_not)) return "refused: " + why_not;
  if (!BuildToneSetting(sequence, build, &setting, &why_not)) return "not built: " + why_not;
  if (!ReadToneSequence(setting, &read, &why_not)) return "not read: " + why_not;
  return FormatToneString(read);
}

// The system's defaults with one option changed.
template <typename Field, typename Value>
DigitOptions With(Field DigitOptions::*field, Value value, DigitSystem system = DigitSystem::Dtmf) {
  DigitOptions options = DefaultDigitOptions(system);
  options.*field = static_cast<Field>(value);
  return options;
}

TEST(DigitSequence, SettingsSendThePublishedFrequenciesTimesAndLevels) {
  DigitOptions fast = With(&DigitOptions::level_percent, 20);
  fast.on_ms = fast.off_ms = 40;
  fast.twist_db = 6.0206;
  DigitOptions mf_twisted = With(&DigitOptions::level_percent, 20, DigitSystem::Mf);
  mf_twisted.twist_db = 10;
  const DigitOptions mf = DefaultDigitOptions(DigitSystem::Mf);
  struct Case {
    const char* digits;
    DigitOptions options;
    const char* setting;
  } cases[] = {
      {"1#", DigitOptions{}, "697@-9+1209@-7/100,0/100,941@-9+1477@-7/100,0/100"},
      {"55,5", DigitOptions{}, "770@-9+1336@-7/100,0/100,770@-9+1336@-7/100,0/100,0/500,770@-9+1336@-7/100,0/100"},
      {"aBcD", DigitOptions{}, "697@-9+1633@-7/100,0/100,770@-9+1633@-7/100,0/100,852@-9+1633@-7/100,0/100,941@-9+1633@-7/100,0/100"},
      {"0*", fast, "941@-11+1336@-4.8/40,0/40,941@-11+1209@-4.8/40,0/40"},
      {"5", With(&DigitOptions::offset_percent, 1.5), "782@-9+1356@-7/100,0/100"},
      // MF: KP 100 ms, the rest 68 ms, every frequency at -7 dBm0.
      {"KP12st", mf, "1100@-7+1700@-7/100,0/68,700@-7+900@-7/68,0/68,700@-7+1100@-7/68,0/68,1500@-7+1700@-7/68,0/68"},
      {"stp,ST2PST3P", mf, "900@-7+1700@-7/68,0/68,0/500,1300@-7+1700@-7/68,0/68,700@-7+1700@-7/68,0/68"},
      // MF's twist and levels slope from 700 Hz to 1700 Hz, so 1100 Hz keeps one level
      // whether it is the higher tone (2) or the lower (6): 20 % + 0.4 x 10 dB = 32 %.
      {"26", mf_twisted, "700@-11+1100@-6.8/68,0/68,1100@-6.8+1300@-4.8/68,0/68"},
      // Sound levels a setting cannot hold are the builder's to refuse, with its reason.
      {"1", With(&DigitOptions::level_percent, 60),
       "not built: part 1 (697@-1.3+1209@-1.3/100): its levels add up to 120%, more than full scale"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingOf(c.digits, c.options), c.setting) << c.digits;
  EXPECT_EQ(SettingOf("1", mf, 44100),
            "not built: part 1 (700@-7+900@-7/68): 68 ms, which is not a whole number of samples at 44100 Hz");
}

TEST(DigitSequence, RefusesWhatNoDigitOrNoSettingHolds) {
  const DigitOptions mf = DefaultDigitOptions(DigitSystem::Mf);
  struct Case {
    const char* digits;
    DigitOptions options;
    const char* why_not;
  } cases[] = {
      {"12x4", DigitOptions{}, "'x' at position 3 is no DTMF digit (0-9 * # A B C D, ',' for a pause)"},
      {"KP12*", mf, "'*' at position 5 is no MF digit (0-9 KP ST STP ST2P ST3P, ',' for a pause)"},
      {"K1", mf, "'K' at position 1 is no MF digit (0-9 KP ST STP ST2P ST3P, ',' for a pause)"},
      {"1\x01", DigitOptions{}, "byte 1 at position 2 is no DTMF digit (0-9 * # A B C D, ',' for a pause)"},
      {",,", DigitOptions{}, "no digit to send"},
      {"1", With(&DigitOptions::on_ms, 0), "a tone of 0 ms is not between 1 and 60000 ms"},
      {"1", With(&DigitOptions::off_ms, 0), "a gap of 0 ms is not between 1 and 60000 ms"},
      {"1", With(&DigitOptions::pause_ms, 60001), "a pause of 60001 ms is not between 1 and 60000 ms"},
      {"1", With(&DigitOptions::kp_on_ms, -5, DigitSystem::Mf), "a KP of -5 ms is not between 1 and 60000 ms"},
      {"1", With(&DigitOptions::level_percent, 101), "a level of 101 % is not between 0 and 100 %"},
      {"1", With(&DigitOptions::high_dbm0, 4), "a high level of 4 dBm0 is not between -60 and 3.14 dBm0"},
      {"1", With(&DigitOptions::low_dbm0, std::nan("")), "a low level of nan dBm0 is not between -60 and 3.14 dBm0"},
      {"1", With(&DigitOptions::twist_db, -21), "a twist of -21 dB is not between -20 and 20 dB"},
      {"1", With(&DigitOptions::offset_percent, 25), "an offset of 25 % is not between -20 and 20 %"},
  };
  for (const Case& c : cases) {
    ToneSequence sequence;
    sequence.parts.resize(1);
    std::string why_not;
    EXPECT_FALSE(DigitsToToneSequence(c.digits, c.options, &sequence, &why_not)) << c.digits;
    EXPECT_EQ(why_not, c.why_not) << c.digits;
    EXPECT_EQ(sequence.parts.size(), 1u) << "left as it was";
  }
}

}  // namespace
