// The talk-off experiment: speech and music that hold no digit, through a telephone line,
// and the digits the receiver reports in them (goal: none). Speech is synthesised by
// espeak-ng (numbers and a sentence in several languages, voices, pitches and speeds);
// music is synthesised here: chords of notes with harmonics, and tones and pairs of tones
// swept across the band. It prints each false digit and the false digits per hour.
// Run it by hand (built beside the benchmarks); without espeak-ng it measures the music only.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "digits/digit_plan.h"
#include "digits/digit_receiver.h"
#include "files/string.h"
#include "tests/analysis/degraded_line.h"
#include "tests/digits/digit_signals.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRate = 8000;

struct Tally {
  double seconds = 0.0;
  int false_digits = 0;
};

void Listen(const char* what, const std::vector<int16_t>& line, Tally* tally) {
  tally->seconds += static_cast<double>(line.size()) / kRate;
  for (const HeardDigit& digit : HearDigits(line, kRate)) {
    ++tally->false_digits;
    std::printf("  false %s %s in %s at %.0f ms, %.0f ms, %.1f + %.1f Hz\n", DigitSystemName(digit.system),
                digit.name.c_str(), what, digit.start_ms, digit.duration_ms, digit.low_hz, digit.high_hz);
  }
}

// From the recording's rate to 8000 Hz by linear interpolation, after the telephone band has
// removed what would fold over.
std::vector<int16_t> ToEightKilohertz(const std::vector<int16_t>& samples, int32_t rate) {
  const std::vector<int16_t> band = sonaril_test::ThroughTelephoneBand(samples, rate);
  std::vector<int16_t> resampled;
  for (double at = 0.0; at + 1.0 < static_cast<double>(band.size()); at += static_cast<double>(rate) / kRate) {
    const size_t n = static_cast<size_t>(at);
    const double fraction = at - static_cast<double>(n);
    resampled.push_back(static_cast<int16_t>(std::lround(band[n] * (1.0 - fraction) + band[n + 1] * fraction)));
  }
  return resampled;
}

bool Speak(const std::string& voice, int pitch, int speed, const std::string& text, std::vector<int16_t>* line) {
  const std::string path = "digit-talk-off.wav";
  const std::string command = "espeak-ng -v " + voice + " -p " + std::to_string(pitch) + " -s " +
                              std::to_string(speed) + " -w " + path + " \"" + text + "\" 2>/dev/null";
  if (std::system(command.c_str()) != 0) return false;
  CString wide;
  wide.Assign(path.c_str());
  Recording recording;
  std::string reason;
  const bool read = ReadRecording(wide.GetWide(), RecordingEncoding::Wave, 0, 1, &recording, &reason) ==
                    RecordingProblem::None;
  std::remove(path.c_str());
  if (!read) return false;
  *line = sonaril_test::ThroughG711(ToEightKilohertz(recording.samples, recording.sampling_frequency),
                                    G711Law::MuLaw);
  return true;
}

void SpeechTrials(Tally* tally) {
  const char* voices[] = {"en-us", "en-us+f3", "en-gb+m3", "en-gb-scotland+f2", "de", "de+f4", "fr-fr", "fr-fr+m5",
                          "es", "es-419+f1", "it+m2", "pt", "nl+f5", "ru", "pl+m4", "ja", "cmn", "hi", "tr+f3", "sv"};
  const char* texts[] = {
      "0 1 2 3 4 5 6 7 8 9. 555 1234. 3 7 3 7 3 7. 800 555 0199, extension 42.",
      "The quick brown fox jumps over the lazy dog while the telephone rings and rings. "
      "Hello, hello, can you hear me? Yes, I can hear you. Please hold the line.",
      "Aaaah, eeee, oooo, mmmm, la la la la, do re mi fa so la ti do.",
  };
  int trial = 0;
  for (const char* voice : voices) {
    for (const char* text : texts) {
      const int pitch = 20 + (trial * 17) % 70;
      const int speed = 120 + (trial * 23) % 90;
      ++trial;
      std::vector<int16_t> line;
      if (!Speak(voice, pitch, speed, text, &line)) {
        std::printf("  espeak-ng could not speak with voice %s\n", voice);
        continue;
      }
      Listen((std::string("speech, ") + voice).c_str(), line, tally);
    }
  }
}

