// The reader: settings made by hand or by the builder read back as tone strings, and the
// ones that are not tone strings say why.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/string.h"
#include "files/tone_file.h"
#include "tests/common/setting_builder.h"
#include "tests/common/test_paths.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

// The tone string of a setting, or "refused: <reason>".
std::string Read(const ToneSetting& setting) {
  ToneSequence sequence;
  std::string why_not;
  if (!ReadToneSequence(setting, &sequence, &why_not)) return "refused: " + why_not;
  return FormatToneString(sequence);
}

struct HandMade {
  const char* name;
  std::function<void(ToneSetting&)> make;
  const char* read;
};

TEST(ToneSettingReader, HandMadeSettingsReadAsToneStringsOrSayWhyNot) {
  const HandMade cases[] = {
      {"always-on tones under a cycle", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 500); AddStep(s, Off, 500);
         AddTone(s, Sine, 620, 0, 0, -1, 25); AddTone(s, Sine, 480, 0, 0, -1, 25);
       }, "480@-9+620@-9/500,0/500"},
      {"the default level is left unwritten", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 500); AddStep(s, Off, 500);
         AddTone(s, Sine, 620, 0, 0, -1, 49); AddTone(s, Sine, 480, 0, 0, -1, 49);
       }, "480+620/500,0/500"},
      {"played once, ending in silence, tones that never stop", [](ToneSetting& s) {
         AddStep(s, On, 500); AddStep(s, Off, 500);
         AddTone(s, Sine, 480, 0, 0, -1, 25);
       }, "480@-9/500,0/500"},
      {"played once, ending in a sound that never stops", [](ToneSetting& s) {
         AddStep(s, On, 100); AddStep(s, Off, 100); AddStep(s, On, 500);
         AddTone(s, Sine, 440, 0, 0, -1, 50);
       }, "!440@-2.9/100,!0/100,440@-2.9"},
      {"played twice, the same steps are a cycle", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 100); AddStep(s, Off, 100); AddStep(s, On, 500);
         AddTone(s, Sine, 440, 0, 0, -1, 50);
       }, "440@-2.9/100,0/100,440@-2.9/500"},
      {"tones gated to their steps", [](ToneSetting& s) {
         AddStep(s, On, 330); AddStep(s, On, 330); AddStep(s, Off, 1000);
         AddTone(s, Sine, 1400, 0, 330, 660, 20); AddTone(s, Sine, 950, 0, 0, 330, 20);
       }, "!950@-11/330,!1400@-11/330,0"},
      {"a silent tone is left out", [](ToneSetting& s) {
         AddStep(s, On, 1000);
         AddTone(s, Square, 440, 0, 0, -1, 0); AddTone(s, Sine, 480, 0, 0, -1, 30);
       }, "480@-7.3"},
      {"an ON step where nothing sounds is silence", [](ToneSetting& s) {
         s.repeat = 3;
         AddStep(s, On, 200); AddStep(s, On, 200); AddStep(s, On, 200);
         AddTone(s, Sine, 425, 0, 0, 200, 30); AddTone(s, Sine, 440, 0, 400, 600, 30);
       }, "425@-7.3/200,0/200,440@-7.3/200"},
      {"a tone ending where the tones loop sounds on", [](ToneSetting& s) {
         AddStep(s, On, 1000);
         AddTone(s, Sine, 440, 0, 0, 500, 30);
       }, "440@-7.3/1000"},
      {"steps of OFF fade nothing", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 200); AddStep(s, Off, 200, 1);
         AddTone(s, Sine, 425, 0, 0, -1, 30);
       }, "425@-7.3/200,0/200"},
      {"one frequency at two levels", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 375); AddStep(s, Off, 375); AddStep(s, On, 375); AddStep(s, Off, 375);
         AddTone(s, Sine, 425, 0, 0, 375, 22); AddTone(s, Sine, 425, 0, 750, 1500, 7);
       }, "425@-10/375,0/375,425@-20/375,0/375"},
      {"a spill off the zero crossing is marked \"~\"", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 750); AddStep(s, On, 750);
         AddTone(s, Sine, 350, 90, 0, 750, 30); AddTone(s, Sine, 440, 0, 0, 1500, 30);
       }, "350@-7.3+440@-7.3/750~,440@-7.3/750"},
      {"a spill into a step after silence", [](ToneSetting& s) {
         AddStep(s, On, 750); AddStep(s, On, 750);
         AddTone(s, Sine, 350, 90, 750, 750, 30); AddTone(s, Sine, 440, 0, 0, 1500, 30);
       }, "refused: tone 1 (350 Hz) sounds during only part of step 2"},
      {"a tone stopping inside a step", [](ToneSetting& s) {
         AddStep(s, On, 1000);
         AddTone(s, Sine, 440, 0, 0, 500, 30); AddTone(s, Sine, 480, 0, 0, 1000, 30);
       }, "refused: tone 1 (440 Hz) sounds during only part of step 1"},
      {"tones that loop apart from the pattern", [](ToneSetting& s) {
         s.repeat = 2;
         AddStep(s, On, 100); AddStep(s, On, 100); AddStep(s, Off, 100);
         AddTone(s, Sine, 440, 0, 0, 100, 30); AddTone(s, Sine, 620, 0, 100, 200, 30);
       }, "refused: step 1 sounds other tones in cycle 2 than in the first: the tones do not repeat with the ring pattern"},
      {"one frequency twice", [](ToneSetting& s) {
         AddStep(s, On, 100);
         AddTone(s, Sine, 440, 0, 0, -1, 30); AddTone(s, Sine, 440, 0, 0, -1, 30);
       }, "refused: tone 2 (440 Hz) and tone 1 both sound in step 1"},
      {"a fade", [](ToneSetting& s) { AddStep(s, On, 100, 1); AddTone(s, Sine, 440); },
       "refused: step 1 fades in and out"},
      {"a ramp", [](ToneSetting& s) { AddStep(s, On, 100); AddStep(s, RampUp, 100); AddTone(s, Sine, 440); },
       "refused: step 2 is a ramp"},
      {"a gain from a file", [](ToneSetting& s) { AddStep(s, 5, 100); AddTone(s, Sine, 440); },
       "refused: step 1 has a gain of 5"},
      {"a step of no time", [](ToneSetting& s) { AddStep(s, On, 100); AddStep(s, Off, 0); AddTone(s, Sine, 440); },
       "refused: step 2 lasts 0 ms"},
      {"a step between samples", [](ToneSetting& s) {
         s.sampling_frequency = 44100;
         AddStep(s, On, 25); AddStep(s, Off, 25); AddTone(s, Sine, 440);
       }, "refused: step 1 lasts 25 ms, which is not a whole number of samples at 44100 Hz"},
      {"a square wave", [](ToneSetting& s) { AddStep(s, On, 100); AddTone(s, Square, 440); },
       "refused: tone 1 is a square wave"},
      {"a tone above half the rate", [](ToneSetting& s) { AddStep(s, On, 100); AddTone(s, Sine, 5000); },
       "refused: tone 1: 5000 Hz is not between 1 Hz and half the sampling frequency (4000 Hz)"},
      {"the filter", [](ToneSetting& s) { s.filter_on = 1; AddStep(s, On, 100); AddTone(s, Sine, 440); },
       "refused: the low-pass filter is on, so the parts blur into each other"},
      {"no tones", [](ToneSetting& s) { AddStep(s, On, 100); }, "refused: the setting has no tones"},
      {"silence only", [](ToneSetting& s) { AddStep(s, Off, 100); AddTone(s, Sine, 440); },
       "refused: no tone sounds in any step"},
      {"a rate not offered", [](ToneSetting& s) {
         s.sampling_frequency = 11025;
         AddStep(s, On, 100); AddTone(s, Sine, 440);
       }, "refused: the sampling frequency 11025 Hz is not one of 8000, 16000, 32000, 44100, 48000 and 96000 Hz"},
  };
  for (const HandMade& item : cases) {
    ToneSetting setting;
    item.make(setting);
    EXPECT_EQ(Read(setting), item.read) << item.name;
  }
}

TEST(ToneSettingReader, ExamplesReadAsToneStringsOnlyWithoutFades) {
  const struct {
    const char* file;
    const char* read;
  } cases[] = {
      {"test-tone-1khz-minus6db.ton", "1000@-2.9"},
      {"ringback-uk.ton", "refused: step 1 fades in and out"},
      {"ramps-and-fades.ton", "refused: the low-pass filter is on, so the parts blur into each other"},
  };
  for (const auto& item : cases) {
    ToneSetting setting;
    CString path;
    path.Assign(sonaril_test::TestDataPath(std::string("../../examples/") + item.file).c_str());
    ASSERT_TRUE(LoadToneSetting(setting, path.GetWide())) << item.file;
    EXPECT_EQ(Read(setting), item.read) << item.file;
  }
}

}  // namespace
