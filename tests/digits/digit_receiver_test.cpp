#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/recording.h"
#include "digits/digit_check.h"
#include "digits/digit_plan.h"
#include "digits/digit_receiver.h"
#include "files/string.h"
#include "synth/signal_level.h"
#include "tests/analysis/degraded_line.h"
#include "tests/common/test_paths.h"
#include "tests/digits/digit_signals.h"

namespace {

using sonaril_test::Joined;
using sonaril_test::Silence;

constexpr int32_t kRate = 8000;

// A burst of two exact sines (not rounded to whole hertz as a setting would), each at dBm0.
struct Burst {
  double low_hz, high_hz, low_dbm0, high_dbm0, ms;
};

// 100 ms of silence, then each burst followed by its pause (100 ms when none is given).
std::vector<int16_t> Bursts(const std::vector<Burst>& bursts, const std::vector<double>& pauses_ms = {},
                            int32_t rate = kRate) {
  std::vector<int16_t> samples = Silence(100, rate);
  for (size_t i = 0; i < bursts.size(); ++i) {
    const Burst& b = bursts[i];
    const double low = DbfsToPercent(Dbm0ToDbfs(b.low_dbm0)) / 100.0 * 32767.0;
    const double high = DbfsToPercent(Dbm0ToDbfs(b.high_dbm0)) / 100.0 * 32767.0;
    for (size_t n = 0; n < static_cast<size_t>(b.ms * rate / 1000.0 + 0.5); ++n) {
      const double turn = 2 * 3.14159265358979323846 * static_cast<double>(n) / rate;
      const double value = low * std::sin(turn * b.low_hz) + high * std::sin(turn * b.high_hz);
      samples.push_back(static_cast<int16_t>(std::lround(value)));
    }
    samples = Joined(samples, Silence(i < pauses_ms.size() ? pauses_ms[i] : 100, rate));
  }
  return samples;
}

// The receiver's limits at the published edges (ITU-T Q.24 for DTMF, the R1 receiver figures
// for MF): each case must be heard, or must not be, on a line with 30 dB SNR for every seed.
TEST(DigitReceiver, AcceptsAndRejectsAtThePublishedEdges) {
  const double dl = 770, dh = 1336, ml = 900, mh = 1300;  // DTMF 5 and MF 5
  struct Case {
    const char* what;
    std::vector<Burst> bursts;
    std::vector<double> pauses_ms;
    const char* heard;
  } cases[] = {
      {"DTMF +1.5 %", {{dl * 1.015, dh * 1.015, -9, -7, 100}}, {}, "5"},
      {"DTMF -1.5 %", {{dl * 0.985, dh * 0.985, -9, -7, 100}}, {}, "5"},
      {"DTMF low +3.5 %", {{dl * 1.035, dh, -9, -7, 100}}, {}, ""},
      {"DTMF high -3.5 %", {{dl, dh * 0.965, -9, -7, 100}}, {}, ""},
      {"DTMF twist +4 dB", {{dl, dh, -12, -8, 100}}, {}, "5"},
      {"DTMF twist -8 dB", {{dl, dh, -6, -14, 100}}, {}, "5"},
      {"DTMF twist +6 dB", {{dl, dh, -13, -7, 100}}, {}, ""},
      {"DTMF twist -10 dB", {{dl, dh, -6, -16, 100}}, {}, ""},
      {"DTMF -25 dBm0 each", {{dl, dh, -25, -25, 100}}, {}, "5"},
      {"DTMF -45 dBm0 each", {{dl, dh, -45, -45, 100}}, {}, ""},
      {"DTMF 40 ms", {{dl, dh, -9, -7, 40}}, {}, "5"},
      {"DTMF 23 ms", {{dl, dh, -9, -7, 23}}, {}, ""},
      {"DTMF held 2 s", {{dl, dh, -9, -7, 2000}}, {}, "5"},
      {"DTMF 40 ms pause", {{dl, dh, -9, -7, 40}, {dl, dh, -9, -7, 40}}, {40}, "55"},
      {"DTMF 10 ms break", {{dl, dh, -9, -7, 60}, {dl, dh, -9, -7, 60}}, {10}, "5"},
      {"MF +(1.5 % + 5 Hz)", {{ml * 1.015 + 5, mh * 1.015 + 5, -7, -7, 68}}, {}, "5"},
      {"MF -(1.5 % + 5 Hz)", {{ml * 0.985 - 5, mh * 0.985 - 5, -7, -7, 68}}, {}, "5"},
      {"MF -3.5 %", {{ml * 0.965, mh * 0.965, -7, -7, 68}}, {}, ""},  // (+3.5 % is DTMF 0)
      {"MF twist 6 dB", {{ml, mh, -4, -10, 68}}, {}, "5"},
      {"MF twist 8 dB", {{ml, mh, -12, -4, 68}}, {}, ""},
      {"MF 30 ms", {{ml, mh, -7, -7, 30}}, {}, "5"},
      {"MF 10 ms", {{ml, mh, -7, -7, 10}}, {}, ""},
      {"MF KP 55 ms", {{1100, 1700, -7, -7, 55}}, {}, "KP"},
      {"MF 25 ms pause", {{ml, mh, -7, -7, 68}, {ml, mh, -7, -7, 68}}, {25}, "55"},
      {"MF 8 ms break", {{ml, mh, -7, -7, 40}, {ml, mh, -7, -7, 40}}, {8}, "5"},
  };
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      // The line's noise starts at a different point of the 10 ms frames for every seed.
      const std::vector<int16_t> clean = Joined(Silence(seed * 3.3), Bursts(c.bursts, c.pauses_ms));
      EXPECT_EQ(HeardDigitString(HearDigits(sonaril_test::WithNoise(clean, 30.0, seed), kRate)), c.heard)
          << c.what << ", seed " << seed;
    }
  }
  EXPECT_TRUE(HearDigits({}, kRate).empty());
  EXPECT_TRUE(HearDigits(Silence(1000), kRate).empty());
  EXPECT_TRUE(HearDigits(Bursts({{dl, dh, -9, -7, 100}}), 3999).empty()) << "too low a rate for the plans";
}

