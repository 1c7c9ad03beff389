#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/recording.h"
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

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRate = 8000;

// A burst of two exact sines (not rounded to whole hertz as a setting would), each at dBm0.
struct Burst {
  double low_hz, high_hz;
  double low_dbm0, high_dbm0;
  double ms;
};

std::vector<int16_t> Bursts(const std::vector<Burst>& bursts, const std::vector<double>& pauses_ms) {
  std::vector<int16_t> samples = Silence(100);
  for (size_t i = 0; i < bursts.size(); ++i) {
    const Burst& burst = bursts[i];
    const double low = DbfsToPercent(Dbm0ToDbfs(burst.low_dbm0)) / 100.0 * 32767.0;
    const double high = DbfsToPercent(Dbm0ToDbfs(burst.high_dbm0)) / 100.0 * 32767.0;
    const size_t count = static_cast<size_t>(burst.ms * kRate / 1000.0 + 0.5);
    for (size_t n = 0; n < count; ++n) {
      const double t = static_cast<double>(n) / kRate;
      samples.push_back(static_cast<int16_t>(
          std::lround(low * std::sin(2 * kPi * burst.low_hz * t) + high * std::sin(2 * kPi * burst.high_hz * t))));
    }
    samples = Joined(samples, Silence(i < pauses_ms.size() ? pauses_ms[i] : 100));
  }
  return samples;
}

std::string Heard(const std::vector<int16_t>& samples) {
  return HeardDigitString(HearDigits(samples, kRate));
}

// The receiver's limits at the published edges (ITU-T Q.24 for DTMF, the R1 receiver figures
// for MF): each case must be heard, or must not be, on a line with 30 dB SNR for every seed.
TEST(DigitReceiver, AcceptsAndRejectsAtThePublishedEdges) {
  const double dtmf_low = 770, dtmf_high = 1336, mf_low = 900, mf_high = 1300;
  struct Case {
    const char* what;
    std::vector<Burst> bursts;
    std::vector<double> pauses_ms;
    const char* heard;
  } cases[] = {
      {"DTMF nominal", {{dtmf_low, dtmf_high, -9, -7, 100}}, {}, "5"},
      {"DTMF +1.5 %", {{dtmf_low * 1.015, dtmf_high * 1.015, -9, -7, 100}}, {}, "5"},
      {"DTMF -1.5 %", {{dtmf_low * 0.985, dtmf_high * 0.985, -9, -7, 100}}, {}, "5"},
      {"DTMF low +3.5 %", {{dtmf_low * 1.035, dtmf_high, -9, -7, 100}}, {}, ""},
      {"DTMF high -3.5 %", {{dtmf_low, dtmf_high * 0.965, -9, -7, 100}}, {}, ""},
      {"DTMF both +3.5 %", {{dtmf_low * 1.035, dtmf_high * 1.035, -9, -7, 100}}, {}, ""},
      {"DTMF twist +4 dB", {{dtmf_low, dtmf_high, -12, -8, 100}}, {}, "5"},
      {"DTMF twist -8 dB", {{dtmf_low, dtmf_high, -6, -14, 100}}, {}, "5"},
      {"DTMF twist +6 dB", {{dtmf_low, dtmf_high, -13, -7, 100}}, {}, ""},
      {"DTMF twist -10 dB", {{dtmf_low, dtmf_high, -6, -16, 100}}, {}, ""},
      {"DTMF -25 dBm0 each", {{dtmf_low, dtmf_high, -25, -25, 100}}, {}, "5"},
      {"DTMF -45 dBm0 each", {{dtmf_low, dtmf_high, -45, -45, 100}}, {}, ""},
      {"DTMF 40 ms", {{dtmf_low, dtmf_high, -9, -7, 40}}, {}, "5"},
      {"DTMF 23 ms", {{dtmf_low, dtmf_high, -9, -7, 23}}, {}, ""},
      {"DTMF held 2 s", {{dtmf_low, dtmf_high, -9, -7, 2000}}, {}, "5"},
      {"DTMF 40 ms pause", {{dtmf_low, dtmf_high, -9, -7, 40}, {dtmf_low, dtmf_high, -9, -7, 40}}, {40}, "55"},
      {"DTMF 10 ms break", {{dtmf_low, dtmf_high, -9, -7, 60}, {dtmf_low, dtmf_high, -9, -7, 60}}, {10}, "5"},
      {"MF +(1.5 % + 5 Hz)", {{mf_low * 1.015 + 5, mf_high * 1.015 + 5, -7, -7, 68}}, {}, "5"},
      {"MF -(1.5 % + 5 Hz)", {{mf_low * 0.985 - 5, mf_high * 0.985 - 5, -7, -7, 68}}, {}, "5"},
      // (+3.5 % is DTMF 0.)
      {"MF -3.5 %", {{mf_low * 0.965, mf_high * 0.965, -7, -7, 68}}, {}, ""},
      {"MF twist 6 dB", {{mf_low, mf_high, -4, -10, 68}}, {}, "5"},
      {"MF twist 8 dB", {{mf_low, mf_high, -12, -4, 68}}, {}, ""},
      {"MF 30 ms", {{mf_low, mf_high, -7, -7, 30}}, {}, "5"},
      {"MF 10 ms", {{mf_low, mf_high, -7, -7, 10}}, {}, ""},
      {"MF KP 55 ms", {{1100, 1700, -7, -7, 55}}, {}, "KP"},
      {"MF 25 ms pause", {{mf_low, mf_high, -7, -7, 68}, {mf_low, mf_high, -7, -7, 68}}, {25}, "55"},
      {"MF 8 ms break", {{mf_low, mf_high, -7, -7, 40}, {mf_low, mf_high, -7, -7, 40}}, {8}, "5"},
  };
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      // The line's noise starts at a different point of the 10 ms frames for every seed.
      const std::vector<int16_t> clean = Joined(Silence(seed * 3.3), Bursts(c.bursts, c.pauses_ms));
      EXPECT_EQ(Heard(sonaril_test::WithNoise(clean, 30.0, seed)), c.heard) << c.what << ", seed " << seed;
    }
  }
}

