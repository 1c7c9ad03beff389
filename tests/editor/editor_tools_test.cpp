// The tone library's listing, the recording check and the digits' setting behind the
// window's dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// A busy tone: low + high Hz, 500 ms on and off, four cycles.
void MakeBusy(ToneSetting& setting, int32_t low, int32_t high) {
  AddStep(setting, On, 500);
  AddStep(setting, Off, 500);
  AddTone(setting, Sine, low, 0, 0, -1, 30);
  AddTone(setting, Sine, high, 0, 0, -1, 30);
  setting.repeat = 4;
}

std::string Countries(const ToneLibrary& library) {
  std::string names;
  for (const LibraryCountry& country : library.countries) names += country.name + "/" + country.code + ";";
  return names;
}

TEST(ToneLibraryIndex, ReadsEntriesAndRefusesWhatIsNoIndex) {
  const struct {
    const char* json;
    const char* countries;   // empty: refused, the library left as it was
    const char* first_tone;  // name|string|levels|file
  } cases[] = {
      {R"([{"country":"Germany","code":"DE","tone":"busy","file":"germany/busy.ton","string":"425/480,0/480","levels":[-10.0]},
          {"country":"Japan","code":"JP","tone":"dial","file":"japan/dial.ton","levels":[-10.04,-13.0]},
          {"country":"Germany","code":"DE","tone":"dial","file":"germany/dial.ton","levels":"-10 dBm0"}])",
       "Germany/DE;Japan/JP;", "busy|425/480,0/480|-10.0 dBm0|lib/germany/busy.ton"},
      {R"({"version":1,"tones":[{"country":"Chile","tone":"busy","file":"chile/busy.ton","levels":-3}]})", "Chile/;",
       "busy||-3.0 dBm0|lib/chile/busy.ton"},
      // Entries without a country, tone or file, or of the wrong types, are skipped.
      {R"([{"country":"A","tone":"busy"},{"country":7,"tone":"x","file":"f"},3,
          {"country":"Peru","tone":"busy","file":"peru/busy.ton","levels":["loud"]}])",
       "Peru/;", "busy|||lib/peru/busy.ton"},
      {"[]", "", ""}, {R"([{"country":"A"}])", "", ""}, {R"({"tones":{}})", "", ""},
      {"[{\"country\":\"Germany\",", "", ""}, {"", "", ""}, {"\"text\"", "", ""},
  };
  for (const auto& c : cases) {
    ToneLibrary library;
    library.countries.push_back({"Kept", "", {}});
    const bool read = c.countries[0] != '\0';
    ASSERT_EQ(ReadToneLibraryIndex(c.json, path("lib"), &library), read) << c.json;
    EXPECT_EQ(Countries(library), read ? c.countries : "Kept/;") << c.json;
    if (!read) continue;
    const LibraryTone& tone = library.countries[0].tones[0];
    EXPECT_EQ(tone.name + "|" + tone.tone_string + "|" + tone.levels + "|" + tone.file.generic_u8string(),
              c.first_tone);
  }
}

TEST(ToneLibraryFolders, ListsCountriesAndTonesFromTheFilesWhenThereIsNoGoodIndex) {
  sonaril_test::TempDir temp;
  const path root = std::filesystem::u8path(temp.path()) / "tones";
  for (const char* file : {"new-zealand/ringback", "new-zealand/busy", "new-zealand/dial", "austria/busy"}) {
    std::filesystem::create_directories((root / file).parent_path());
    ToneSetting setting;
    MakeBusy(setting, 400, 450);
    ASSERT_TRUE(SaveToneSetting(setting, (root / (std::string(file) + ".ton")).wstring().c_str()));
  }
  std::filesystem::create_directories(root / "empty");
  sonaril_test::WriteAll((root / "austria" / "notes.txt").u8string(), "not a tone");
  sonaril_test::WriteAll((root / "austria" / "broken.ton").u8string(), "");
  sonaril_test::WriteAll((root / "index.json").u8string(), "{ broken");

  const ToneLibrary library = ReadToneLibrary(root);
  EXPECT_EQ(library.source, LibrarySource::Folders);
  ASSERT_EQ(Countries(library), "Austria/;New Zealand/;");
  std::string tones;
  for (const LibraryTone& tone : library.countries[1].tones) tones += tone.name + " ";
  EXPECT_EQ(tones, "dial ringback busy ");  // the library's order, not the alphabet's
  const LibraryTone& busy = library.countries[1].tones[2];
  EXPECT_EQ(busy.tone_string + "|" + busy.levels, "400@-7.3+450@-7.3/500,0/500|-7.3 dBm0");
  EXPECT_EQ(busy.file, root / "new-zealand" / "busy.ton");
  ASSERT_EQ(library.countries[0].tones.size(), 2u);
  EXPECT_EQ(library.countries[0].tones[1].tone_string, "(cannot be read)");

  sonaril_test::WriteAll((root / "index.json").u8string(),
                         R"([{"country":"Austria","code":"AT","tone":"busy","file":"austria/busy.ton"}])");
  EXPECT_EQ(Countries(ReadToneLibrary(root)), "Austria/AT;");
  EXPECT_EQ(ReadToneLibrary(root / "missing").source, LibrarySource::Missing);
  EXPECT_EQ(ReadToneLibrary(root / "empty").source, LibrarySource::Missing);
}