// A note of a piano-like tone: five harmonics falling off, a quick attack and a slow decay.
void AddNote(std::vector<double>* mix, size_t start, size_t count, double hertz, double amplitude) {
  for (size_t n = 0; n < count && start + n < mix->size(); ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.6);
    double value = 0.0;
    for (int harmonic = 1; harmonic <= 5; ++harmonic) {
      if (hertz * harmonic < 3800.0) value += std::sin(2 * kPi * hertz * harmonic * t) / (harmonic * harmonic);
    }
    (*mix)[start + n] += amplitude * envelope * value;
  }
}

std::vector<int16_t> ToLine(const std::vector<double>& mix) {
  std::vector<int16_t> samples;
  for (double value : mix) samples.push_back(static_cast<int16_t>(std::lround(std::max(-32768.0, std::min(32767.0, value)))));
  return sonaril_test::ThroughG711(sonaril_test::WithNoise(sonaril_test::ThroughTelephoneBand(samples, kRate), 30.0, 1),
                                   G711Law::MuLaw);
}

void MusicTrials(Tally* tally) {
  // Chords on every semitone from C3 to C6: triads, sevenths, suspended and open fifths,
  // 400 ms each.
  const std::vector<std::vector<int>> chords = {{0, 4, 7}, {0, 3, 7}, {0, 4, 7, 10}, {0, 3, 7, 10}, {0, 4, 7, 11},
                                                {0, 5, 7}, {0, 7, 12}, {0, 4, 8}, {0, 3, 6, 9}};
  for (size_t shape = 0; shape < chords.size(); ++shape) {
    const size_t chord_samples = kRate * 4 / 10;
    std::vector<double> mix(chord_samples * 37, 0.0);
    for (int root = 0; root <= 36; ++root) {
      for (int interval : chords[shape]) {
        const double hertz = 130.81 * std::pow(2.0, (root + interval) / 12.0);
        AddNote(&mix, static_cast<size_t>(root) * chord_samples, chord_samples, hertz, 6000.0);
      }
    }
    Listen(("chords, shape " + std::to_string(shape + 1)).c_str(), ToLine(mix), tally);
  }
  // One tone and pairs a third, a fifth and an octave apart, swept from 300 Hz up over four
  // octaves in 8 s, and slowly over 60 s.
  for (double seconds : {8.0, 60.0}) {
    for (double ratio : {1.0, 1.26, 1.5, 2.0}) {
      std::vector<double> mix(static_cast<size_t>(seconds * kRate), 0.0);
      double phase_low = 0.0, phase_high = 0.0;
      for (size_t n = 0; n < mix.size(); ++n) {
        const double hertz = 300.0 * std::pow(2.0, 3.5 * static_cast<double>(n) / static_cast<double>(mix.size()));
        phase_low += 2 * kPi * hertz / kRate;
        phase_high += 2 * kPi * hertz * ratio / kRate;
        mix[n] = 8000.0 * std::sin(phase_low) + (ratio > 1.0 ? 8000.0 * std::sin(phase_high) : 0.0);
      }
      char what[64];
      std::snprintf(what, sizeof what, "sweep over %.0f s, ratio %.2f", seconds, ratio);
      Listen(what, ToLine(mix), tally);
    }
  }
}

}  // namespace

int main() {
  Tally speech, music;
  if (std::system("espeak-ng --version > /dev/null 2>&1") == 0) {
    SpeechTrials(&speech);
  } else {
    std::printf("espeak-ng is not installed: no speech\n");
  }
  MusicTrials(&music);
  for (const auto& [name, tally] : {std::pair<const char*, Tally>{"speech", speech}, {"music", music}}) {
    std::printf("%-7s %7.1f min  %3d false digits  %6.1f per hour\n", name, tally.seconds / 60.0, tally.false_digits,
                tally.seconds > 0.0 ? tally.false_digits * 3600.0 / tally.seconds : 0.0);
  }
  return 0;
}
