#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/tone_check.h"
#include "digits/digit_check.h"
#include "digits/digit_receiver.h"
#include "tests/digits/digit_signals.h"

namespace {

std::vector<ExpectedDigit> Expected(const std::string& digits, const DigitOptions& options) {
  ToneSequence sequence;
  std::string why_not;
  std::vector<ExpectedDigit> expected;
  EXPECT_TRUE(DigitsToToneSequence(digits, options, &sequence, &why_not) && ReadExpectedDigits(sequence, &expected));
  return expected;
}

// Each row as expected/heard and its verdict: "5/5 ok", "2/3 wrong", "4/- missing".
std::string Rows(const DigitCheck& check, const std::vector<ExpectedDigit>& expected,
                 const std::vector<HeardDigit>& heard) {
  const char* verdicts[] = {"ok", "wrong", "missing", "extra", "timing"};
  std::string text;
  for (const DigitCheckRow& row : check.rows) {
    text += (row.expected >= 0 ? expected[static_cast<size_t>(row.expected)].name : "-") + "/" +
            (row.heard >= 0 ? heard[static_cast<size_t>(row.heard)].name : "-") + " " +
            verdicts[static_cast<int>(row.verdict)] + (row.on_ok ? "" : " on") + (row.off_ok ? "" : " off") + ", ";
  }
  return text + (check.pass ? "PASS" : "FAIL");
}

TEST(DigitCheck, NamesTheDigitThatIsWrongMissingExtraOrMistimed) {
  const DigitOptions dtmf = DefaultDigitOptions(DigitSystem::Dtmf);
  DigitOptions slow = dtmf;
  slow.on_ms = 150;
  DigitOptions mf_late = DefaultDigitOptions(DigitSystem::Mf);
  mf_late.off_ms = 120;
  struct Case {
    const char* expected;
    const char* sent;
    DigitOptions sent_with;
    const char* rows;
  } cases[] = {
      {"55,12#", "55,12#", dtmf, "5/5 ok, 5/5 ok, 1/1 ok, 2/2 ok, #/# ok, PASS"},
      {"55,12#", "55,13#", dtmf, "5/5 ok, 5/5 ok, 1/1 ok, 2/3 wrong, #/# ok, FAIL"},
      // Either 5 may be the missing one; the way back through the alignment names the first.
      {"55,12#", "5,12#", dtmf, "5/- missing, 5/5 ok, 1/1 ok, 2/2 ok, #/# ok, FAIL"},
      {"55,12#", "55,12#0", dtmf, "5/5 ok, 5/5 ok, 1/1 ok, 2/2 ok, #/# ok, -/0 extra, FAIL"},
      // 50 ms too long is beyond 10 %; the gap after the pause is 500 ms long either way.
      {"55,12#", "55,12#", slow, "5/5 timing on, 5/5 timing on, 1/1 timing on, 2/2 timing on, #/# timing on, FAIL"},
      {"KP12ST", "KP12ST", mf_late, "KP/KP timing off, 1/1 timing off, 2/2 timing off, ST/ST ok, FAIL"},
  };
  const CheckTolerances tolerances;
  for (const Case& c : cases) {
    const std::vector<ExpectedDigit> expected = Expected(c.expected, DefaultDigitOptions(c.sent_with.system));
    const std::vector<int16_t> sent =
        sonaril_test::Joined(sonaril_test::Silence(150), sonaril_test::RenderDigits(c.sent, c.sent_with));
    const std::vector<HeardDigit> heard = HearDigits(sent, 8000);
    const DigitCheck check =
        CheckDigits(expected, heard, [&](double ms) { return AllowedCadenceMs(tolerances, ms); });
    EXPECT_EQ(Rows(check, expected, heard), c.rows) << c.sent;
  }
}

TEST(DigitCheck, ReadsOnlySequencesThatSendDigitsOfOnePlan) {
  struct Case {
    const char* what;
    ToneSequence sequence;
    const char* names;  // the digits read, or "-" for none
  } cases[] = {
      {"DTMF 3 (closer to DTMF than MF 7)", {{{{{697}, {1477}}, 100}, {{}, 100}}}, "3"},
      {"MF 7 (closer to MF)", {{{{{700}, {1500}}, 68}, {{}, 68}}}, "7"},
      {"DTMF 5 with a 1.5 % offset", {{{{{782}, {1356}}, 100}, {{}, 100}}}, "5"},
      {"a dial tone", {{{{{350}, {440}}, kLastsForEver}}}, "-"},
      {"DTMF 1 then MF 1", {{{{{697}, {1209}}, 100}, {{}, 100}, {{{700}, {900}}, 68}}}, "-"},
      {"one frequency", {{{{{1000}}, 100}}}, "-"},
      {"silence", {{{{}, 100}}}, "-"},
  };
  for (const Case& c : cases) {
    std::vector<ExpectedDigit> digits;
    std::string names = ReadExpectedDigits(c.sequence, &digits) ? "" : "-";
    for (const ExpectedDigit& digit : digits) names += digit.name;
    EXPECT_EQ(names, c.names) << c.what;
  }
}

}  // namespace
