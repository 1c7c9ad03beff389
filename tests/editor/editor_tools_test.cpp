// The tone library's listing, the recording check and the digits' setting behind the
// window's dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analyze_recording.h"
#include "analysis/expected_cycle.h"
#include "cli/check_report.h"
#include "editor/digits_setting.h"
#include "editor/recording_check.h"
#include "editor/tone_library.h"
#include "files/tone_export.h"
#include "files/tone_file.h"
#include "synth/synthesize_tone.h"
#include "tests/common/setting_builder.h"
#include "tests/common/test_paths.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

using std::filesystem::path;

// 480 + 620 Hz, 500 ms on and off: a busy tone.
void MakeBusy(ToneSetting& setting, int32_t low = 480, int32_t high = 620) {
  AddStep(setting, On, 500);
  AddStep(setting, Off, 500);
  AddTone(setting, Sine, low, 0, 0, -1, 30);
  AddTone(setting, Sine, high, 0, 0, -1, 30);
  setting.repeat = 4;
}

// The tone of a setting written as a WAV file.
void WriteRecording(ToneSetting& setting, const path& file) {
  std::vector<int16_t> samples;
  ASSERT_EQ(SynthesizeTone(setting, setting.sampling_frequency, setting.repeat, false, &samples),
            SynthesisRefusal::None);
  ASSERT_EQ(WriteExport(file.wstring().c_str(), ExportFormat::Wave, samples.data(),
                        static_cast<int32_t>(samples.size()), setting.sampling_frequency, true),
            ExportResult::Written);
}

void WriteSetting(const path& file, int32_t low, int32_t high) {
  std::filesystem::create_directories(file.parent_path());
  ToneSetting setting;
  MakeBusy(setting, low, high);
  ASSERT_TRUE(SaveToneSetting(setting, file.wstring().c_str()));
}

std::vector<std::string> CountryNames(const ToneLibrary& library) {
  std::vector<std::string> names;
  for (const LibraryCountry& country : library.countries) names.push_back(country.name + "/" + country.code);
  return names;
}

}  // namespace

TEST(ToneLibraryIndex, ReadsEntriesAndRefusesWhatIsNoIndex) {
  struct Case {
    const char* json;
    bool read;
    std::vector<std::string> countries;  // name/code
    const char* first_tone;              // name|string|levels|file
  };
  const Case cases[] = {
      {R"([{"country":"Germany","code":"DE","tone":"busy","file":"germany/busy.ton","string":"425/480,0/480","levels":[-10.0]},
          {"country":"Japan","code":"JP","tone":"dial","file":"japan/dial.ton","string":"400","levels":[-10.04,-13.0]},
          {"country":"Germany","code":"DE","tone":"dial","file":"germany/dial.ton","string":"425","levels":"-10 dBm0"}])",
       true, {"Germany/DE", "Japan/JP"}, "busy|425/480,0/480|-10.0 dBm0|lib/germany/busy.ton"},
      {R"({"version":1,"tones":[{"country":"Chile","tone":"busy","file":"chile/busy.ton","levels":-3}]})", true,
       {"Chile/"}, "busy||-3.0 dBm0|lib/chile/busy.ton"},
      // Entries without a country, tone or file, or of the wrong types, are skipped.
      {R"([{"country":"A","tone":"busy"},{"country":7,"tone":"x","file":"f"},3,
          {"country":"Peru","tone":"busy","file":"peru/busy.ton","levels":["loud"]}])",
       true, {"Peru/"}, "busy|||lib/peru/busy.ton"},
      {"[]", false, {}, ""},
      {R"([{"country":"A"}])", false, {}, ""},
      {R"({"tones":{}})", false, {}, ""},
      {"[{\"country\":\"Germany\",", false, {}, ""},
      {"", false, {}, ""},
      {"\"text\"", false, {}, ""},
  };
  for (const Case& c : cases) {
    ToneLibrary library;
    library.countries.push_back({"Kept", "", {}});
    ASSERT_EQ(ReadToneLibraryIndex(c.json, path("lib"), &library), c.read) << c.json;
    if (!c.read) {
      EXPECT_EQ(CountryNames(library), std::vector<std::string>{"Kept/"}) << c.json;
      continue;
    }
    EXPECT_EQ(library.source, LibrarySource::Index);
    EXPECT_EQ(CountryNames(library), c.countries) << c.json;
    const LibraryTone& tone = library.countries[0].tones[0];
    EXPECT_EQ(tone.name + "|" + tone.tone_string + "|" + tone.levels + "|" + tone.file.generic_u8string(),
              c.first_tone);
  }
}

