// Editing the ring pattern and the tones through their dialogs, and "Create Tone".
#include <gtest/gtest.h>

#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/window_probe.h"

namespace sonaril_e2e {
namespace {

using Row = std::vector<std::wstring>;

constexpr int kAdd = -1;

TEST(Editing, StepsAreAddedModifiedDeletedAndMovedWithTheirTotal) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  ASSERT_TRUE(main.EditStep(kStepAdd, {1, 500, true}));
  ASSERT_TRUE(main.EditStep(kStepAdd, {0, 250, false}));
  // A ramp keeps no fade, whatever the box said.
  ASSERT_TRUE(main.EditStep(kStepAdd, {2, 250, true}));
  ASSERT_EQ(main.StepCount(), 3);
  EXPECT_EQ(main.StepRow(0), (Row{L"ON", L"500", L"ON"}));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"250", L"OFF"}));
  EXPECT_EQ(main.StepRow(2), (Row{L"100% -> 0%", L"250", L"OFF"}));
  EXPECT_EQ(main.Field(kPatternTotal), L"1000");

  SelectListRow(main.window, kStepList, 0);
  ASSERT_TRUE(main.Click(kStepDelete));
  ASSERT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.StepRow(0), (Row{L"OFF", L"250", L"OFF"}));
  EXPECT_EQ(main.Field(kPatternTotal), L"500");

  SelectListRow(main.window, kStepList, 1);
  ASSERT_TRUE(main.EditStep(kStepModify, {3, 1250, false}));
  EXPECT_EQ(main.StepRow(1), (Row{L"0% -> 100%", L"1250", L"OFF"}));
  EXPECT_EQ(main.Field(kPatternTotal), L"1500");

  // Up on the first row and Down on the last do nothing.
  SelectListRow(main.window, kStepList, 0);
  ASSERT_TRUE(main.Click(kStepUp));
  EXPECT_EQ(main.StepRow(0), (Row{L"OFF", L"250", L"OFF"}));
  SelectListRow(main.window, kStepList, 1);
  ASSERT_TRUE(main.Click(kStepDown));
  EXPECT_EQ(main.StepRow(1), (Row{L"0% -> 100%", L"1250", L"OFF"}));
  // Up exchanges the two rows; the selection stays on the row index.
  ASSERT_TRUE(main.Click(kStepUp));
  EXPECT_EQ(main.StepRow(0), (Row{L"0% -> 100%", L"1250", L"OFF"}));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"250", L"OFF"}));
  EXPECT_EQ(FirstSelectedRow(main.window, kStepList), 1);
  ASSERT_TRUE(main.Click(kStepUp));  // row 1 again: back as before
  EXPECT_EQ(main.StepRow(0), (Row{L"OFF", L"250", L"OFF"}));
  SelectListRow(main.window, kStepList, 0);
  ASSERT_TRUE(main.Click(kStepDown));
  EXPECT_EQ(main.StepRow(1), (Row{L"OFF", L"250", L"OFF"}));
  EXPECT_EQ(main.Field(kPatternTotal), L"1500");

  // Commands without a selected row do nothing.
  SelectListRow(main.window, kStepList, -1);
  for (int command : {kStepDelete, kStepUp, kStepDown, kStepModify}) ASSERT_TRUE(main.Click(command));
  EXPECT_EQ(main.StepCount(), 2);
  EXPECT_EQ(main.Field(kPatternTotal), L"1500");
}

