// The language of the run, what the language dialog offers, and what follows it.
#include "app/language_decision.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(RunLanguage, StoredChoiceDecidesWithoutAsking) {
  struct Case {
    int32_t stored;
    int32_t current;
    bool ask;
  };
  const Case cases[] = {
      {0, 0, false}, {1, 1, false},                              // a stored choice
      {-1, 0, true},                                             // never chosen: first start
      {7, 0, true}, {2, 0, true}, {-2, 0, true},                 // damaged values count as none
      {INT_MAX, 0, true}, {INT_MIN, 0, true},
  };
  for (const Case& c : cases) {
    const RunLanguage run = DecideRunLanguage(c.stored);
    EXPECT_EQ(run.current_language, c.current) << "stored " << c.stored;
    EXPECT_EQ(run.ask_first_start, c.ask) << "stored " << c.stored;
  }
}

TEST(LanguageDialogSetup, FirstStartGuessesFromTheUserInterfaceLanguage) {
  struct Case {
    int32_t stored;
    uint16_t user_language;
    int32_t display;
    int32_t selection;
  };
  const Case cases[] = {
      {-1, 0x0411, 1, 1},  // Japanese system: Japanese texts, Japanese preselected
      {-1, 0x0409, 0, 0},  // US English
      {-1, 0x0809, 0, 0},  // UK English
      {-1, 0x0804, 0, 0},  // Chinese: English
      {-1, 0x0011, 0, 0},  // the bare primary language id is not 0x0411
      {-1, 0x0000, 0, 0},
      {7, 0x0411, 1, 1},   // a damaged stored value is guessed like none
      {-5, 0x0409, 0, 0},
  };
  for (const Case& c : cases) {
    const LanguageDialogSetup setup = SetUpLanguageDialog(c.stored, 0, c.user_language);
    EXPECT_EQ(setup.display_language, c.display) << std::hex << c.user_language;
    EXPECT_EQ(setup.selection, c.selection) << std::hex << c.user_language;
  }
}

TEST(LanguageDialogSetup, FromTheMenuSpeaksTheRunLanguageAndPreselectsTheStoredOne) {
  // Running in Japanese with English stored (chosen earlier, effective next start).
  LanguageDialogSetup setup = SetUpLanguageDialog(0, 1, 0x0409);
  EXPECT_EQ(setup.display_language, 1);
  EXPECT_EQ(setup.selection, 0);
  setup = SetUpLanguageDialog(1, 0, 0x0411);
  EXPECT_EQ(setup.display_language, 0);
  EXPECT_EQ(setup.selection, 1);
}

TEST(LanguageChoice, FirstStartTakesEffectAndIsStoredEvenWhenCancelled) {
  struct Case {
    bool first_start;
    bool confirmed;
    bool store;
    bool set_current;
  };
  const Case cases[] = {
      {true, false, true, true},    // cancelled at first start: the guess counts
      {true, true, true, true},
      {false, true, true, false},   // OK from the menu: stored for the next start only
      {false, false, false, false}, // cancelled from the menu: nothing
  };
  for (const Case& c : cases) {
    const LanguageChoice choice = ResolveLanguageChoice(c.first_start, c.confirmed, 1);
    EXPECT_EQ(choice.store, c.store) << c.first_start << c.confirmed;
    EXPECT_EQ(choice.set_current_language, c.set_current) << c.first_start << c.confirmed;
    EXPECT_EQ(choice.selection, 1);
  }
}

TEST(DialogTemplates, JapaneseOnlyForLanguageOne) {
  struct Case {
    int32_t japanese_id;
    int32_t language;
    int32_t expected;
  };
  const Case cases[] = {
      {1000, 1, 1000}, {1000, 0, 1100}, {1001, 1, 1001}, {1001, 0, 1101}, {1004, 1, 1004},
      {1004, 0, 1104}, {2001, 0, 2101}, {2002, 0, 2102}, {2003, 1, 2003}, {2003, 0, 2103},
      {1004, -1, 1104}, {1004, 2, 1104}, {1004, 7, 1104},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogTemplateFor(c.japanese_id, c.language), c.expected) << c.japanese_id << " " << c.language;
  }
  EXPECT_EQ(TextLanguage(1), 1);
  for (int32_t other : {0, -1, 2, 7, INT_MIN, INT_MAX}) EXPECT_EQ(TextLanguage(other), 0) << other;
}

}  // namespace