TEST(ToneLibraryFolders, ListsCountriesAndTonesFromTheFilesWhenThereIsNoIndex) {
  sonaril_test::TempDir temp;
  const path root = std::filesystem::u8path(temp.path()) / "tones";
  WriteSetting(root / "new-zealand" / "ringback.ton", 400, 450);
  WriteSetting(root / "new-zealand" / "busy.ton", 400, 450);
  WriteSetting(root / "new-zealand" / "dial.ton", 400, 425);
  WriteSetting(root / "austria" / "busy.ton", 420, 480);
  std::filesystem::create_directories(root / "empty");
  sonaril_test::WriteAll((root / "austria" / "notes.txt").u8string(), "not a tone");
  sonaril_test::WriteAll((root / "austria" / "broken.ton").u8string(), "");

  ToneLibrary library = ReadToneLibrary(root);
  EXPECT_EQ(library.source, LibrarySource::Folders);
  ASSERT_EQ(CountryNames(library), (std::vector<std::string>{"Austria/", "New Zealand/"}));
  std::vector<std::string> tones;
  for (const LibraryTone& tone : library.countries[1].tones) tones.push_back(tone.name);
  EXPECT_EQ(tones, (std::vector<std::string>{"dial", "ringback", "busy"}));
  const LibraryTone& busy = library.countries[1].tones[2];
  EXPECT_EQ(busy.tone_string, "400+450/500,0/500");
  EXPECT_EQ(busy.levels, "-7.3 dBm0");
  EXPECT_EQ(busy.file, root / "new-zealand" / "busy.ton");
  ASSERT_EQ(library.countries[0].tones.size(), 2u);
  EXPECT_EQ(library.countries[0].tones[1].name, "broken");
  EXPECT_EQ(library.countries[0].tones[1].tone_string, "(cannot be read)");

  // A broken index is passed over; a good one is taken.
  sonaril_test::WriteAll((root / "index.json").u8string(), "{ broken");
  EXPECT_EQ(ReadToneLibrary(root).source, LibrarySource::Folders);
  sonaril_test::WriteAll((root / "index.json").u8string(),
                         R"([{"country":"Austria","code":"AT","tone":"busy","file":"austria/busy.ton"}])");
  EXPECT_EQ(CountryNames(ReadToneLibrary(root)), std::vector<std::string>{"Austria/AT"});

  EXPECT_EQ(ReadToneLibrary(root / "missing").source, LibrarySource::Missing);
  EXPECT_EQ(ReadToneLibrary(root / "empty").source, LibrarySource::Missing);
}

TEST(ToneLibraryFolders, TheShippedLibraryListsGermanyWithItsBusyTone) {
  const path root = std::filesystem::u8path(sonaril_test::TestDataPath("../../tones"));
  const ToneLibrary library = ReadToneLibrary(root);
  ASSERT_NE(library.source, LibrarySource::Missing);
  EXPECT_GE(library.countries.size(), 40u);
  const std::vector<size_t> germany = MatchingCountries(library, "germany");
  ASSERT_EQ(germany.size(), 1u);
  bool busy_found = false;
  for (const LibraryTone& tone : library.countries[germany[0]].tones) {
    if (tone.name != "busy") continue;
    busy_found = true;
    EXPECT_EQ(tone.tone_string, "425/480,0/480");
    EXPECT_TRUE(std::filesystem::is_regular_file(tone.file)) << tone.file;
  }
  EXPECT_TRUE(busy_found);
}

