// check, end to end on rendered settings: every example (and every tone-library entry,
// where the library exists) heard as its setting and passing against itself; the same
// renders passing through what a real line does to them, and failing on the right row
// when they are made wrong.
#include "analysis/tone_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "files/string.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"
#include "tests/analysis/degraded_line.h"
#include "tests/common/setting_builder.h"
#include "tests/common/test_paths.h"

namespace {

namespace fs = std::filesystem;
using sonaril_test::TestDataPath;

bool Load(const std::string& path, ToneSetting* setting);

// Not heard as written yet: sines closer than 30 Hz (modulation built as three sines beats
// and is cut at the beat's minima) or one frequency at two levels (heard at half its cycle).
bool HeardAsWrittenYet(const std::string& path) {
  ToneSetting setting;
  if (!Load(path, &setting)) return true;  // and fails where it is used
  for (const ToneEntry* a = setting.tones; a != nullptr; a = a->next) {
    for (const ToneEntry* b = a->next; b != nullptr; b = b->next) {
      if (std::abs(a->frequency - b->frequency) < 30) return false;
    }
  }
  return true;
}

// Every .ton file of the examples and of the tone library that the analysis hears as written.
std::vector<std::string> SettingFiles() {
  std::vector<std::string> files;
  for (const char* folder : {"../../examples", "../../tones"}) {
    fs::path path = fs::u8path(TestDataPath(folder));
    std::error_code error;
    if (!fs::is_directory(path, error)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(path)) {
      if (entry.is_regular_file() && entry.path().extension() == ".ton" && HeardAsWrittenYet(entry.path().u8string())) {
        files.push_back(entry.path().u8string());
      }
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Example(const std::string& name) { return TestDataPath("../../examples/" + name); }

bool Load(const std::string& path, ToneSetting* setting) {
  CString wide;
  wide.Assign(path.c_str());
  return LoadToneSetting(*setting, wide.GetWide());
}

std::vector<int16_t> Render(ToneSetting& setting, int32_t repeat) {
  std::vector<int16_t> samples;
  EXPECT_EQ(SynthesizeTone(setting, setting.sampling_frequency, repeat, setting.filter_on != 0, &samples),
            SynthesisRefusal::None);
  return samples;
}

ExpectedCycle Expected(const std::string& setting_path) {
  ToneSetting setting;
  EXPECT_TRUE(Load(setting_path, &setting));
  ExpectedCycle expected;
  EXPECT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None);
  return expected;
}

CheckResult Check(const ExpectedCycle& expected, const std::vector<int16_t>& samples, int32_t rate) {
  RecordingAnalysis analysis;
  EXPECT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis));
  return CompareWithExpected(expected, samples.data(), analysis, CheckTolerances());
}

// Whether the tones loop with the ring pattern, so that rendering more cycles repeats the
// first: no tone ends, or the latest ends with the cycle. A tone played once (a special
// information tone and its final silence) ends earlier and is rendered as written.
bool LoopsWithThePattern(const ToneSetting& setting) {
  int32_t latest_end = -1;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    latest_end = std::max(latest_end, tone->end_time);
  }
  return latest_end < 0 || latest_end == setting.pattern_total;
}

// The setting's cycle as the analysis should hear it: steps of one kind merged (also over
// the cycle's end), with the frequencies that sound in the middle of each.
struct SettingPart {
  SegmentKind kind;
  double ms;
  std::vector<double> frequencies;
};

SegmentKind KindOf(int32_t on_off) {
  if (on_off == Off) return SegmentKind::Silent;
  if (on_off == RampUp) return SegmentKind::RampUp;
  if (on_off == RampDown) return SegmentKind::RampDown;
  return SegmentKind::Steady;
}

// The frequency a tone sounds at: square, triangle and sawtooth periods are whole samples.
double SoundingFrequency(const ToneEntry& tone, int32_t rate) {
  if (tone.type == Square || tone.type == Triangle || tone.type == Sawtooth) {
    return static_cast<double>(rate) / (rate / tone.frequency);
  }
  return tone.frequency;
}

bool SameSound(const SettingPart& a, const SettingPart& b) { return a.kind == b.kind && a.frequencies == b.frequencies; }

