// The builder: the exact setting each accepted shape becomes, and every refusal.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "synth/signal_level.h"
#include "tests/common/setting_builder.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_string_parser.h"

namespace {

// "8000 x1 | ON 2000, OFF 4000 | 440[0,6000]50, ...": rate, repeat, steps, tones with
// their gate in ms and level in percent.
std::string Describe(const ToneSetting& setting) {
  std::string text = std::to_string(setting.sampling_frequency) + " x" + std::to_string(setting.repeat) + " |";
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    text += step == setting.patterns ? " " : ", ";
    text += (step->on_off == On ? "ON " : step->on_off == Off ? "OFF " : "? ") + std::to_string(step->time);
    if (step->is_fade != 0) text += " fade";
  }
  text += " |";
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    text += tone == setting.tones ? " " : ", ";
    if (tone->type != Sine || tone->phase != 0) text += "? ";
    text += std::to_string(tone->frequency) + "[" + std::to_string(tone->start_time) + "," +
            std::to_string(tone->end_time) + "]" + std::to_string(tone->level);
  }
  return text;
}

ToneStringOptions Options(int32_t rate = 8000, int32_t repeat = 1, int32_t hold = 2000, double level = -1.0) {
  ToneStringOptions options;
  options.sampling_frequency = rate;
  options.repeat = repeat;
  options.hold_ms = hold;
  options.level_percent = level;
  return options;
}

ToneSequence Parsed(const std::string& text) {
  ToneSequence sequence;
  std::string why_not;
  EXPECT_TRUE(ParseToneString(text, &sequence, &why_not)) << text << ": " << why_not;
  return sequence;
}

struct Built {
  const char* text;
  ToneStringOptions options;
  const char* setting;
};

TEST(ToneSettingBuilder, EachShapeBecomesThisSetting) {
  const double minus_10_dbm0 = DbfsToPercent(Dbm0ToDbfs(-10.0));
  const Built cases[] = {
      // A cycle: the latest tone runs to the cycle's end so the tones loop with the pattern.
      {"440+480/2000,0/4000", Options(), "8000 x1 | ON 2000, OFF 4000 | 440[0,6000]49, 480[0,6000]49"},
      {"425/1000,0/4000", Options(8000, 3), "8000 x3 | ON 1000, OFF 4000 | 425[0,5000]99"},
      {"400+450/400,0/200,400+450/400,0/2000", Options(16000, 2),
       "16000 x2 | ON 400, OFF 200, ON 400, OFF 2000 | 400[0,3000]49, 450[0,3000]49"},
      {"0/500,425/500", Options(), "8000 x1 | OFF 500, ON 500 | 425[500,1000]99"},
      // Stretches end where a sounding part without them begins (spilling a silent sample).
      {"350+440/750,440/750", Options(8000, 3), "8000 x3 | ON 750, ON 750 | 350[0,750]49, 440[0,1500]49"},
      {"440/100,0/100,480/100,440/100", Options(),
       "8000 x1 | ON 100, OFF 100, ON 100, ON 100 | 440[0,100]99, 440[300,400]99, 480[200,300]99"},
      {"950/330,1400/330,1800/330,0/1000", Options(8000, 2, 2000, minus_10_dbm0),
       "8000 x2 | ON 330, ON 330, ON 330, OFF 1000 | 950[0,330]22, 1400[330,660]22, 1800[660,1990]22"},
      // Once, then silence for ever: every tone ends before the silence.
      {"!950/330,!1400/330,!1800/330,0", Options(8000, 1, 2000, minus_10_dbm0),
       "8000 x1 | ON 330, ON 330, ON 330, OFF 2000 | 950[0,330]22, 1400[330,660]22, 1800[660,990]22"},
      {"!425/200,!0/200,!425/200,0", Options(8000, 1, 5000),
       "8000 x1 | ON 200, OFF 200, ON 200, OFF 5000 | 425[0,600]99"},
      {"!950/330,!1400/330,!1800/330", Options(), "8000 x1 | ON 330, ON 330, ON 330, OFF 2000 | 950[0,330]99, 1400[330,660]99, 1800[660,990]99"},
      // Once, then a sounding part for ever: tones that never stop.
      {"350+440", Options(), "8000 x1 | ON 2000 | 350[0,-1]49, 440[0,-1]49"},
      {"!350+440/100,!0/100,350+440", Options(8000, 1, 3000),
       "8000 x1 | ON 100, OFF 100, ON 3000 | 350[0,-1]49, 440[0,-1]49"},
      {"!0/500,425", Options(48000), "48000 x1 | OFF 500, ON 2000 | 425[0,-1]99"},
      {"425/1000,0/4000", Options(44100, 1, 2000, 30.0), "44100 x1 | ON 1000, OFF 4000 | 425[0,5000]30"},
      {"950+1400+1800/300,0/1000", Options(), "8000 x1 | ON 300, OFF 1000 | 950[0,1300]33, 1400[0,1300]33, 1800[0,1300]33"},
      // Levels of the string's own, over the options'; one frequency at two levels is two tones.
      {"425@-10/375,0/375,425@-20/375,0/375", Options(8000, 1, 2000, 50.0),
       "8000 x1 | ON 375, OFF 375, ON 375, OFF 375 | 425[750,1500]7, 425[0,375]22"},
      // Modulation: side tones 20*log10(m/2) dB under the carrier, rounded on their own.
      {"400*16%85@-13/1000,0/2000", Options(), "8000 x1 | ON 1000, OFF 2000 | 384[0,3000]7, 400[0,3000]16, 416[0,3000]7"},
      {"425*25/1000", Options(8000, 1, 2000, 40.0), "8000 x1 | ON 1000 | 400[0,1000]18, 425[0,1000]40, 450[0,1000]18"},
      // "~": a tone sounds on the next part's first sample, one sample past 333 ms.
      {"950@-10/333~,1400@-10/333~,1800@-10/333,0/1000", Options(8000, 2),
       "8000 x2 | ON 333, ON 333, ON 333, OFF 1000 | 950[0,333]22, 1400[333,666]22, 1800[666,1999]22"},
  };
  for (const Built& item : cases) {
    ToneSetting setting;
    std::string why_not;
    ASSERT_TRUE(BuildToneSetting(Parsed(item.text), item.options, &setting, &why_not)) << item.text << ": " << why_not;
    EXPECT_EQ(Describe(setting), item.setting) << item.text;
    EXPECT_EQ(setting.filter_on, 0);
    EXPECT_EQ(setting.pattern_total, [&] {
      int32_t total = 0;
      for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) total += step->time;
      return total;
    }());
  }
}