TEST(Editing, TonesAreAddedModifiedAndDeletedAndADoubleClickOpensTheRow) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  ASSERT_TRUE(main.EditTone(kToneAdd, {0, 440, 0, 0, -1, 100}));
  ASSERT_TRUE(main.EditTone(kToneAdd, {3, -440, 90, 100, 900, 25}));
  ASSERT_TRUE(main.EditTone(kToneAdd, {1, 1000, 0, 0, -1, 50}));
  ASSERT_EQ(main.ToneCount(), 3);
  EXPECT_EQ(main.ToneRow(0), (Row{L"Sine Wave", L"440", L"0", L"0", L"-1", L"100"}));
  EXPECT_EQ(main.ToneRow(1), (Row{L"Sawtooth Wave", L"-440", L"90", L"100", L"900", L"25"}));
  EXPECT_EQ(main.ToneRow(2), (Row{L"Square Wave", L"1000", L"0", L"0", L"-1", L"50"}));

  SelectListRow(main.window, kToneList, 1);
  ASSERT_TRUE(main.EditTone(kToneModify, {2, 620, 180, 0, -1, 75}));
  EXPECT_EQ(main.ToneRow(1), (Row{L"Triangle Wave", L"620", L"180", L"0", L"-1", L"75"}));

  EXPECT_EQ(main.FrequencyShownByDoubleClick(2), L"1000");
  EXPECT_EQ(main.FrequencyShownByDoubleClick(1), L"620");
  EXPECT_EQ(main.ToneRow(1), (Row{L"Triangle Wave", L"620", L"180", L"0", L"-1", L"75"}))
      << "cancelled dialogs change nothing";

  SelectListRow(main.window, kToneList, 0);
  ASSERT_TRUE(main.Click(kToneDelete));
  ASSERT_EQ(main.ToneCount(), 2);
  EXPECT_EQ(main.ToneRow(0)[0], L"Triangle Wave");
  // The tone list does not touch the pattern total.
  EXPECT_EQ(main.Field(kPatternTotal), L"0");
}

TEST(Editing, CreateToneEnablesPlaybackAndZoomKeepsWorking) {
  CMainWindow main;
  ASSERT_TRUE(main.Start());
  // No steps: "Create Tone" only stops playback.
  EXPECT_EQ(main.CreateTone(), L"");
  EXPECT_FALSE(main.Transport().enabled);
  ASSERT_TRUE(main.EditStep(kStepAdd, {1, 1000, false}));
  ASSERT_TRUE(main.EditTone(kToneAdd, {0, 1000, 0, 0, -1, 100}));
  EXPECT_FALSE(main.Transport().enabled) << "list edits do not regenerate";
  EXPECT_EQ(main.CreateTone(), L"");
  EXPECT_TRUE(main.Transport().enabled);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(main.Click(kZoomOut));
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(main.Click(kZoomIn));
  EXPECT_TRUE(main.process.IsRunning());
}

struct RefusalCase {
  int language;
  ToneValues tone;
  int step_time;
  const wchar_t* message;
};

// A setting that cannot be synthesised says why, in the language of the run, and the tone
// made before stays.
TEST(Editing, CreateToneRefusesWhatCannotBeSynthesisedAndKeepsThePreviousTone) {
  const RefusalCase cases[] = {
      {0, {0, 0, 0, 0, -1, 100}, 1000, L"The tone cannot be created. A tone has a frequency of 0 Hz."},
      {1, {0, 0, 0, 0, -1, 100}, 1000, L"トーンを生成できません。周波数が 0 Hz の音色があります。"},
      {0, {0, 1000, 0, 0, -1, 100}, 2000000000,
       L"The tone cannot be created. The setting is too long or its values too large to synthesise."},
      {0, {0, 1000, 0, 0, -1, 100}, -600,
       L"The tone cannot be created. The ring pattern's steps add up to no samples."},
  };
  for (const RefusalCase& c : cases) {
    CMainWindow main(c.language);
    ASSERT_TRUE(main.Start());
    ASSERT_TRUE(main.EditStep(kStepAdd, {1, 500, false}));
    ASSERT_TRUE(main.EditTone(kToneAdd, {0, 440, 0, 0, -1, 100}));
    ASSERT_EQ(main.CreateTone(), L"");
    ASSERT_TRUE(main.Transport().enabled);

    ASSERT_TRUE(main.EditStep(kStepAdd, {1, c.step_time, false}));
    SelectListRow(main.window, kToneList, 0);
    ASSERT_TRUE(main.EditTone(kToneModify, c.tone));
    EXPECT_EQ(main.CreateTone(), c.message);
    EXPECT_TRUE(main.Transport().enabled) << "the previous tone is gone";
    ASSERT_TRUE(main.Click(kPlay));
    EXPECT_TRUE(main.process.IsRunning());
    ASSERT_TRUE(main.Click(kStop));
  }
}

}  // namespace
}  // namespace sonaril_e2e
