// The parser and the formatter: every accepted string comes back in its normal form, and
// every refused one names its part and reason.
#include <gtest/gtest.h>

#include <string>

#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

namespace {

struct Normalised {
  const char* text;
  const char* normal_form;
};

TEST(ToneStringText, AcceptedStringsComeBackInTheirNormalForm) {
  const Normalised cases[] = {
      {"440+480/2000,0/4000", "440+480/2000,0/4000"},
      {"400+450/400,0/200,400+450/400,0/2000", "400+450/400,0/200,400+450/400,0/2000"},
      {"!950/330,!1400/330,!1800/330,0", "!950/330,!1400/330,!1800/330,0"},
      {"350+440", "350+440"},
      {"!350+440", "350+440"},                       // a part that lasts for ever carries no mark
      {"480+440/2000", "440+480/2000"},              // frequencies ascend
      {"0440 / 0100 , 0/0200 ", "440/100,0/200"},    // blanks and leading zeros go
      {"440/100,350+440", "!440/100,350+440"},       // what precedes "for ever" plays once
      {"!950/330,!1400/330,!1800/330", "!950/330,!1400/330,!1800/330,0"},  // then silence
      {"!950/330,!1400/330,!1800/330,0/1000", "!950/330,!1400/330,!1800/330,0"},
      {"!950/330,!1400/330,!1800/330,!0/1000", "!950/330,!1400/330,!1800/330,!0/1000,0"},
      {"!425/1000,!0/15000,425/360,0/15000", "!425/1000,!0/15000,425/360,0/15000"},  // kept; the builder refuses
      {"950+1400+1800/300", "950+1400+1800/300"},
      {"1+2+3+4+5+6+7+8/1", "1+2+3+4+5+6+7+8/1"},
      {"440/2147483647", "440/2147483647"},
      // Levels: the dBm0 figure with the fewest decimals that gives the same whole percent.
      {"440 @ -13.0 + 350@-13.04", "350@-13+440@-13"},
      {"440@-9.5/100", "440@-9.6/100"},                // 23%, written from the level held
      // Modulation: three sines, the side tones under the carrier's own level.
      {"400*16/1000,0/2000", "384+400+416/1000,0/2000"},  // no level: the options' level for all three
      {"425 * 25 % 100 @ -10+1000@-20", "400@-16+425@-10+450@-16+1000@-20"},
      {"100*16%84@-13", "84@-20+100@-13+116@-20"},  // -20.5 for the side tones' 6.6% reads back as 7%
      {"950/333 ~ ,1400/333~,1800/333,0/1000", "950/333~,1400/333~,1800/333,0/1000"},
  };
  for (const Normalised& item : cases) {
    ToneSequence sequence;
    std::string why_not;
    ASSERT_TRUE(ParseToneString(item.text, &sequence, &why_not)) << item.text << ": " << why_not;
    EXPECT_EQ(FormatToneString(sequence), item.normal_form) << item.text;
    ToneSequence again;
    ASSERT_TRUE(ParseToneString(FormatToneString(sequence), &again, &why_not)) << why_not;
    EXPECT_EQ(FormatToneString(again), item.normal_form) << "normal form is stable: " << item.text;
  }
}

struct Refused {
  std::string text;
  const char* why_not;
};

TEST(ToneStringText, RefusalsNameThePartAndTheReason) {
  const Refused cases[] = {
      {"", "the tone string is empty"},
      {"  \t ", "the tone string is empty"},
      {"440/", "part 1 (440/): no duration after '/'"},
      {"abc", "part 1 (abc): 'abc' is not a frequency in whole hertz"},
      {"440+/100", "part 1 (440+/100): a frequency is missing beside '+'"},
      {"+440/100", "part 1 (+440/100): a frequency is missing beside '+'"},
      {"440/-5", "part 1 (440/-5): '-5' is not a duration in whole milliseconds"},
      {"440/1.5", "part 1 (440/1.5): '1.5' is not a duration in whole milliseconds"},
      {"440.5/100", "part 1 (440.5/100): '440.5' is not a frequency in whole hertz"},
      {"440/0", "part 1 (440/0): a duration of 0 ms (leave out /DURATION for a part that lasts for ever)"},
      {"440/2147483648", "part 1 (440/2147483648): 2147483648 ms is too long"},
      {"440/99999999999999999999", "part 1 (440/99999999999999999999): 99999999999999999999 ms is too long"},
      {"99999999999/100", "part 1 (99999999999/100): 99999999999 Hz is too large"},
      {"440/100,,0/100", "part 2 is empty"},
      {"440/100,", "part 2 is empty"},
      {"440/100/200", "part 1 (440/100/200): '100/200' is not a duration in whole milliseconds"},
      {"!", "part 1 (!): no frequency"},
      {"/100", "part 1 (/100): no frequency"},
      {"440@-9.555/100", "part 1 (440@-9.555/100): '-9.555' is not a level in dBm0 such as -10 or -9.5"},
      {"950~", "part 1 (950~): '~' needs a duration: a part that lasts for ever has no next part"},
      {"0@-10/100", "part 1 (0@-10/100): 0 (silence) has no level and cannot be modulated"},
      {"400*400", "part 1 (400*400): the modulating frequency of '400*400' must be above 0 and below the carrier"},
      {"400*16%101", "part 1 (400*16%101): '101' is not a modulation depth in whole percent from 1 to 100"},
      {"425*25+450/100", "part 1 (425*25+450/100): 450 Hz appears twice"},
      {"440@+3", "part 1 (440@+3): '' is not a level in dBm0 such as -10 or -9.5"},  // "+" sums
      {"M69/100", "part 1 (M69/100): MIDI notes are not supported; write the frequency in hertz"},
      {"440+440/100", "part 1 (440+440/100): 440 Hz appears twice"},
      {"0+440/100", "part 1 (0+440/100): 0 (silence) cannot be summed with frequencies"},
      {"1+2+3+4+5+6+7+8+9/1", "part 1 (1+2+3+4+5+6+7+8+9/1): more than 8 frequencies"},
      {"!400/100!0/100,400", "part 1 (!400/100!0/100): '100!0/100' is not a duration in whole milliseconds"},
      {"440/100,x" + std::string(100, 'y'),
       "part 2 (xyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy...): 'xyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy...' is not a frequency in whole hertz"},
  };
  for (const Refused& item : cases) {
    ToneSequence sequence;
    sequence.parts.resize(1);
    std::string why_not;
    EXPECT_FALSE(ParseToneString(item.text, &sequence, &why_not)) << item.text;
    EXPECT_EQ(why_not, item.why_not) << item.text;
    EXPECT_EQ(sequence.parts.size(), 1u) << "a refusal leaves the sequence alone: " << item.text;
  }
}

TEST(ToneStringText, HugeStringsAreRefusedAtThePartLimit) {
  std::string fifty_thousand;
  for (int i = 0; i < 50000; ++i) fifty_thousand += i == 0 ? "440/1" : ",440/1";
  ToneSequence sequence;
  std::string why_not;
  EXPECT_FALSE(ParseToneString(fifty_thousand, &sequence, &why_not));
  EXPECT_EQ(why_not, "the tone string has more than 256 parts");

  std::string at_limit = "440/1";
  for (int i = 1; i < kMaxToneParts; ++i) at_limit += ",0/1";
  EXPECT_TRUE(ParseToneString(at_limit, &sequence, &why_not)) << why_not;
  EXPECT_EQ(sequence.parts.size(), static_cast<size_t>(kMaxToneParts));
}

// Each summand is checked against the part's limit as it is read: a part of 300000
// frequencies is refused at its ninth, not after comparing every pair.
TEST(ToneStringText, APartIsRefusedAsSoonAsItPassesItsFrequencyLimit) {
  std::string huge;
  for (int i = 1; i <= 300000; ++i) huge += (i > 1 ? "+" : "") + std::to_string(i);
  ToneSequence sequence;
  std::string why_not;
  EXPECT_FALSE(ParseToneString(huge + "/100", &sequence, &why_not));
  EXPECT_EQ(why_not, "part 1 (1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+1...): more than 8 frequencies");
  EXPECT_FALSE(ParseToneString("100*10+200*10+300*10/1", &sequence, &why_not));  // nine sines
}

TEST(ToneStringText, MeasuredFrequenciesAreRoundedToWholeHertz) {
  ToneSequence sequence;
  TonePart part;
  part.tones = {{480.4, 12.0}, {439.5, 12.0}};
  part.duration_ms = 2000;
  sequence.parts.push_back(part);
  sequence.parts.push_back(TonePart{{}, 4000, false});
  EXPECT_EQ(FormatToneString(sequence), "440@-15+480@-15/2000,0/4000");
}

}  // namespace