// Every digit of both plans, made by the generator, rendered, sent through a telephone line
// (300-3400 Hz, 20 dB SNR, u-law) after a dial tone, comes back with its time and frequencies.
TEST(DigitReceiver, HearsEveryGeneratedDigitThroughATelephoneLine) {
  struct Case {
    DigitSystem system;
    const char* digits;
    const char* heard;
  } cases[] = {
      {DigitSystem::Dtmf, "0123456789*#ABCD,1", "0123456789*#ABCD1"},
      {DigitSystem::Mf, "KP0123456789ST,STPST2PST3P", "KP0123456789STSTPST2PST3P"},
  };
  for (const Case& c : cases) {
    const DigitOptions options = DefaultDigitOptions(c.system);
    ToneSequence sequence;
    std::string why_not;
    ASSERT_TRUE(DigitsToToneSequence(c.digits, options, &sequence, &why_not)) << why_not;
    // A dial tone (350 + 440 Hz) that holds no digit, then the digits.
    const std::vector<int16_t> dial_tone = Bursts({{350, 440, -13, -13, 1000}}, {});
    const double lead_ms = 100.0 + 1000.0 + 100.0;
    const std::vector<int16_t> sent = Joined(dial_tone, sonaril_test::RenderDigits(c.digits, options));
    for (uint32_t seed = 1; seed <= 2; ++seed) {
      const std::vector<HeardDigit> heard =
          HearDigits(sonaril_test::ThroughTelephoneLine(Joined(sent, Silence(100)), kRate, 20.0, seed), kRate);
      EXPECT_EQ(HeardDigitString(heard), c.heard) << c.digits;
      if (HeardDigitString(heard) != c.heard) continue;
      double start_ms = lead_ms;
      size_t part = 0;
      for (const HeardDigit& digit : heard) {
        while (sequence.parts[part].tones.empty()) start_ms += sequence.parts[part++].duration_ms;
        const TonePart& sent_part = sequence.parts[part];
        EXPECT_EQ(digit.system, c.system);
        EXPECT_NEAR(digit.start_ms, start_ms, 4.0) << digit.name;
        EXPECT_NEAR(digit.duration_ms, sent_part.duration_ms, 6.0) << digit.name;
        EXPECT_NEAR(digit.low_hz, sent_part.tones[0].frequency_hz, 0.5) << digit.name;
        EXPECT_NEAR(digit.high_hz, sent_part.tones[1].frequency_hz, 0.5) << digit.name;
        // The band's edges tilt the levels a little; G.711 and the noise blur them.
        EXPECT_NEAR(digit.twist_db, c.system == DigitSystem::Dtmf ? 2.0 : 0.0, 0.6) << digit.name;
        EXPECT_NEAR(DbfsToDbm0(digit.high_dbfs), options.high_dbm0, 0.6) << digit.name;
        start_ms += sent_part.duration_ms;
        ++part;
      }
    }
  }
}