TEST(ToneLibraryNames, FolderNamesAndFilters) {
  EXPECT_EQ(CountryNameFromFolder("czech-republic"), "Czech Republic");
  EXPECT_EQ(CountryNameFromFolder(""), "");
  ToneLibrary library;
  library.countries = {{"Germany", "DE", {}}, {"Japan", "", {}}, {"United Kingdom", "GB", {}}, {"Greece", "", {}}};
  const std::pair<const char*, std::vector<size_t>> filters[] = {
      {"  ", {0, 1, 2, 3}}, {"GE", {0}}, {"  japan ", {1}}, {"gb", {2}}, {"e", {0, 2, 3}}, {"xyz", {}}};
  for (const auto& [typed, expected] : filters) EXPECT_EQ(MatchingCountries(library, typed), expected) << typed;
}

TEST(RecordingCheck, PassFailAndWhatCannotBeChecked) {
  sonaril_test::TempDir temp;
  const path recording = std::filesystem::u8path(temp.File("busy.wav"));
  ToneSetting busy;
  MakeBusy(busy, 480, 620);
  std::vector<int16_t> samples;
  ASSERT_EQ(SynthesizeTone(busy, 8000, 4, false, &samples), SynthesisRefusal::None);
  ASSERT_EQ(WriteExport(recording.wstring().c_str(), ExportFormat::Wave, samples.data(),
                        static_cast<int32_t>(samples.size()), 8000, true),
            ExportResult::Written);

  for (const auto& [high, pass] : {std::pair{620, true}, std::pair{650, false}}) {
    ToneSetting setting;
    MakeBusy(setting, 480, high);
    const RecordingCheck check = CheckRecording(setting, "busy.ton", recording, 0);
    ASSERT_TRUE(check.problem.empty()) << high;
    EXPECT_EQ(check.pass, pass);
    EXPECT_EQ(check.verdict, pass ? L"PASS" : L"FAIL");
    EXPECT_EQ(check.report.rfind("Recording:  busy.wav\nSetting:    busy.ton\n", 0), 0u);
    EXPECT_EQ(check.tolerances, "frequency 1.50 %, cadence 10.0 % (at least 20 ms), level 3.0 dB");
    ASSERT_EQ(check.rows.size(), 4u);  // the ON step with its two tones, the OFF step
    EXPECT_EQ(check.rows[0].step + "|" + check.rows[0].kind + "|" + check.rows[0].expected, "1|ON|500.0 ms");
    EXPECT_EQ(check.rows[2].result, pass ? "ok" : "frequency -4.62 %");
    EXPECT_EQ(check.rows[2].ok, pass);
  }

  // What cannot be checked is one line. (Silent recordings: the window's test.)
  ToneSetting empty;
  EXPECT_FALSE(CheckRecording(empty, "empty.ton", recording, 0).problem.empty());
  EXPECT_EQ(CheckRecording(busy, "busy.ton", path(temp.File("missing.wav")), 1).problem.rfind(
                L"missing.wav を確認できません: ", 0),
            0u);

  const std::pair<const char*, RecordingEncoding> encodings[] = {
      {"a", RecordingEncoding::Wave}, {"al.wav", RecordingEncoding::Wave}, {"a.MULAW", RecordingEncoding::MuLaw},
      {"b/a.alaw", RecordingEncoding::ALaw}};
  for (const auto& [name, encoding] : encodings) EXPECT_EQ(RecordingEncodingFor(name), encoding) << name;
}

TEST(DigitsSetting, BuildsTheSettingThatSendsTheDigitsOrSaysWhyNot) {
  const DigitsForm dtmf;
  const DigitsForm mf = FormForSystem(dtmf, DigitSystem::Mf);
  EXPECT_EQ(mf.on_ms + L"/" + mf.off_ms + L"/" + mf.pause_ms, L"68/68/500");
  const struct {
    std::wstring digits;
    const DigitsForm& form;
    std::wstring on_ms, pause_ms;
    int32_t language;
    const char* tone_string;  // empty: refused
    std::wstring why_not;     // the start of the refusal
  } cases[] = {
      {L"１,２", dtmf, L"100", L"500", 0, "697@-9+1209@-7/100,0/100,0/500,697@-9+1336@-7/100,0/100", L""},  // full width
      {L"KP1ST", mf, L"68", L"500", 0, "1100@-7+1700@-7/100,0/68,700@-7+900@-7/68,0/68,1500@-7+1700@-7/68,0/68", L""},
      {L"12X", dtmf, L"100", L"500", 0, "", L"'X' at position 3 is no DTMF digit"},
      {L"1", dtmf, L"fast", L"500", 0, "", L"On (ms): \"fast\" is not a number."},
      {L"1", dtmf, L"100", L"5s", 1, "", L"ポーズ (ms): 「5s」は数値ではありません。"},
  };
  for (const auto& c : cases) {
    DigitsForm form = c.form;
    form.digits = c.digits;
    form.on_ms = c.on_ms;
    form.pause_ms = c.pause_ms;
    ToneSetting setting;
    AddStep(setting, On, 1234);
    std::wstring why_not;
    const bool built = BuildDigitsSetting(form, 8000, 1, c.language, &setting, &why_not);
    ASSERT_EQ(built, c.tone_string[0] != '\0') << c.tone_string;
    if (!built) {
      EXPECT_EQ(why_not.compare(0, c.why_not.size(), c.why_not), 0);
      EXPECT_EQ(setting.patterns->time, 1234) << "a refusal leaves the setting alone";
      continue;
    }
    ToneSequence sequence;
    std::string reason;
    ASSERT_TRUE(ReadToneSequence(setting, &sequence, &reason)) << reason;
    EXPECT_EQ(FormatToneString(sequence), c.tone_string);
  }
}

}  // namespace