TEST(ToneSettingBuilder, LevelsFromTelephonyFiguresRoundToWholePercent) {
  const struct {
    double dbm0;
    int32_t percent;
  } cases[] = {{-10.0, 22}, {-13.0, 16}, {-19.0, 8}, {-24.0, 4}, {3.14, 100}, {-40.0, 1}};
  for (const auto& item : cases) {
    ToneSetting setting;
    std::string why_not;
    ASSERT_TRUE(BuildToneSetting(Parsed("440/100,0/100"), Options(8000, 1, 2000, DbfsToPercent(Dbm0ToDbfs(item.dbm0))),
                                 &setting, &why_not))
        << item.dbm0 << ": " << why_not;
    EXPECT_EQ(setting.tones->level, item.percent) << item.dbm0 << " dBm0";
  }
}

TEST(ToneSettingBuilder, MeasuredPartsAreRoundedAndKeepTheirOwnLevels) {
  ToneSequence measured;
  measured.parts.push_back({{{439.6, 12.4}, {480.49, 30.6}}, 2000, false});
  measured.parts.push_back({{}, 4000, false});
  ToneSetting setting;
  std::string why_not;
  ASSERT_TRUE(BuildToneSetting(measured, Options(), &setting, &why_not)) << why_not;
  EXPECT_EQ(Describe(setting), "8000 x1 | ON 2000, OFF 4000 | 440[0,6000]12, 480[0,6000]31");
}

struct Refusal {
  ToneSequence sequence;
  ToneStringOptions options;
  const char* why_not;
};

ToneSequence Frequencies(std::initializer_list<double> hertz, int32_t duration, double level = -1.0) {
  TonePart part;
  for (double frequency : hertz) part.tones.push_back({frequency, level});
  part.duration_ms = duration;
  return ToneSequence{{part}};
}

std::string ManyFrequencies(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i > 0 ? "," : "") + std::to_string(100 + i) + "/10,0/10";
  return text;
}

