// The digit detection experiment behind the README's operating limits: every digit of a
// plan, made by the generator with one option changed, rendered and sent through a
// telephone line (300-3400 Hz, u-law, noise at 20 dB SNR unless the SNR is what changes),
// eight noise seeds each. For each row it prints the share of the digits sent that were
// heard (in order, by edit distance) and the digits heard that were not sent.
// Run it by hand (built beside the benchmarks).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "digits/digit_plan.h"
#include "digits/digit_receiver.h"
#include "tests/digits/digit_signals.h"

namespace {

constexpr int32_t kRate = 8000;
constexpr uint32_t kSeeds = 8;

const char* AllDigits(DigitSystem system) {
  return system == DigitSystem::Dtmf ? "123A456B789C*0#D" : "KP1234567890STSTPST2PST3P";
}

// The digits heard, one name each, MF's marked: a DTMF digit heard as MF's "1" is wrong.
std::vector<std::string> Names(const std::vector<HeardDigit>& heard) {
  std::vector<std::string> names;
  for (const HeardDigit& digit : heard) names.push_back((digit.system == DigitSystem::Mf ? "mf" : "") + digit.name);
  return names;
}

// Each digit twice, so that only a pause the receiver hears splits them.
std::string Doubled(const std::string& digits, DigitSystem system) {
  std::vector<int> read;
  std::string why_not, twice;
  ReadDigitString(digits, system, &read, &why_not);
  for (int index : read) {
    const std::string name = DigitPlan(system)[static_cast<size_t>(index)].name;
    twice += name + name;
  }
  return twice;
}

// The longest common subsequence: digits heard in the order they were sent.
size_t Matched(const std::vector<std::string>& sent, const std::vector<std::string>& heard) {
  std::vector<std::vector<size_t>> table(sent.size() + 1, std::vector<size_t>(heard.size() + 1, 0));
  for (size_t i = 1; i <= sent.size(); ++i) {
    for (size_t j = 1; j <= heard.size(); ++j) {
      table[i][j] = sent[i - 1] == heard[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
    }
  }
  return table[sent.size()][heard.size()];
}

struct Outcome {
  size_t sent = 0, matched = 0, extra = 0;
};

Outcome Run(const DigitOptions& options, double snr_db, bool doubled) {
  Outcome outcome;
  const std::string digits = doubled ? Doubled(AllDigits(options.system), options.system) : AllDigits(options.system);
  // The plan's digits as the receiver names them: sent through without noise.
  const std::vector<std::string> sent =
      Names(HearDigits(sonaril_test::RenderDigits(digits, DefaultDigitOptions(options.system)), kRate));
  const std::vector<int16_t> clean = sonaril_test::Joined(sonaril_test::Silence(200),
                                                          sonaril_test::RenderDigits(digits, options));
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    const std::vector<std::string> heard =
        Names(HearDigits(sonaril_test::ThroughTelephoneLine(clean, kRate, snr_db, seed), kRate));
    const size_t matched = Matched(sent, heard);
    outcome.sent += sent.size();
    outcome.matched += matched;
    outcome.extra += heard.size() - matched;
  }
  return outcome;
}

void Row(const char* label, const DigitOptions& dtmf, const DigitOptions& mf, double snr_db, bool doubled) {
  const Outcome a = Run(dtmf, snr_db, doubled), b = Run(mf, snr_db, doubled);
  std::printf("  %-14s %6.1f %%  %4zu      %6.1f %%  %4zu\n", label, 100.0 * a.matched / a.sent, a.extra,
              100.0 * b.matched / b.sent, b.extra);
}

void Header(const char* title) {
  std::printf("\n%s\n  %-14s %8s  %5s     %8s  %5s\n", title, "", "DTMF", "extra", "MF", "extra");
}

template <typename Change>
void Sweep(const char* title, const std::vector<double>& values, const char* format, Change change,
           bool doubled = false) {
  Header(title);
  for (double value : values) {
    DigitOptions dtmf = DefaultDigitOptions(DigitSystem::Dtmf), mf = DefaultDigitOptions(DigitSystem::Mf);
    double snr = 20.0;
    change(&dtmf, value, &snr);
    change(&mf, value, &snr);
    char label[32];
    std::snprintf(label, sizeof label, format, value);
    Row(label, dtmf, mf, snr, doubled);
  }
}

}  // namespace

int main() {
  std::printf("Digits heard (%% of those sent) and extra digits, %u seeds, through a telephone line\n", kSeeds);
  Sweep("Frequency offset (every frequency)", {-4, -3.5, -3, -2.5, -2, -1.5, -1, 0, 1, 1.5, 2, 2.5, 3, 3.5, 4},
        "%+.1f %%", [](DigitOptions* o, double v, double*) { o->offset_percent = v; });
  // The louder tone at -6 dBm0 and the other below it, where whole percents are fine steps;
  // MF's twist is a slope from 700 Hz to 1700 Hz, so only ST3P (700 + 1700 Hz) sees all of it.
  Sweep("Twist (high tone minus low tone, dB)", {-10, -9, -8, -6, -4, -2, 0, 2, 4, 5, 6}, "%+.0f dB",
        [](DigitOptions* o, double v, double*) {
          o->low_dbm0 = -6.0 - std::max(0.0, v);
          o->high_dbm0 = -6.0 + std::min(0.0, v);
        });
  Sweep("SNR (dB)", {30, 24, 20, 16, 12, 10, 9, 8, 7, 6}, "%.0f dB",
        [](DigitOptions*, double v, double* snr) { *snr = v; });
  Sweep("Tone duration (ms; KP keeps 100 ms)", {20, 23, 25, 30, 35, 40, 50, 60, 80, 100}, "%.0f ms",
        [](DigitOptions* o, double v, double*) { o->on_ms = static_cast<int32_t>(v); });
  Sweep("Pause between two equal digits (ms)", {5, 10, 15, 20, 25, 30, 40, 60}, "%.0f ms",
        [](DigitOptions* o, double v, double*) { o->off_ms = static_cast<int32_t>(v); }, true);
  return 0;
}