// Talk-off: synthesised speech reading numbers in two languages, through the telephone
// band, holds no digit.
TEST(DigitReceiver, HearsNoDigitInSpeech) {
  if (std::system("espeak-ng --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "espeak-ng is not installed";
  sonaril_test::TempDir folder;
  struct Voice {
    const char* voice;
    const char* text;
  } voices[] = {
      {"en-us+f3", "Please call five five five, one two three four, then press the pound key. Nine eight seven."},
      {"de", "Bitte rufen Sie null acht neun, sieben sechs fünf an und drücken Sie die Raute."},
  };
  for (const Voice& voice : voices) {
    const std::string path = folder.File("speech.wav");
    const std::string command =
        "espeak-ng -v " + std::string(voice.voice) + " -w \"" + path + "\" \"" + voice.text + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    Recording recording;
    std::string reason;
    CString wide;
    wide.Assign(path.c_str());
    ASSERT_EQ(ReadRecording(wide.GetWide(), RecordingEncoding::Wave, 0, 1, &recording, &reason),
              RecordingProblem::None)
        << reason;
    const std::vector<int16_t> line = sonaril_test::ThroughTelephoneBand(recording.samples, recording.sampling_frequency);
    EXPECT_EQ(HeardDigitString(HearDigits(line, recording.sampling_frequency)), "") << voice.voice;
  }
}

// Recordings at higher rates are brought down to about 8000 Hz first.
TEST(DigitReceiver, HearsDigitsAtEveryOfferedRate) {
  DigitOptions mf = DefaultDigitOptions(DigitSystem::Mf);
  mf.on_ms = 70;  // whole samples at 44100 Hz
  mf.off_ms = 70;
  for (int32_t rate : {16000, 32000, 44100, 48000, 96000}) {
    const std::vector<int16_t> sent = sonaril_test::Joined(sonaril_test::RenderDigits("KP1590ST", mf, rate),
                                                           sonaril_test::RenderDigits("1590*#", DigitOptions{}, rate));
    const std::vector<HeardDigit> heard =
        HearDigits(sonaril_test::ThroughTelephoneLine(sent, rate, 20.0, 1), rate);
    ASSERT_EQ(HeardDigitString(heard), "KP1590ST1590*#") << rate;
    EXPECT_NEAR(heard[1].start_ms, 170.0, 2.0) << rate;
    EXPECT_NEAR(heard[1].low_hz, 700.0, 0.5) << rate;
    EXPECT_NEAR(DbfsToDbm0(heard[1].low_dbfs), -7.0, 0.5) << rate;
  }
}

TEST(DigitReceiver, HearsNothingInSilenceOrAtTooLowARate) {
  EXPECT_TRUE(HearDigits({}, kRate).empty());
  EXPECT_TRUE(HearDigits(Silence(1000), kRate).empty());
  EXPECT_TRUE(HearDigits(Bursts({{770, 1336, -9, -7, 100}}, {}), 3999).empty());
}

}  // namespace