TEST(ToneLibraryNames, FolderNamesAndFilters) {
  const std::pair<const char*, const char*> names[] = {
      {"costa-rica", "Costa Rica"}, {"japan", "Japan"}, {"czech-republic", "Czech Republic"}, {"", ""}, {"a--b", "A  B"}};
  for (const auto& [folder, name] : names) EXPECT_EQ(CountryNameFromFolder(folder), name) << folder;

  ToneLibrary library;
  for (const char* name : {"Germany", "Japan", "United Kingdom", "Greece"}) library.countries.push_back({name, "", {}});
  library.countries[0].code = "DE";
  library.countries[2].code = "GB";
  const std::pair<const char*, std::vector<size_t>> filters[] = {
      {"", {0, 1, 2, 3}}, {"  ", {0, 1, 2, 3}}, {"ge", {0}}, {"GE", {0}}, {"  japan ", {1}},
      {"gb", {2}},        {"an", {0, 1}},       {"e", {0, 2, 3}}, {"xyz", {}}, {"united k", {2}}};
  for (const auto& [typed, expected] : filters) EXPECT_EQ(MatchingCountries(library, typed), expected) << typed;
}

TEST(RecordingCheck, PassAndFailGiveTheRowsCheckPrints) {
  sonaril_test::TempDir temp;
  const path recording = std::filesystem::u8path(temp.File("busy.wav"));
  ToneSetting heard;
  MakeBusy(heard);
  WriteRecording(heard, recording);

  struct Case {
    int32_t low, high;
    bool pass;
  };
  for (const Case& c : {Case{480, 620, true}, Case{480, 650, false}}) {
    ToneSetting setting;
    MakeBusy(setting, c.low, c.high);
    const RecordingCheck check = CheckRecording(setting, "busy.ton", recording, 0);
    ASSERT_TRUE(check.problem.empty()) << c.high;
    EXPECT_EQ(check.pass, c.pass);
    EXPECT_EQ(check.tolerances, "frequency 1.50 %, cadence 10.0 % (at least 20 ms), level 3.0 dB");
    ASSERT_EQ(check.rows.size(), 4u);  // the ON step with its two tones, the OFF step
    EXPECT_EQ(check.rows[0].step + "|" + check.rows[0].kind + "|" + check.rows[0].expected, "1|ON|500.0 ms");
    EXPECT_EQ(check.rows[2].result, c.pass ? "ok" : "frequency -4.62 %");
    EXPECT_EQ(check.rows[2].ok, c.pass);

    // The report is what `sonaril-cli check` prints for the same comparison.
    ExpectedCycle expected;
    ASSERT_EQ(BuildExpectedCycle(setting, &expected), SynthesisRefusal::None);
    Recording samples;
    std::string reason;
    ASSERT_EQ(ReadRecording(recording.wstring().c_str(), RecordingEncoding::Wave, 8000, &samples, &reason),
              RecordingProblem::None);
    RecordingAnalysis analysis;
    ASSERT_TRUE(AnalyzeRecording(samples.samples.data(), static_cast<int64_t>(samples.samples.size()),
                                 samples.sampling_frequency, &analysis));
    const CheckTolerances tolerances;
    EXPECT_EQ(check.report, FormatCheckText("busy.wav", "busy.ton", tolerances,
                                            CompareWithExpected(expected, samples.samples.data(), analysis, tolerances)));
  }
}

TEST(RecordingCheck, WhatCannotBeCheckedIsOneLine) {
  sonaril_test::TempDir temp;
  const path silent = std::filesystem::u8path(temp.File("silent.wav"));
  ToneSetting quiet;
  AddStep(quiet, Off, 2000);
  AddTone(quiet, Sine, 400);
  WriteRecording(quiet, silent);
  const path missing = std::filesystem::u8path(temp.File("missing.wav"));
  const path text = std::filesystem::u8path(temp.File("notes.wav"));
  sonaril_test::WriteAll(text.u8string(), "this is not a recording at all");

  struct Case {
    bool has_steps;
    path recording;
    int32_t language;
    std::wstring begins;
  };
  const Case cases[] = {
      {true, silent, 0, L"No tone was heard in silent.wav."},
      {true, silent, 1, L"silent.wav にトーンが聞こえません。"},
      {true, missing, 0, L"missing.wav cannot be checked: "},
      {true, text, 1, L"notes.wav を確認できません: "},
      {false, silent, 0, L""},
  };
  for (const Case& c : cases) {
    ToneSetting setting;
    MakeBusy(setting);
    if (!c.has_steps) setting.Clear();
    const RecordingCheck check = CheckRecording(setting, "busy.ton", c.recording, c.language);
    EXPECT_FALSE(check.problem.empty());
    EXPECT_EQ(check.problem.find(L'\n'), std::wstring::npos);
    EXPECT_EQ(check.problem.compare(0, c.begins.size(), c.begins), 0);
    EXPECT_TRUE(check.rows.empty());
    EXPECT_FALSE(check.pass);
  }
}