TEST(ToneSettingBuilder, RefusesWhatNoSettingRendersExactly) {
  const Refusal cases[] = {
      {Parsed("!425/1000,!0/15000,425/360,0/15000"), Options(),
       "part 3 (425/360): it repeats after parts that play once, but a setting repeats its whole ring pattern"},
      {Parsed("440/100,!0/100"), Options(), "part 2 (!0/100): it is marked to play once but follows parts that repeat"},
      {Parsed("440,0/100"), Options(), "part 1 (440): it lasts for ever, so the parts after it would never play"},
      {Parsed("!350+440/100,!0/100,425"), Options(),
       "part 1 (!350+440/100): its frequencies or levels differ from those of the last part, which lasts for ever; "
       "a tone that never stops must sound from the start"},
      {Parsed("1000/400,10000/400"), Options(),
       "part 2 (10000/400): 10000 Hz is not below half the sampling frequency (4000 Hz)"},
      {Parsed("950/333,1400/333,1800/333,0/1000"), Options(),
       "part 2 (1400/333): 950 Hz of the part before would sound on its first sample, at 333 ms "
       "(a tone sounds up to and including its end time), where it is not 0; mark the part before with '~' to allow that one sample"},
      // Silent at 330 ms in the first cycle, not at 995 ms in the second.
      {Parsed("950/330,1400/335"), Options(8000, 2),
       "part 2 (1400/335): 950 Hz of the part before would sound on its first sample, at 995 ms "
       "(a tone sounds up to and including its end time), where it is not 0; mark the part before with '~' to allow that one sample"},
      {Parsed("950/330~,1400/330"), Options(),
       "part 1 (950/330~): it is marked '~', but none of its tones sounds on the next part's first sample"},
      {Parsed("950/333~,0/333"), Options(),
       "part 1 (950/333~): it is marked '~', but none of its tones sounds on the next part's first sample"},
      {Parsed("950/333~,1400/333"), Options(),
       "part 2 (1400/333): its first sample sums the levels of the part before too, 198%, more than full scale"},
      {Parsed("425/25,0/25"), Options(44100),
       "part 1 (425/25): 25 ms, which is not a whole number of samples at 44100 Hz"},
      {Parsed("425"), Options(44100, 1, 25),
       "part 1 (425): held for 25 ms, which is not a whole number of samples at 44100 Hz"},
      {Parsed("425/100"), Options(11025),
       "the sampling frequency 11025 Hz is not one of 8000, 16000, 32000, 44100, 48000 and 96000 Hz"},
      {Parsed("425/100"), Options(8000, 101), "a repeat count of 101 is not between 1 and 100"},
      {Parsed("350+440"), Options(8000, 3),
       "the last part lasts for ever, so the tone plays once and a repeat count of 3 cannot apply"},
      {Parsed("350+440"), Options(8000, 1, 0), "a hold of 0 ms is not above 0"},
      {Parsed("0/1000"), Options(), "no part of the tone string sounds"},
      {Parsed("440+480/100"), Options(8000, 1, 2000, 60.0), "part 1 (440+480/100): its levels add up to 120%, more than full scale"},
      {Parsed("440/100"), Options(8000, 1, 2000, 0.4),
       "part 1 (440/100): a level of 0.4% does not round to a whole percent of 1 or more"},
      {Parsed("425@-10/375,425@-20/375"), Options(),
       "part 2 (425@-20/375): 425 Hz of the part before would sound on its first sample, at 375 ms "
       "(a tone sounds up to and including its end time), where it is not 0; mark the part before with '~' to allow that one sample"},
      {Parsed("440@3/100,0/100,440+480@3/100"), Options(), "part 3 (440+480@3/100): its levels add up to 147%, more than full scale"},
      {Parsed("440/300000"), Options(8000, 100),
       "the tone lasts 300000 ms, but at 8000 Hz and 100 cycles a setting holds at most 2684 ms"},
      {Parsed("440/268436"), Options(), "the tone lasts 268436 ms, but at 8000 Hz and 1 cycle a setting holds at most 268435 ms"},
      {Parsed(ManyFrequencies(65)), Options(), "the tone needs 65 gated tones; at most 64 are supported"},
      {Frequencies({0.3}, 100), Options(), "part 1 (0/100): a frequency must be 1 Hz or more"},
      {Frequencies({440.0, 440.2}, 100), Options(), "part 1 (440+440/100): 440 Hz appears twice"},
      {Frequencies({440.0}, 0), Options(), "part 1 (440/0): a duration of 0 ms"},
      {Frequencies({440.0}, 100, std::numeric_limits<double>::infinity()), Options(),
       "part 1 (440@999.99/100): a level of inf% does not round to a whole percent of 1 or more"},
      {ToneSequence{}, Options(), "the tone string has no parts"},
  };
  for (const Refusal& item : cases) {
    ToneSetting setting;
    AddStep(setting, On, 123);
    AddTone(setting, Square, 777);
    std::string why_not;
    EXPECT_FALSE(BuildToneSetting(item.sequence, item.options, &setting, &why_not)) << item.why_not;
    EXPECT_EQ(why_not, item.why_not);
    EXPECT_EQ(Describe(setting), "8000 x1 | ON 123 | ? 777[0,-1]100") << "the setting is left alone: " << item.why_not;
  }
}

}  // namespace
