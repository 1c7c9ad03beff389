// Every entry of the tone library, from its table: the committed file renders exactly the
// table's string (each sample against a plain sum of the sines the string names), its
// spectrum in every sounding part sits at the part's frequencies, and it reads back as the
// string's normal form. Refused strings have no file.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/string.h"
#include "files/tone_file.h"
#include "synth/signal_level.h"
#include "synth/synthesize_tone.h"
#include "tests/common/test_paths.h"
#include "tests/synth/reference_synthesis.h"
#include "tonestring/tone_normal_form.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

namespace {

constexpr double kDefaultDbm0 = -10.0;  // the library's stated default
constexpr int32_t kRate = 8000;

struct Row {
  std::string country, tone, text, level_dbm0;
};

std::string LibraryPath(const std::string& relative) { return sonaril_test::TestDataPath("../../tones/" + relative); }

std::vector<Row> ReadTable() {
  std::ifstream table(LibraryPath("tone-table.tsv"));
  std::vector<Row> rows;
  std::string line;
  std::getline(table, line);  // the header
  while (std::getline(table, line)) {
    std::vector<std::string> fields;
    std::stringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() < 4) fields.resize(4);
    rows.push_back({fields[0], fields[1], fields[2], fields[3]});
  }
  return rows;
}

bool Load(const std::string& path, ToneSetting* setting) {
  CString wide;
  wide.Assign(path.c_str());
  return LoadToneSetting(*setting, wide.GetWide());
}

// The amplitude of a sine at one frequency in a stretch of samples: Goertzel over a
// Hann window, which needs no whole number of cycles.
double AmplitudeAt(const int16_t* samples, size_t count, double frequency) {
  const double pi = 3.141592653589793;
  const double coefficient = 2.0 * std::cos(2.0 * pi * frequency / kRate);
  double previous = 0.0, before = 0.0, window_sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const double window = 0.5 - 0.5 * std::cos(2.0 * pi * i / (count - 1));
    window_sum += window;
    const double value = samples[i] * window + coefficient * previous - before;
    before = previous;
    previous = value;
  }
  const double power = previous * previous + before * before - coefficient * previous * before;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / window_sum;
}

// What the string should sound like: each part's sines, free-running from the start of
// the tone as the generator runs them, at the level asked for; silence between.
std::vector<int16_t> ExpectedSamples(const ToneSequence& normal, int32_t level, int32_t held_ms, int32_t cycles) {
  std::map<int32_t, reference::Generator> sines;
  std::vector<int16_t> samples;
  for (int32_t cycle = 0; cycle < cycles; ++cycle) {
    for (const TonePart& part : normal.parts) {
      const int32_t duration = part.duration_ms == kLastsForEver ? held_ms : part.duration_ms;
      const size_t first = samples.size();
      samples.resize(first + static_cast<size_t>(duration) * kRate / 1000, 0);
      for (const PartTone& tone : part.tones) {
        const int32_t hertz = static_cast<int32_t>(tone.frequency_hz);
        if (sines.count(hertz) == 0) sines[hertz].Init(0, kRate, 0, -1, hertz, 0, level);
        for (size_t p = first; p < samples.size(); ++p) {
          samples[p] = static_cast<int16_t>(samples[p] + sines[hertz].Value(static_cast<int32_t>(p % kRate)));
        }
      }
    }
  }
  return samples;
}

void CheckEntry(const Row& row, const ToneSequence& sequence, ToneSetting& setting) {
  const std::string name = row.country + "/" + row.tone;
  const double dbm0 = row.level_dbm0.empty() ? kDefaultDbm0 : std::stod(row.level_dbm0);
  const int32_t level = static_cast<int32_t>(std::lround(DbfsToPercent(Dbm0ToDbfs(dbm0))));
  EXPECT_EQ(setting.sampling_frequency, kRate) << name;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    EXPECT_EQ(tone->level, level) << name;
  }

  ToneSequence read;
  std::string why_not;
  ASSERT_TRUE(ReadToneSequence(setting, &read, &why_not)) << name << ": " << why_not;
  EXPECT_EQ(FormatToneString(read), FormatToneString(sequence)) << name;

  std::vector<int16_t> rendered;
  ASSERT_EQ(SynthesizeTone(setting, kRate, setting.repeat, false, &rendered), SynthesisRefusal::None) << name;

  const ToneSequence normal = NormalForm(sequence);
  int32_t held_ms = 0;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) held_ms = step->time;
  const std::vector<int16_t> expected = ExpectedSamples(normal, level, held_ms, setting.repeat);
  ASSERT_EQ(rendered.size(), expected.size()) << name;
  for (size_t p = 0; p < expected.size(); ++p) {
    ASSERT_EQ(rendered[p], expected[p]) << name << ": first difference at sample " << p;
  }

  const double amplitude = level * 32767 / 100;
  size_t first = 0;
  for (const TonePart& part : normal.parts) {
    const size_t count = static_cast<size_t>(part.duration_ms == kLastsForEver ? held_ms : part.duration_ms) * kRate / 1000;
    if (count >= 256) {
      for (const PartTone& tone : part.tones) {
        EXPECT_NEAR(AmplitudeAt(rendered.data() + first, count, tone.frequency_hz), amplitude, 0.1 * amplitude)
            << name << ": " << tone.frequency_hz << " Hz in the part at sample " << first;
      }
    }
    first += count;
  }
}

TEST(ToneLibrary, EveryEntryRendersAndReadsBackAsItsString) {
  const std::vector<Row> rows = ReadTable();
  ASSERT_GE(rows.size(), 200u);
  std::map<std::string, std::set<std::string>> files;
  for (const Row& row : rows) {
    const std::string path = LibraryPath(row.country + "/" + row.tone + ".ton");
    ToneSequence sequence;
    std::string why_not;
    ToneSetting built;
    const bool accepted = ParseToneString(row.text, &sequence, &why_not) &&
                          BuildToneSetting(sequence, ToneStringOptions(), &built, &why_not);
    ToneSetting setting;
    const bool present = Load(path, &setting);
    EXPECT_EQ(present, accepted) << row.country << "/" << row.tone << ": " << why_not;
    if (!present || !accepted) continue;
    files[row.country].insert(row.tone);
    CheckEntry(row, sequence, setting);
  }
  int complete = 0;
  for (const auto& country : files) {
    const std::set<std::string>& tones = country.second;
    complete += tones.count("dial") && tones.count("ringback") && tones.count("busy") && tones.count("congestion");
  }
  EXPECT_GE(complete, 40) << "countries with dial, ring-back, busy and congestion tones";
}

}  // namespace