TEST(RecordingCheck, EncodingFollowsTheExtension) {
  const std::pair<const char*, RecordingEncoding> cases[] = {
      {"a.wav", RecordingEncoding::Wave},   {"a.WAV", RecordingEncoding::Wave}, {"a", RecordingEncoding::Wave},
      {"a.ul", RecordingEncoding::MuLaw},   {"a.MULAW", RecordingEncoding::MuLaw}, {"a.ulaw", RecordingEncoding::MuLaw},
      {"a.al", RecordingEncoding::ALaw},    {"b/a.alaw", RecordingEncoding::ALaw}, {"al.wav", RecordingEncoding::Wave}};
  for (const auto& [name, encoding] : cases) EXPECT_EQ(RecordingEncodingFor(name), encoding) << name;
}

TEST(DigitsSetting, BuildsTheSettingThatSendsTheDigitsOrSaysWhyNot) {
  struct Case {
    DigitsForm form;
    int32_t language;
    const char* tone_string;  // empty: refused
    std::wstring why_not;     // the start of the refusal
  };
  const DigitsForm dtmf;
  DigitsForm twelve = dtmf;
  twelve.digits = L"1,2";
  DigitsForm full_width = dtmf;
  full_width.digits = L"１２";
  DigitsForm mf = FormForSystem(dtmf, DigitSystem::Mf);
  mf.digits = L"KP1ST";
  DigitsForm letter = dtmf;
  letter.digits = L"12X";
  DigitsForm no_digits = dtmf;
  DigitsForm bad_on = twelve;
  bad_on.on_ms = L"fast";
  DigitsForm bad_pause = twelve;
  bad_pause.pause_ms = L"5s";
  DigitsForm zero_off = twelve;
  zero_off.off_ms = L"0";
  const Case cases[] = {
      {twelve, 0, "697+1209/100,0/100,0/500,697+1336/100,0/100", L""},
      {full_width, 0, "697+1209/100,0/100,697+1336/100,0/100", L""},
      {mf, 0, "1100+1700/100,0/68,700+900/68,0/68,1500+1700/68,0/68", L""},
      {letter, 0, "", L"'X' at position 3 is no DTMF digit"},
      {no_digits, 0, "", L"no digit to send"},
      {bad_on, 0, "", L"On (ms): \"fast\" is not a number."},
      {bad_pause, 1, "", L"ポーズ (ms): 「5s」は数値ではありません。"},
      {zero_off, 0, "", L"a gap"},
  };
  for (const Case& c : cases) {
    ToneSetting setting;
    AddStep(setting, On, 1234);
    std::wstring why_not;
    const bool built = BuildDigitsSetting(c.form, 8000, 1, c.language, &setting, &why_not);
    ASSERT_EQ(built, c.tone_string[0] != '\0') << c.tone_string;
    if (!built) {
      EXPECT_EQ(why_not.compare(0, c.why_not.size(), c.why_not), 0);
      ASSERT_NE(setting.patterns, nullptr);
      EXPECT_EQ(setting.patterns->time, 1234) << "a refusal leaves the setting alone";
      continue;
    }
    ToneSequence sequence;
    std::string reason;
    ASSERT_TRUE(ReadToneSequence(setting, &sequence, &reason)) << reason;
    EXPECT_EQ(FormatToneString(sequence), c.tone_string);
  }
  EXPECT_EQ(mf.on_ms + L"/" + mf.off_ms + L"/" + mf.pause_ms, L"68/68/500");
  const DigitsForm back = FormForSystem(mf, DigitSystem::Dtmf);
  EXPECT_EQ(back.on_ms + L"/" + back.off_ms + L"/" + back.digits, L"100/100/KP1ST");
}