// Every digit of both plans, made by the generator and rendered at every offered rate (those
// above 8000 Hz are brought down to it first), sent through a telephone line (300-3400 Hz,
// 20 dB SNR, u-law) after a dial tone, comes back with its time, frequencies and levels.
TEST(DigitReceiver, HearsEveryGeneratedDigitThroughATelephoneLine) {
  DigitOptions mf = DefaultDigitOptions(DigitSystem::Mf);
  mf.on_ms = mf.off_ms = 70;  // whole samples at 44100 Hz
  for (const DigitOptions& options : {DigitOptions{}, mf}) {
    const std::string digits =
        options.system == DigitSystem::Dtmf ? "0123456789*#ABCD,1" : "KP0123456789ST,STPST2PST3P";
    ToneSequence sequence;
    std::vector<ExpectedDigit> sent;
    std::string why_not;
    ASSERT_TRUE(DigitsToToneSequence(digits, options, &sequence, &why_not) && ReadExpectedDigits(sequence, &sent));
    std::string names = digits;
    names.erase(names.find(','), 1);
    uint32_t seed = 0;
    for (int32_t rate : {8000, 16000, 32000, 44100, 48000, 96000}) {
      // 100 ms of silence, a dial tone (350 + 440 Hz) that holds no digit, 100 ms of silence.
      const double lead_ms = 1200.0;
      const std::vector<int16_t> line = Joined(
          Joined(Bursts({{350, 440, -13, -13, 1000}}, {}, rate), sonaril_test::RenderDigits(digits, options, rate)),
          Silence(100, rate));
      const std::vector<HeardDigit> heard =
          HearDigits(sonaril_test::ThroughTelephoneLine(line, rate, 20.0, ++seed), rate);
      ASSERT_EQ(HeardDigitString(heard), names) << rate;
      for (size_t i = 0; i < heard.size(); ++i) {
        const HeardDigit& digit = heard[i];
        const PlanDigit& planned = DigitPlan(options.system)[static_cast<size_t>(sent[i].digit)];
        const std::string what = digit.name + " at " + std::to_string(rate) + " Hz";
        EXPECT_EQ(digit.system, options.system);
        EXPECT_NEAR(digit.start_ms, lead_ms + sent[i].start_ms, 4.0) << what;
        EXPECT_NEAR(digit.duration_ms, sent[i].on_ms, 6.0) << what;
        EXPECT_NEAR(digit.low_hz, planned.low_hz, 0.5) << what;
        EXPECT_NEAR(digit.high_hz, planned.high_hz, 0.5) << what;
        // The band's edges tilt the levels a little; G.711 and the noise blur them. Above
        // 8000 Hz the line's filters take up to 0.55 dB more at 1.7 kHz.
        EXPECT_NEAR(digit.twist_db, options.system == DigitSystem::Dtmf ? 2.0 : 0.0, 0.6) << what;
        EXPECT_NEAR(DbfsToDbm0(digit.high_dbfs), options.high_dbm0, rate == 8000 ? 0.6 : 0.9) << what;
      }
    }
  }
}

// Talk-off: synthesised speech reading numbers, through the telephone band, holds no digit.
TEST(DigitReceiver, HearsNoDigitInSpeech) {
  if (std::system("espeak-ng --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "espeak-ng is not installed";
  sonaril_test::TempDir folder;
  const std::string path = folder.File("speech.wav");
  const std::string command = "espeak-ng -v en-us+f3 -w \"" + path +
                              "\" \"Please call five five five, one two three four, then press the pound key.\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  Recording recording;
  std::string reason;
  CString wide;
  wide.Assign(path.c_str());
  ASSERT_EQ(ReadRecording(wide.GetWide(), RecordingEncoding::Wave, 0, 1, &recording, &reason), RecordingProblem::None)
      << reason;
  const std::vector<int16_t> line = sonaril_test::ThroughTelephoneBand(recording.samples, recording.sampling_frequency);
  EXPECT_EQ(HeardDigitString(HearDigits(line, recording.sampling_frequency)), "");
}

}  // namespace
