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

// Columns: country, name, code, tone, tone string, level dBm0, sources, note, disagreement.
std::vector<Row> ReadTable() {
  std::ifstream table(LibraryPath("tone-table.tsv"));
  std::vector<Row> rows;
  std::string line;
  std::getline(table, line);  // the header
  while (std::getline(table, line)) {
    std::vector<std::string> fields;
    std::stringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    fields.resize(6);
    rows.push_back({fields[0], fields[3], fields[4], fields[5]});
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
// the tone as the generator runs them, at their levels; silence between. A part marked "~"
// sounds its tones that stop on the next part's first sample too, and nowhere else.
std::vector<int16_t> ExpectedSamples(const ToneSequence& leveled, int32_t held_ms, int32_t cycles) {
  using Key = std::pair<int32_t, int32_t>;  // hertz, percent
  std::map<Key, reference::Generator> sines;
  std::vector<int16_t> samples;
  auto add = [&](const Key& key, size_t from, size_t to) {
    if (sines.count(key) == 0) sines[key].Init(0, kRate, 0, -1, key.first, 0, key.second);
    for (size_t p = from; p < to; ++p) {
      samples[p] = static_cast<int16_t>(samples[p] + sines[key].Value(static_cast<int32_t>(p % kRate)));
    }
  };
  for (int32_t cycle = 0; cycle < cycles; ++cycle) {
    std::set<Key> before;  // the tones of a part marked "~"
    for (const TonePart& part : leveled.parts) {
      const int32_t duration = part.duration_ms == kLastsForEver ? held_ms : part.duration_ms;
      const size_t first = samples.size();
      samples.resize(first + static_cast<size_t>(duration) * kRate / 1000, 0);
      std::set<Key> keys;
      for (const PartTone& tone : part.tones) keys.insert({int32_t(tone.frequency_hz), int32_t(tone.level_percent)});
      for (const Key& key : keys) add(key, first, samples.size());
      for (const Key& key : before) {
        if (keys.count(key) == 0) add(key, first, first + 1);
      }
      before = part.sounds_into_next ? keys : std::set<Key>();
    }
  }
  return samples;
}

void CheckEntry(const std::string& name, const ToneSequence& sequence, double row_percent, ToneSetting& setting) {
  EXPECT_EQ(setting.sampling_frequency, kRate) << name;

  // Each tone at its level as the setting holds it: its own, else the row's; side tones of
  // modulation under it; whole percent.
  ToneSequence leveled = NormalForm(sequence);
  for (TonePart& part : leveled.parts) {
    for (PartTone& tone : part.tones) {
      const double asked = tone.level_percent < 0.0 ? row_percent : tone.level_percent;
      tone = PartTone{tone.frequency_hz, std::round(asked * std::pow(10.0, tone.level_offset_db / 20.0))};
    }
  }
  ToneSequence read;
  std::string why_not;
  ASSERT_TRUE(ReadToneSequence(setting, &read, &why_not)) << name << ": " << why_not;
  EXPECT_EQ(FormatToneString(read), FormatToneString(leveled)) << name;

  std::vector<int16_t> rendered;
  ASSERT_EQ(SynthesizeTone(setting, kRate, setting.repeat, false, &rendered), SynthesisRefusal::None) << name;
  int32_t held_ms = 0;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) held_ms = step->time;
  const std::vector<int16_t> expected = ExpectedSamples(leveled, held_ms, setting.repeat);
  ASSERT_EQ(rendered.size(), expected.size()) << name;
  for (size_t p = 0; p < expected.size(); ++p) {
    ASSERT_EQ(rendered[p], expected[p]) << name << ": first difference at sample " << p;
  }

  // Every sine of a part long enough to resolve its neighbours (eight Hann bins apart)
  // measures within 0.1 dB of its level.
  size_t first = 0;
  for (const TonePart& part : leveled.parts) {
    const size_t count = static_cast<size_t>(part.duration_ms == kLastsForEver ? held_ms : part.duration_ms) * kRate / 1000;
    double closest = 1e9;
    for (size_t a = 0; a < part.tones.size(); ++a) {
      for (size_t b = 0; b < a; ++b) closest = std::min(closest, std::fabs(part.tones[a].frequency_hz - part.tones[b].frequency_hz));
    }
    if (count >= 256 && closest * count / kRate >= 8.0) {
      for (const PartTone& tone : part.tones) {
        const double amplitude = tone.level_percent * 32767 / 100;
        EXPECT_NEAR(20.0 * std::log10(AmplitudeAt(rendered.data() + first, count, tone.frequency_hz) / amplitude), 0.0, 0.1)
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
    ToneStringOptions options;
    options.level_percent = DbfsToPercent(Dbm0ToDbfs(row.level_dbm0.empty() ? kDefaultDbm0 : std::stod(row.level_dbm0)));
    const bool accepted = ParseToneString(row.text, &sequence, &why_not) &&
                          BuildToneSetting(sequence, options, &built, &why_not);
    ToneSetting setting;
    const bool present = Load(path, &setting);
    EXPECT_EQ(present, accepted) << row.country << "/" << row.tone << ": " << why_not;
    if (!present || !accepted) continue;
    files[row.country].insert(row.tone);
    CheckEntry(row.country + "/" + row.tone, sequence, options.level_percent, setting);
  }
  int complete = 0;
  for (const auto& country : files) {
    const std::set<std::string>& tones = country.second;
    complete += tones.count("dial") && tones.count("ringback") && tones.count("busy") && tones.count("congestion");
  }
  EXPECT_GE(complete, 40) << "countries with dial, ring-back, busy and congestion tones";
}

}  // namespace