// (A setting played once does not go on at its start, so its ends stay apart.)
std::vector<SettingPart> SettingCycle(const ToneSetting& setting) {
  std::vector<SettingPart> parts;
  double position = 0.0;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    double middle = position + step->time / 2.0;
    position += step->time;
    SettingPart part{KindOf(step->on_off), static_cast<double>(step->time), {}};
    for (const ToneEntry* tone = setting.tones; tone != nullptr && part.kind != SegmentKind::Silent; tone = tone->next) {
      bool sounding = middle >= tone->start_time && (tone->end_time < 0 || middle <= tone->end_time);
      if (sounding) part.frequencies.push_back(SoundingFrequency(*tone, setting.sampling_frequency));
    }
    std::sort(part.frequencies.begin(), part.frequencies.end());
    // Steps that sound alike without a break between are heard as one.
    if (!parts.empty() && SameSound(parts.back(), part) && part.kind != SegmentKind::RampUp) {
      parts.back().ms += part.ms;
    } else {
      parts.push_back(part);
    }
  }
  const bool repeats = setting.repeat > 1;
  if (repeats && parts.size() > 1 && SameSound(parts.front(), parts.back()) && parts.front().kind != SegmentKind::RampUp) {
    parts.back().ms += parts.front().ms;
    parts.erase(parts.begin());
  }
  // A pattern that says the same twice is heard as its shortest repetition; played once,
  // its last part may be cut short by the end of the render.
  for (size_t period = 1; period < parts.size(); ++period) {
    bool again = repeats ? parts.size() % period == 0 : parts.size() >= 2 * period;
    for (size_t i = period; i < parts.size() && again; ++i) {
      bool cut = !repeats && i + 1 == parts.size();
      again = SameSound(parts[i], parts[i - period]) &&
              (parts[i].ms == parts[i - period].ms || (cut && parts[i].ms < parts[i - period].ms));
    }
    if (again) {
      parts.resize(period);
      break;
    }
  }
  return parts;
}

bool Heard(const HeardStep& heard, const SettingPart& part) {
  if (heard.kind != part.kind || std::fabs(heard.duration_ms - part.ms) > 1.0) return false;
  return std::all_of(part.frequencies.begin(), part.frequencies.end(), [&](double frequency) {
    return std::any_of(heard.tones.begin(), heard.tones.end(),
                       [&](const TonePeak& tone) { return std::fabs(tone.frequency - frequency) <= 0.5; });
  });
}

TEST(SelfCheck, EverySettingIsHeardAsWrittenAndPassesAgainstItself) {
  const std::vector<std::string> files = SettingFiles();
  ASSERT_GE(files.size(), 6u);
  for (const std::string& file : files) {
    ToneSetting setting;
    ASSERT_TRUE(Load(file, &setting)) << file;
    const int32_t rate = setting.sampling_frequency;
    std::vector<SettingPart> parts = SettingCycle(setting);
    std::vector<int16_t> samples = Render(setting, setting.repeat);
    RecordingAnalysis analysis;
    ASSERT_TRUE(AnalyzeRecording(samples.data(), static_cast<int64_t>(samples.size()), rate, &analysis));
    EXPECT_EQ(analysis.steps.size(), parts.size()) << file;
    if (analysis.steps.size() != parts.size()) continue;
    // The analysis starts its cycle after the longest silence; the setting anywhere.
    size_t offset = 0;
    auto matches_from = [&](size_t from) {
      for (size_t i = 0; i < parts.size(); ++i) {
        if (!Heard(analysis.steps[i], parts[(from + i) % parts.size()])) return false;
      }
      return true;
    };
    while (offset < parts.size() && !matches_from(offset)) ++offset;
    EXPECT_LT(offset, parts.size()) << file << ": heard otherwise than written";
    if (offset == parts.size()) {
      for (size_t i = 0; i < parts.size(); ++i) {
        const HeardStep& heard = analysis.steps[i];
        ADD_FAILURE() << file << " step " << i + 1 << ": " << static_cast<int>(heard.kind) << " " << heard.duration_ms
                      << " ms, " << heard.tones.size() << " tones";
      }
    }
    CheckResult result = CompareWithExpected(Expected(file), samples.data(), analysis, CheckTolerances());
    EXPECT_TRUE(result.pass) << file;
  }
}

struct Degradation {
  const char* name;
  std::function<std::vector<int16_t>(const std::vector<int16_t>&, int32_t rate)> apply;
  enum Needs { Anything, ACycle, SilenceAtTheEnds };
  // A tone played once has no cycle to start inside; silence added before and after lies on
  // an OFF step only where the render begins with sound and ends in silence.
  Needs needs = Anything;
};

