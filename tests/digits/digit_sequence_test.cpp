#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "digits/digit_sequence.h"
#include "synth/signal_level.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

// The digits as the setting the builder makes of them, read back as a tone string with each
// frequency's level: what render plays.
std::string SettingOf(const std::string& digits, const DigitOptions& options, int32_t rate = 8000) {
  ToneSequence sequence;
  std::string why_not;
  if (!DigitsToToneSequence(digits, options, &sequence, &why_not)) return "refused: " + why_not;
  ToneStringOptions build;
  build.sampling_frequency = rate;
  ToneSetting setting;
  if (!BuildToneSetting(sequence, build, &setting, &why_not)) return "not built: " + why_not;
  std::string levels;
  for (int32_t i = 0; i < setting.ToneCount(); ++i) {
    levels += " " + std::to_string(setting.ToneAt(i)->frequency) + "@" + std::to_string(setting.ToneAt(i)->level);
  }
  ToneSequence read;
  if (!ReadToneSequence(setting, &read, &why_not)) return "not read: " + why_not;
  return FormatToneString(read) + levels;
}

DigitOptions With(DigitSystem system, void (*change)(DigitOptions*)) {
  DigitOptions options = DefaultDigitOptions(system);
  if (change) change(&options);
  return options;
}

TEST(DigitSequence, SettingsSendThePublishedFrequenciesTimesAndLevels) {
  // -9 dBm0 is 25 %, -7 dBm0 31 % of full scale (a full-scale sine is +3.14 dBm0).
  ASSERT_NEAR(DbfsToPercent(Dbm0ToDbfs(-9.0)), 24.7, 0.05);
  ASSERT_NEAR(DbfsToPercent(Dbm0ToDbfs(-7.0)), 31.1, 0.05);
  struct Case {
    const char* digits;
    DigitOptions options;
    const char* setting;
  } cases[] = {
      {"1#", DigitOptions{}, "697@-9+1209@-7/100,0/100,941@-9+1477@-7/100,0/100 697@25 941@25 1209@31 1477@31"},
      // A repeated digit with only a gap between stays one gated tone per frequency.
      {"55,5", DigitOptions{}, "770@-9+1336@-7/100,0/100,770@-9+1336@-7/100,0/100,0/500,770@-9+1336@-7/100,0/100 770@25 1336@31"},
      {"aBcD", DigitOptions{}, "697@-9+1633@-7/100,0/100,770@-9+1633@-7/100,0/100,852@-9+1633@-7/100,0/100,941@-9+1633@-7/100,0/100"
                               " 697@25 770@25 852@25 941@25 1633@31"},
      {"0*", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->on_ms = 40; o->off_ms = 40; o->level_percent = 20;
                                                            o->twist_db = 6.0206; }),
       "941@-11+1336@-4.8/40,0/40,941@-11+1209@-4.8/40,0/40 941@20 1209@40 1336@40"},
      {"5", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->offset_percent = 1.5; }),
       "782@-9+1356@-7/100,0/100 782@25 1356@31"},
      {"5", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->offset_percent = -3.5; }),
       "743@-9+1289@-7/100,0/100 743@25 1289@31"},
      // MF: KP 100 ms, the rest 68 ms, every frequency at -7 dBm0.
      {"KP12st", DefaultDigitOptions(DigitSystem::Mf),
       "1100@-7+1700@-7/100,0/68,700@-7+900@-7/68,0/68,700@-7+1100@-7/68,0/68,1500@-7+1700@-7/68,0/68"
       " 700@31 900@31 1100@31 1100@31 1500@31 1700@31 1700@31"},
      {"stp,ST2PST3P", DefaultDigitOptions(DigitSystem::Mf),
       "900@-7+1700@-7/68,0/68,0/500,1300@-7+1700@-7/68,0/68,700@-7+1700@-7/68,0/68 700@31 900@31 1300@31 1700@31"},
      // MF's twist and levels slope from 700 Hz to 1700 Hz, so 1100 Hz keeps one level
      // whether it is the higher tone (2) or the lower (6): 20 % + 0.4 x 10 dB = 32 %.
      {"26", With(DigitSystem::Mf, [](DigitOptions* o) { o->level_percent = 20; o->twist_db = 10; }),
       "700@-11+1100@-6.8/68,0/68,1100@-6.8+1300@-4.8/68,0/68 700@20 1100@32 1300@40"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingOf(c.digits, c.options), c.setting) << c.digits;
}

TEST(DigitSequence, RefusesWhatNoDigitOrNoSettingHolds) {
  struct Case {
    const char* digits;
    DigitOptions options;
    const char* why_not;
  } cases[] = {
      {"12x4", DigitOptions{}, "'x' at position 3 is no DTMF digit (0-9 * # A B C D, ',' for a pause)"},
      {"555 1234", DigitOptions{}, "' ' at position 4 is no DTMF digit (0-9 * # A B C D, ',' for a pause)"},
      {"KP12*", DefaultDigitOptions(DigitSystem::Mf),
       "'*' at position 5 is no MF digit (0-9 KP ST STP ST2P ST3P, ',' for a pause)"},
      {"K1", DefaultDigitOptions(DigitSystem::Mf),
       "'K' at position 1 is no MF digit (0-9 KP ST STP ST2P ST3P, ',' for a pause)"},
      {"1\x01", DigitOptions{}, "byte 1 at position 2 is no DTMF digit (0-9 * # A B C D, ',' for a pause)"},
      {"", DigitOptions{}, "no digit to send"},
      {",,", DigitOptions{}, "no digit to send"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->on_ms = 0; }), "a tone of 0 ms is not between 1 and 60000 ms"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->off_ms = 0; }), "a gap of 0 ms is not between 1 and 60000 ms"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->pause_ms = 60001; }),
       "a pause of 60001 ms is not between 1 and 60000 ms"},
      {"1", With(DigitSystem::Mf, [](DigitOptions* o) { o->kp_on_ms = -5; }), "a KP of -5 ms is not between 1 and 60000 ms"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->level_percent = 101; }), "a level of 101 % is not between 0 and 100 %"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->high_dbm0 = 4; }),
       "a high level of 4 dBm0 is not between -60 and 3.14 dBm0"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->low_dbm0 = std::nan(""); }),
       "a low level of nan dBm0 is not between -60 and 3.14 dBm0"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->twist_db = -21; }), "a twist of -21 dB is not between -20 and 20 dB"},
      {"1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->offset_percent = 25; }),
       "an offset of 25 % is not between -20 and 20 %"},
  };
  for (const Case& c : cases) {
    ToneSequence sequence;
    sequence.parts.resize(1);
    std::string why_not;
    EXPECT_FALSE(DigitsToToneSequence(c.digits, c.options, &sequence, &why_not)) << c.digits;
    EXPECT_EQ(why_not, c.why_not) << c.digits;
    EXPECT_EQ(sequence.parts.size(), 1u) << "left as it was";
  }
  // Sound levels a setting cannot hold are the builder's to refuse, with its reason.
  EXPECT_EQ(SettingOf("1", With(DigitSystem::Dtmf, [](DigitOptions* o) { o->level_percent = 60; })),
            "not built: part 1 (697@-1.3+1209@-1.3/100): its levels add up to 120%, more than full scale");
  EXPECT_EQ(SettingOf("1", DigitOptions{}, 44100),
            "697@-9+1209@-7/100,0/100 697@25 1209@31");
  EXPECT_EQ(SettingOf("1", DefaultDigitOptions(DigitSystem::Mf), 44100),
            "not built: part 1 (700@-7+900@-7/68): 68 ms, which is not a whole number of samples at 44100 Hz");
}

}  // namespace