bool BeginsWithSoundEndsInSilence(const ExpectedCycle& expected) {
  return expected.steps.size() > 1 && IsSounding(expected.steps.front().kind) &&
         expected.steps.back().kind == SegmentKind::Silent;
}

TEST(Degradations, WhatARealLineDoesStillPasses) {
  using namespace sonaril_test;
  const std::vector<Degradation> degradations = {
      {"u-law", [](const std::vector<int16_t>& s, int32_t) { return ThroughG711(s, G711Law::MuLaw); }},
      {"A-law", [](const std::vector<int16_t>& s, int32_t) { return ThroughG711(s, G711Law::ALaw); }},
      {"noise at 20 dB SNR", [](const std::vector<int16_t>& s, int32_t) { return WithNoise(s, 20.0, 1); }},
      {"6 dB quieter", [](const std::vector<int16_t>& s, int32_t) { return WithGain(s, -6.0); }},
      {"started 1.3 s into the cycle", [](const std::vector<int16_t>& s, int32_t rate) { return StartingAt(s, rate, 1.3); },
       Degradation::ACycle},
      {"50 Hz hum", [](const std::vector<int16_t>& s, int32_t rate) { return WithHum(s, rate, 50.0, -34.0); }},
      // A recorder started before the tone and stopped after it: the silences it cuts are
      // longer than any OFF step and tell nothing about one.
      {"recorded from 3 s before to 0.5 s after",
       [](const std::vector<int16_t>& s, int32_t rate) {
         std::vector<int16_t> padded(static_cast<size_t>(3 * rate), 0);
         padded.insert(padded.end(), s.begin(), s.end());
         padded.resize(padded.size() + static_cast<size_t>(rate / 2), 0);
         return padded;
       },
       Degradation::SilenceAtTheEnds},
  };
  for (const std::string& file : SettingFiles()) {
    ToneSetting setting;
    ASSERT_TRUE(Load(file, &setting)) << file;
    const int32_t rate = setting.sampling_frequency;
    const ExpectedCycle expected = Expected(file);
    // At least three cycles, so that 1.3 s in still leaves whole steps of every example.
    const bool loops = LoopsWithThePattern(setting);
    std::vector<int16_t> clean = Render(setting, loops ? std::max(setting.repeat, 3) : setting.repeat);
    for (const Degradation& degradation : degradations) {
      if ((degradation.needs == Degradation::ACycle && !loops) ||
          (degradation.needs == Degradation::SilenceAtTheEnds && !BeginsWithSoundEndsInSilence(expected))) {
        continue;
      }
      CheckResult result = Check(expected, degradation.apply(clean, rate), rate);
      EXPECT_TRUE(result.pass) << file << ": " << degradation.name;
    }
  }
}

// What the failing row must show.
enum class Shows { FrequencyOff, LongerBy125Ms, Missing, Extra };

struct Mistake {
  const char* name;
  const char* example;
  std::function<void(ToneSetting&)> make_wrong;
  size_t failing_row;  // 1-based row of the check
  Shows shows;
  double frequency;    // of the tone the row shows it on
};

bool RowShows(const StepComparison& row, const Mistake& mistake) {
  if (mistake.shows == Shows::LongerBy125Ms) return !row.duration_ok && std::fabs(row.worst_error_ms - 125.0) < 5.0;
  return std::any_of(row.tones.begin(), row.tones.end(), [&](const ToneComparison& tone) {
    double at = tone.expected ? tone.expected_hz : tone.heard_hz;
    if (std::fabs(at - mistake.frequency) >= 1.0 || tone.ok) return false;
    if (mistake.shows == Shows::FrequencyOff) return tone.heard && !tone.frequency_ok;
    if (mistake.shows == Shows::Missing) return tone.expected && !tone.heard;
    return !tone.expected && tone.heard;
  });
}

TEST(Degradations, WrongRendersFailOnTheRightRow) {
  const std::vector<Mistake> mistakes = {
      {"a frequency 3 % off", "ringback-north-america.ton", [](ToneSetting& s) { s.tones->frequency = 453; }, 1,
       Shows::FrequencyOff, 440},
      {"a tone of the ramp 3 % off", "ramps-and-fades.ton", [](ToneSetting& s) { s.ToneAt(1)->frequency = 258; }, 2,
       Shows::FrequencyOff, 250},
      {"an ON step 25 % longer", "busy-japan.ton", [](ToneSetting& s) { s.patterns->time = 625; }, 1,
       Shows::LongerBy125Ms, 0},
      {"a tone missing", "ringback-uk.ton", [](ToneSetting& s) { s.DeleteTone(1); }, 1, Shows::Missing, 450},
      {"an extra 1 kHz tone", "busy-north-america.ton", [](ToneSetting& s) { AddTone(s, Sine, 1000, 0, 0, -1, 25); },
       1, Shows::Extra, 1000},
  };
  for (const Mistake& mistake : mistakes) {
    ToneSetting wrong;
    ASSERT_TRUE(Load(Example(mistake.example), &wrong));
    mistake.make_wrong(wrong);
    const int32_t rate = wrong.sampling_frequency;
    CheckResult result = Check(Expected(Example(mistake.example)), Render(wrong, std::max(wrong.repeat, 3)), rate);
    EXPECT_FALSE(result.pass) << mistake.name;
    ASSERT_GE(result.steps.size(), mistake.failing_row) << mistake.name;
    for (size_t row = 1; row <= result.steps.size(); ++row) {
      const StepComparison& step = result.steps[row - 1];
      if (row == mistake.failing_row) {
        EXPECT_FALSE(step.ok) << mistake.name;
        EXPECT_TRUE(RowShows(step, mistake)) << mistake.name;
      } else if (mistake.shows != Shows::Missing) {
        // A missing tone is missing from both ON steps of the double ring.
        EXPECT_TRUE(step.ok) << mistake.name << ": row " << row;
      }
    }
  }
}

// A ring-back at 450 Hz: each ON of on_ms, 4 s of silence after each.
ExpectedCycle RingBack(std::initializer_list<int32_t> on_ms, ToneSetting* setting) {
  for (int32_t on : on_ms) {
    AddStep(*setting, On, on);
    AddStep(*setting, Off, 4000);
  }
  AddTone(*setting, Sine, 450, 0, 0, -1, 30);
  ExpectedCycle expected;
  EXPECT_EQ(BuildExpectedCycle(*setting, &expected), SynthesisRefusal::None);
  return expected;
}

// No PASS without a measurement: a recording that holds no step whole, nor a part as long
// as the step, is too short to judge, unless what it holds already contradicts the setting.
TEST(TooShortToJudge, OnlyAMeasuredStepPasses) {
  struct {
    const char* name;
    int32_t recorded_on_ms, expected_on_ms;
    double from_s, to_s;  // the part of three cycles recorded
    bool pass, too_short;
    int64_t needed_seconds;
  } const excerpts[] = {
      {"both steps cut, a 1 s ring-back as a 2 s one", 1000, 2000, 0.5, 4.5, false, true, 10},
      {"both steps cut, against itself", 1000, 1000, 0.5, 4.5, false, true, 9},
      {"one cycle and a bit", 1000, 1000, 0.5, 5.7, false, true, 9},
      {"every step whole once", 1000, 1000, 0.5, 10.2, true, false, 9},
      {"one cycle from its start", 1000, 1000, 0.0, 5.0, true, false, 9},
      {"a cut step already too long", 2000, 1000, 0.2, 4.0, false, false, 9},
  };
  for (const auto& excerpt : excerpts) {
    ToneSetting recorded, checked;
    RingBack({excerpt.recorded_on_ms}, &recorded);
    std::vector<int16_t> samples = Render(recorded, 3);
    samples.resize(static_cast<size_t>(excerpt.to_s * recorded.sampling_frequency));
    samples = sonaril_test::StartingAt(samples, recorded.sampling_frequency, excerpt.from_s);
    CheckResult result = Check(RingBack({excerpt.expected_on_ms}, &checked), samples, recorded.sampling_frequency);
    EXPECT_EQ(result.pass, excerpt.pass) << excerpt.name;
    EXPECT_EQ(result.too_short, excerpt.too_short) << excerpt.name;
    EXPECT_EQ(result.needed_seconds, excerpt.needed_seconds) << excerpt.name;
  }
}

// The length shown for a step is the occurrence that decides, beside its difference.
TEST(CheckHeardLength, IsTheOccurrenceThatDecides) {
  ToneSetting heard, setting;
  RingBack({500, 560, 480}, &heard);
  CheckResult result = Check(RingBack({500}, &setting), Render(heard, 1), heard.sampling_frequency);
  ASSERT_EQ(result.steps.size(), 2u);
  EXPECT_NEAR(result.steps[0].measured_ms, 560.0, 0.5);
  EXPECT_NEAR(result.steps[0].worst_error_ms, 60.0, 0.5);
  EXPECT_FALSE(result.pass);
}

}  // namespace
