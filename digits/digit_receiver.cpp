#include "digits/digit_receiver.h"

#include <algorithm>
#include <cmath>

#include "digits/digit_plan.h"
#include "synth/signal_level.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFrameMs = 10.0;
constexpr int32_t kLowestRate = 4000;
// Power of a full-scale sine in squared sample units.
constexpr double kFullScalePower = 32767.0 * 32767.0 / 2.0;
// The pair must hold this share of a frame's power to start a tone, and two steady sines at
// the measured frequencies must explain this share of the whole tone's power for it to be a
// digit. Synthesised speech in a dozen voices never came above 0.76 (bench/digit_talk_off);
// a digit keeps 0.85 down to about 8 dB SNR.
constexpr double kFrameShare = 0.5;
constexpr double kToneShare = 0.85;
// A frame next to a tone counts towards its length when it holds this much of the tone's
// amplitude; less is noise.
constexpr double kEdgeShare = 0.2;
// A frame the tone fills to this share of its steady amplitude is steady.
constexpr double kSteadyShare = 0.85;
// The measured stretch of a long tone: enough for a precise frequency, cheap to compute.
constexpr double kLongestMeasuredMs = 200.0;
// How far a long tone's frequencies may move between its start and its end.
constexpr double kLargestDrift = 0.005;

// ITU-T Q.24: accept +-1.5 %, reject +-3.5 %; twist (high minus low) accept -8..+4 dB;
// accept 40 ms, reject 23 ms; a 40 ms pause splits, a 10 ms interruption does not.
const ReceiverLimits kDtmfLimits = {2.5, 0.0, -9.0, 5.0, -35.0, 30.0, 25.0};
// MF R1 (ITU-T Q.320 and Q.322, receivers as Q.323 describes them): accept +-(1.5 % + 5 Hz),
// 6 dB between the two tones, 30 ms (KP 55 ms), reject 10 ms; a 25 ms pause splits, a
// 10 ms interruption does not.
const ReceiverLimits kMfLimits = {2.0, 5.0, -7.0, 7.0, -35.0, 20.0, 17.0};

// The plans' frequencies in one list: DTMF's eight, then MF's six.
struct Bank {
  std::vector<double> hertz;
  size_t mf_first = 0;
};

Bank MakeBank() {
  Bank bank;
  bank.hertz = PlanFrequencies(DigitSystem::Dtmf);
  bank.mf_first = bank.hertz.size();
  for (double hertz : PlanFrequencies(DigitSystem::Mf)) bank.hertz.push_back(hertz);
  return bank;
}

// Every frequency's power in every frame, as the squared amplitude over 2 (a sine's power).
struct FramePowers {
  size_t frame_samples = 0;
  size_t frames = 0;
  size_t width = 0;             // frequencies per frame
  std::vector<float> tone;      // frames x width
  std::vector<float> total;     // mean power of each frame
  float At(size_t frame, size_t index) const { return tone[frame * width + index]; }
};

// Room for both plans' frequencies, padded to a multiple of four so that the filters run
// side by side in vector registers.
constexpr size_t kBankWidth = 16;

FramePowers MeasureFrames(const std::vector<int16_t>& samples, int32_t rate, const Bank& bank) {
  FramePowers powers;
  powers.frame_samples = static_cast<size_t>(std::lround(rate * kFrameMs / 1000.0));
  powers.frames = samples.size() / powers.frame_samples;
  powers.width = bank.hertz.size();
  powers.tone.resize(powers.frames * powers.width);
  powers.total.resize(powers.frames);
  // Single precision is plenty to tell which frequencies a frame holds; the tone found is
  // measured again in double precision.
  float coefficient[kBankWidth] = {};
  for (size_t k = 0; k < powers.width; ++k) {
    coefficient[k] = static_cast<float>(2.0 * std::cos(2.0 * kPi * bank.hertz[k] / rate));
  }
  const double scale = 2.0 / (static_cast<double>(powers.frame_samples) * powers.frame_samples);
  for (size_t frame = 0; frame < powers.frames; ++frame) {
    float s1[kBankWidth] = {}, s2[kBankWidth] = {};
    double energy = 0.0;
    const int16_t* x = samples.data() + frame * powers.frame_samples;
    for (size_t n = 0; n < powers.frame_samples; ++n) {
      const float sample = x[n];
      energy += static_cast<double>(sample) * sample;
      for (size_t k = 0; k < kBankWidth; ++k) {
        const float s0 = sample + coefficient[k] * s1[k] - s2[k];
        s2[k] = s1[k];
        s1[k] = s0;
      }
    }
    for (size_t k = 0; k < powers.width; ++k) {
      const double a = s1[k], b = s2[k];
      powers.tone[frame * powers.width + k] = static_cast<float>((a * a + b * b - coefficient[k] * a * b) * scale);
    }
    powers.total[frame] = static_cast<float>(energy / powers.frame_samples);
  }
  return powers;
}

double Db(double ratio) { return 10.0 * std::log10(ratio); }

// Fits two sines of known frequencies to the samples by least squares. Returns the share of
// the samples' power the fit explains and each sine's amplitude: a tone pair leaves only the
// line's noise, speech and music much more (their frequencies wander and many sound at once).
double FitPair(const int16_t* x, size_t count, double low_hz, double high_hz, int32_t rate,
               double* low_amplitude, double* high_amplitude) {
  double gram[4][5] = {};
  double energy = 0.0;
  const double step_low = 2.0 * kPi * low_hz / rate, step_high = 2.0 * kPi * high_hz / rate;
  // Rotating phasors instead of a cosine and a sine per sample and frequency.
  double low_c = 1.0, low_s = 0.0, high_c = 1.0, high_s = 0.0;
  const double rotate_low_c = std::cos(step_low), rotate_low_s = std::sin(step_low);
  const double rotate_high_c = std::cos(step_high), rotate_high_s = std::sin(step_high);
  for (size_t n = 0; n < count; ++n) {
    const double basis[4] = {low_c, low_s, high_c, high_s};
    const double sample = x[n];
    energy += sample * sample;
    for (int i = 0; i < 4; ++i) {
      for (int j = i; j < 4; ++j) gram[i][j] += basis[i] * basis[j];
      gram[i][4] += basis[i] * sample;
    }
    const double next_low_c = low_c * rotate_low_c - low_s * rotate_low_s;
    low_s = low_s * rotate_low_c + low_c * rotate_low_s;
    low_c = next_low_c;
    const double next_high_c = high_c * rotate_high_c - high_s * rotate_high_s;
    high_s = high_s * rotate_high_c + high_c * rotate_high_s;
    high_c = next_high_c;
  }
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < i; ++j) gram[i][j] = gram[j][i];
  }
  const double right[4] = {gram[0][4], gram[1][4], gram[2][4], gram[3][4]};
  // Gaussian elimination; the matrix is positive definite for a span of a few periods.
  for (int column = 0; column < 4; ++column) {
    const double pivot = gram[column][column];
    if (std::fabs(pivot) < 1e-9) return 0.0;
    for (int row = column + 1; row < 4; ++row) {
      const double factor = gram[row][column] / pivot;
      for (int k = column; k < 5; ++k) gram[row][k] -= factor * gram[column][k];
    }
  }
  double solution[4];
  for (int row = 3; row >= 0; --row) {
    double value = gram[row][4];
    for (int k = row + 1; k < 4; ++k) value -= gram[row][k] * solution[k];
    solution[row] = value / gram[row][row];
  }
  double explained = 0.0;
  for (int i = 0; i < 4; ++i) explained += solution[i] * right[i];
  *low_amplitude = std::hypot(solution[0], solution[1]);
  *high_amplitude = std::hypot(solution[2], solution[3]);
  return energy > 0.0 ? explained / energy : 0.0;
}

// The magnitude of the windowed samples' spectrum at up to kMostProbes frequencies, in one
// pass (independent Goertzel filters side by side).
constexpr size_t kMostProbes = 18;
void SpectrumMagnitudes(const std::vector<double>& windowed, const double* hertz, size_t count, int32_t rate,
                        double* magnitude) {
  double coefficient[kMostProbes], s1[kMostProbes] = {}, s2[kMostProbes] = {};
  for (size_t k = 0; k < count; ++k) coefficient[k] = 2.0 * std::cos(2.0 * kPi * hertz[k] / rate);
  for (double sample : windowed) {
    for (size_t k = 0; k < count; ++k) {
      const double s0 = sample + coefficient[k] * s1[k] - s2[k];
      s2[k] = s1[k];
      s1[k] = s0;
    }
  }
  for (size_t k = 0; k < count; ++k) {
    magnitude[k] = std::sqrt(std::max(0.0, s1[k] * s1[k] + s2[k] * s2[k] - coefficient[k] * s1[k] * s2[k]));
  }
}

// The frequencies of the strongest sines near two nominal frequencies in the windowed
// samples: the peaks of the windowed spectrum, found on a grid of 1.5 % steps over +-6 %
// and refined by parabolas through the log magnitude.
void MeasurePair(const std::vector<double>& windowed, int32_t rate, double low_nominal, double high_nominal,
                 double* low_hz, double* high_hz) {
  const double nominal[2] = {low_nominal, high_nominal};
  double best[2] = {low_nominal, high_nominal};
  double probes[kMostProbes], magnitude[kMostProbes];
  for (int tone = 0; tone < 2; ++tone) {
    for (int k = 0; k < 9; ++k) probes[tone * 9 + k] = nominal[tone] * (1.0 + 0.015 * (k - 4));
  }
  SpectrumMagnitudes(windowed, probes, 18, rate, magnitude);
  for (int tone = 0; tone < 2; ++tone) {
    const double* row = magnitude + tone * 9;
    best[tone] = probes[tone * 9 + (std::max_element(row, row + 9) - row)];
  }
  for (double step : {0.0075, 0.0025, 0.0008}) {
    for (int tone = 0; tone < 2; ++tone) {
      for (int k = 0; k < 3; ++k) probes[tone * 3 + k] = best[tone] + (k - 1) * nominal[tone] * step;
    }
    SpectrumMagnitudes(windowed, probes, 6, rate, magnitude);
    for (int tone = 0; tone < 2; ++tone) {
      const double left = std::log(magnitude[tone * 3] + 1e-9);
      const double centre = std::log(magnitude[tone * 3 + 1] + 1e-9);
      const double right = std::log(magnitude[tone * 3 + 2] + 1e-9);
      const double curvature = left - 2.0 * centre + right;
      const double shift = curvature < 0.0 ? 0.5 * (left - right) / curvature : 0.0;
      best[tone] += std::max(-1.0, std::min(1.0, shift)) * nominal[tone] * step;
    }
  }
  *low_hz = best[0];
  *high_hz = best[1];
}

// One system's view of the frames: which digit each frame may hold (-1 none).
class SystemReceiver {
 public:
  SystemReceiver(DigitSystem system, const Bank& bank, const FramePowers& powers,
                 const std::vector<int16_t>& samples, int32_t rate)
      : system_(system),
        limits_(DigitReceiverLimits(system)),
        plan_(DigitPlan(system)),
        first_(system == DigitSystem::Dtmf ? 0 : bank.mf_first),
        count_(PlanFrequencies(system).size()),
        powers_(powers),
        samples_(samples),
        rate_(rate) {
    const std::vector<double>& hertz = PlanFrequencies(system);
    for (const PlanDigit& digit : plan_) {
      pairs_.push_back({static_cast<size_t>(std::find(hertz.begin(), hertz.end(), digit.low_hz) - hertz.begin()),
                        static_cast<size_t>(std::find(hertz.begin(), hertz.end(), digit.high_hz) - hertz.begin())});
    }
    lowest_power_ = kFullScalePower * std::pow(10.0, (limits_.lowest_tone_dbm0 - kFullScaleSineDbm0) / 10.0);
  }

  void Hear(std::vector<HeardDigit>* heard) {
    std::vector<int> candidate(powers_.frames);
    for (size_t frame = 0; frame < powers_.frames; ++frame) candidate[frame] = FrameDigit(frame);
    std::vector<Run> runs = FindRuns(candidate);
    for (const Run& run : MergeInterruptions(runs, candidate)) {
      HeardDigit digit;
      if (Judge(run, &digit)) heard->push_back(digit);
    }
  }

 private:
  struct Pair {
    size_t low, high;  // indices among the system's frequencies
  };
  struct Run {
    int digit;
    size_t first, last;  // frames, inclusive
    double reference;    // the pair's power in the steady frames
  };

  float Power(size_t frame, size_t index) const { return powers_.At(frame, first_ + index); }

  double PairPower(size_t frame, int digit) const {
    const Pair& pair = pairs_[static_cast<size_t>(digit)];
    return static_cast<double>(Power(frame, pair.low)) + Power(frame, pair.high);
  }

  // The pair a frame holds: DTMF one tone of each group, MF the two strongest.
  int FrameDigit(size_t frame) const {
    size_t a = 0, b = 0;
    if (system_ == DigitSystem::Dtmf) {
      for (size_t k = 1; k < 4; ++k) if (Power(frame, k) > Power(frame, a)) a = k;
      b = 4;
      for (size_t k = 5; k < 8; ++k) if (Power(frame, k) > Power(frame, b)) b = k;
    } else {
      a = Power(frame, 1) > Power(frame, 0) ? 1 : 0;
      b = 1 - a;
      for (size_t k = 2; k < count_; ++k) {
        if (Power(frame, k) > Power(frame, a)) {
          b = a;
          a = k;
        } else if (Power(frame, k) > Power(frame, b)) {
          b = k;
        }
      }
      if (a > b) std::swap(a, b);
    }
    const double low = Power(frame, a), high = Power(frame, b);
    if (low < lowest_power_ || high < lowest_power_) return -1;
    if (low + high < kFrameShare * powers_.total[frame]) return -1;
    const double twist = Db(high / low);
    // Loose here; the whole tone's twist is judged exactly.
    if (twist < limits_.lowest_twist_db - 6.0 || twist > limits_.highest_twist_db + 6.0) return -1;
    for (size_t i = 0; i < pairs_.size(); ++i) {
      if (pairs_[i].low == a && pairs_[i].high == b) return static_cast<int>(i);
    }
    return -1;
  }

  std::vector<Run> FindRuns(const std::vector<int>& candidate) const {
    std::vector<Run> runs;
    for (size_t frame = 0; frame < candidate.size(); ++frame) {
      if (candidate[frame] < 0) continue;
      if (!runs.empty() && runs.back().digit == candidate[frame] && runs.back().last + 1 == frame) {
        runs.back().last = frame;
      } else {
        runs.push_back({candidate[frame], frame, frame, 0.0});
      }
    }
    for (Run& run : runs) run.reference = Reference(run);
    return runs;
  }

  // The pair's power while the tone is steady: the mean without the edge frames, which a
  // tone may only partly fill.
  double Reference(const Run& run) const {
    if (run.last - run.first < 2) {
      return std::max(PairPower(run.first, run.digit), PairPower(run.last, run.digit));
    }
    double sum = 0.0;
    for (size_t frame = run.first + 1; frame < run.last; ++frame) sum += PairPower(frame, run.digit);
    return sum / static_cast<double>(run.last - run.first - 1);
  }

  // How much of a frame the tone fills, from its amplitude against the steady amplitude.
  double Filled(size_t frame, const Run& run) const {
    return std::min(1.0, std::sqrt(PairPower(frame, run.digit) / run.reference));
  }

  // Joins runs of one digit whose break is shorter than the longest interruption; the
  // break is measured from how much of its frames the tone still fills.
  std::vector<Run> MergeInterruptions(const std::vector<Run>& runs, const std::vector<int>& candidate) const {
    std::vector<Run> merged;
    for (const Run& run : runs) {
      if (!merged.empty() && merged.back().digit == run.digit) {
        Run& before = merged.back();
        bool only_breaks = true;
        double break_ms = 0.0;
        for (size_t frame = before.last + 1; frame < run.first; ++frame) {
          if (candidate[frame] >= 0) only_breaks = false;
          break_ms += (1.0 - Filled(frame, before)) * kFrameMs;
        }
        if (only_breaks && break_ms < limits_.longest_interruption_ms) {
          const double frames_before = static_cast<double>(before.last - before.first + 1);
          const double frames_after = static_cast<double>(run.last - run.first + 1);
          before.reference = (before.reference * frames_before + run.reference * frames_after) /
                             (frames_before + frames_after);
          before.last = run.last;
          continue;
        }
      }
      merged.push_back(run);
    }
    return merged;
  }

  double FrameStartMs(size_t frame) const {
    return static_cast<double>(frame * powers_.frame_samples) * 1000.0 / rate_;
  }

  // Start and length of a run from how much of its first, last and neighbouring frames the
  // tone fills.
  void Timing(const Run& run, double* start_ms, double* duration_ms) const {
    const double frame_ms = static_cast<double>(powers_.frame_samples) * 1000.0 / rate_;
    double filled = 0.0;
    for (size_t frame = run.first; frame <= run.last; ++frame) filled += Filled(frame, run);
    double before = 0.0, after = 0.0;
    if (run.first > 0) before = Filled(run.first - 1, run);
    if (run.last + 1 < powers_.frames) after = Filled(run.last + 1, run);
    if (before < kEdgeShare) before = 0.0;
    if (after < kEdgeShare) after = 0.0;
    *start_ms = FrameStartMs(run.first) + (1.0 - Filled(run.first, run) - before) * frame_ms;
    *duration_ms = (filled + before + after) * frame_ms;
  }

  // The longest stretch of frames the tone fills wholly: its partly filled edges and any
  // break left out, since a tone may resume after a break with another phase, which two
  // steady sines would not fit. False when no two frames in a row are filled: every tone
  // long enough to be a digit fills two.
  bool SteadyStretch(const Run& run, size_t* first, size_t* last) const {
    size_t length = 0, best_length = 0;
    for (size_t frame = run.first; frame <= run.last; ++frame) {
      length = Filled(frame, run) >= kSteadyShare ? length + 1 : 0;
      if (length > best_length) {
        best_length = length;
        *first = frame + 1 - length;
        *last = frame;
      }
    }
    return best_length >= 2;
  }

  struct Measured {
    double low_hz, high_hz, low_amplitude, high_amplitude, share;
  };

  // The pair's frequencies in samples [begin, end), and the amplitudes and share of two
  // steady sines fitted at them.
  Measured MeasureSpan(size_t begin, size_t end, const PlanDigit& planned) const {
    // A Hann window, its cosine turned by a rotating phasor.
    std::vector<double> windowed(end - begin);
    const double turn = 2.0 * kPi / static_cast<double>(windowed.size());
    double phasor_c = std::cos(0.5 * turn), phasor_s = std::sin(0.5 * turn);
    const double rotate_c = std::cos(turn), rotate_s = std::sin(turn);
    for (size_t n = 0; n < windowed.size(); ++n) {
      windowed[n] = (0.5 - 0.5 * phasor_c) * samples_[begin + n];
      const double next_c = phasor_c * rotate_c - phasor_s * rotate_s;
      phasor_s = phasor_s * rotate_c + phasor_c * rotate_s;
      phasor_c = next_c;
    }
    Measured measured{};
    MeasurePair(windowed, rate_, planned.low_hz, planned.high_hz, &measured.low_hz, &measured.high_hz);
    measured.share = FitPair(samples_.data() + begin, end - begin, measured.low_hz, measured.high_hz, rate_,
                             &measured.low_amplitude, &measured.high_amplitude);
    return measured;
  }

  // A long tone is measured at its start and at its end, which must agree: a digit keeps its
  // frequencies, a slow sweep through a pair of them does not.
  bool MeasureSteady(size_t first, size_t last, const PlanDigit& planned, Measured* measured) const {
    const size_t begin = first * powers_.frame_samples, end = (last + 1) * powers_.frame_samples;
    const size_t longest = static_cast<size_t>(rate_ * kLongestMeasuredMs / 1000.0);
    if (end - begin <= longest) {
      *measured = MeasureSpan(begin, end, planned);
      return measured->share >= kToneShare;
    }
    const Measured early = MeasureSpan(begin, begin + longest, planned);
    const Measured late = MeasureSpan(end - longest, end, planned);
    if (std::min(early.share, late.share) < kToneShare) return false;
    if (std::fabs(late.low_hz / early.low_hz - 1.0) > kLargestDrift ||
        std::fabs(late.high_hz / early.high_hz - 1.0) > kLargestDrift) {
      return false;
    }
    *measured = {(early.low_hz + late.low_hz) / 2.0, (early.high_hz + late.high_hz) / 2.0,
                 (early.low_amplitude + late.low_amplitude) / 2.0, (early.high_amplitude + late.high_amplitude) / 2.0,
                 std::min(early.share, late.share)};
    return true;
  }

  bool Judge(const Run& run, HeardDigit* digit) const {
    double start_ms = 0.0, duration_ms = 0.0;
    Timing(run, &start_ms, &duration_ms);
    if (duration_ms < limits_.shortest_tone_ms) return false;
    size_t first = 0, last = 0;
    if (!SteadyStretch(run, &first, &last)) return false;
    const PlanDigit& planned = plan_[static_cast<size_t>(run.digit)];
    Measured measured{};
    if (!MeasureSteady(first, last, planned, &measured)) return false;
    const double low_power = measured.low_amplitude * measured.low_amplitude / 2.0;
    const double high_power = measured.high_amplitude * measured.high_amplitude / 2.0;
    if (low_power < lowest_power_ || high_power < lowest_power_) return false;
    if (!(FrequencyCutShare(limits_, measured.low_hz, planned.low_hz) <= 1.0 &&
          FrequencyCutShare(limits_, measured.high_hz, planned.high_hz) <= 1.0)) {
      return false;
    }
    const double twist = Db(high_power / low_power);
    if (twist < limits_.lowest_twist_db || twist > limits_.highest_twist_db) return false;
    digit->system = system_;
    digit->digit = run.digit;
    digit->name = planned.name;
    digit->start_ms = start_ms;
    digit->duration_ms = duration_ms;
    digit->low_hz = measured.low_hz;
    digit->high_hz = measured.high_hz;
    digit->low_deviation_percent = 100.0 * (measured.low_hz / planned.low_hz - 1.0);
    digit->high_deviation_percent = 100.0 * (measured.high_hz / planned.high_hz - 1.0);
    digit->low_dbfs = Db(low_power / kFullScalePower);
    digit->high_dbfs = Db(high_power / kFullScalePower);
    digit->twist_db = twist;
    return true;
  }

  const DigitSystem system_;
  const ReceiverLimits& limits_;
  const std::vector<PlanDigit>& plan_;
  const size_t first_;
  const size_t count_;
  const FramePowers& powers_;
  const std::vector<int16_t>& samples_;
  const int32_t rate_;
  std::vector<Pair> pairs_;
  double lowest_power_ = 0.0;
};

double Overlap(const HeardDigit& a, const HeardDigit& b) {
  return std::min(a.start_ms + a.duration_ms, b.start_ms + b.duration_ms) - std::max(a.start_ms, b.start_ms);
}

// How far the worse of the two frequencies lies off its nominal, as a share of the limit.
double WorseDeviation(const HeardDigit& digit) {
  const ReceiverLimits& limits = DigitReceiverLimits(digit.system);
  const PlanDigit& planned = DigitPlan(digit.system)[static_cast<size_t>(digit.digit)];
  return std::max(FrequencyCutShare(limits, digit.low_hz, planned.low_hz),
                  FrequencyCutShare(limits, digit.high_hz, planned.high_hz));
}

// Some digits of the two plans lie within each other's limits (DTMF 3, 697 + 1477 Hz, and
// MF 7, 700 + 1500 Hz). A tone heard as both belongs to the system of the recording's other
// digits, those heard as one only; without any, to the one whose frequencies it lies closer to.
std::vector<HeardDigit> WithoutLookAlikes(const std::vector<HeardDigit>& heard) {
  std::vector<const HeardDigit*> twin(heard.size(), nullptr);
  int plain[2] = {0, 0};
  for (size_t i = 0; i < heard.size(); ++i) {
    for (size_t j = 0; j < heard.size(); ++j) {
      if (heard[j].system != heard[i].system && Overlap(heard[i], heard[j]) > 0.0) twin[i] = &heard[j];
    }
    if (!twin[i]) ++plain[heard[i].system == DigitSystem::Dtmf ? 0 : 1];
  }
  std::vector<HeardDigit> kept;
  for (size_t i = 0; i < heard.size(); ++i) {
    const HeardDigit& digit = heard[i];
    if (twin[i]) {
      const int mine = plain[digit.system == DigitSystem::Dtmf ? 0 : 1];
      const int theirs = plain[digit.system == DigitSystem::Dtmf ? 1 : 0];
      if (mine < theirs) continue;
      const double other = WorseDeviation(*twin[i]), own = WorseDeviation(digit);
      if (mine == theirs && (other < own || (other == own && digit.system == DigitSystem::Mf))) continue;
    }
    kept.push_back(digit);
  }
  return kept;
}

// The receiver needs no more than 8000 Hz: a recording at a whole multiple of that rate
// (or near it: 44100 Hz is 5 x 8820 Hz) is low-pass filtered and every M-th sample kept,
// which makes the rest of the work up to twelve times smaller. The Hamming-windowed sinc
// keeps the plans' frequencies (up to 1.8 kHz) flat and stops everything that would fold
// onto them. False when the rate is kept. Kept out of line: inlined into HearDigits, it
// cost the frame filters their vector registers (10 minutes at 8000 Hz took twice as long).
__attribute__((noinline)) bool Decimate(const std::vector<int16_t>& samples, int32_t rate, std::vector<int16_t>* decimated,
              int32_t* decimated_rate) {
  const int32_t factor = rate / 8000;
  if (factor < 2 || rate % factor != 0) return false;
  const double target = static_cast<double>(rate / factor);
  const double kept_hz = 1800.0, stop_hz = target - kept_hz;
  const size_t taps = static_cast<size_t>(std::ceil(3.3 * rate / (stop_hz - kept_hz))) | 1;
  const double cutoff = (kept_hz + stop_hz) / 2.0 / rate;
  std::vector<double> filter(taps);
  double sum = 0.0;
  const double middle = static_cast<double>(taps - 1) / 2.0;
  for (size_t k = 0; k < taps; ++k) {
    const double x = static_cast<double>(k) - middle;
    const double sinc = x == 0.0 ? 2.0 * cutoff : std::sin(2.0 * kPi * cutoff * x) / (kPi * x);
    filter[k] = sinc * (0.54 - 0.46 * std::cos(2.0 * kPi * static_cast<double>(k) / static_cast<double>(taps - 1)));
  }
  // Exactly symmetric, so that the two samples a tap pair weighs alike are added first.
  for (size_t k = 0; k < taps / 2; ++k) filter[taps - 1 - k] = filter[k];
  for (double tap : filter) sum += tap;
  for (double& tap : filter) tap /= sum;
  decimated->clear();
  decimated->reserve(samples.size() / static_cast<size_t>(factor) + 1);
  // Output n is centred on input n x factor, so times stay where they were.
  const size_t half = taps / 2;
  for (size_t centre = 0; centre < samples.size(); centre += static_cast<size_t>(factor)) {
    double value = 0.0;
    if (centre >= half && centre + half < samples.size()) {
      // Four sums side by side, which the compiler may keep in vector registers; each
      // pair of samples the filter weighs alike is added before it is weighed.
      const int16_t* x = samples.data() + (centre - half);
      double sums[4] = {filter[half] * x[half], 0.0, 0.0, 0.0};
      size_t k = 0;
      for (; k + 4 <= half; k += 4) {
        for (size_t lane = 0; lane < 4; ++lane) {
          sums[lane] += filter[k + lane] * (x[k + lane] + x[taps - 1 - k - lane]);
        }
      }
      for (; k < half; ++k) sums[0] += filter[k] * (x[k] + x[taps - 1 - k]);
      value = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    } else {
      for (size_t k = 0; k < taps; ++k) {
        if (centre + k >= half && centre + k - half < samples.size()) value += filter[k] * samples[centre + k - half];
      }
    }
    // Rounded half away from zero, as lround does, without its library call.
    value = std::max(-32768.0, std::min(32767.0, value));
    decimated->push_back(static_cast<int16_t>(value + std::copysign(0.5, value)));
  }
  *decimated_rate = rate / factor;
  return true;
}

}  // namespace

const ReceiverLimits& DigitReceiverLimits(DigitSystem system) {
  return system == DigitSystem::Dtmf ? kDtmfLimits : kMfLimits;
}

double FrequencyCutShare(const ReceiverLimits& limits, double hertz, double nominal_hz) {
  return std::fabs(hertz - nominal_hz) / (nominal_hz * limits.frequency_cut_percent / 100.0 + limits.frequency_cut_hz);
}

std::vector<HeardDigit> HearDigits(const std::vector<int16_t>& samples, int32_t rate) {
  std::vector<HeardDigit> heard;
  if (rate < kLowestRate) return heard;
  std::vector<int16_t> decimated;
  int32_t heard_rate = rate;
  const std::vector<int16_t>& source = Decimate(samples, rate, &decimated, &heard_rate) ? decimated : samples;
  const Bank bank = MakeBank();
  const FramePowers powers = MeasureFrames(source, heard_rate, bank);
  for (DigitSystem system : {DigitSystem::Dtmf, DigitSystem::Mf}) {
    SystemReceiver(system, bank, powers, source, heard_rate).Hear(&heard);
  }
  heard = WithoutLookAlikes(heard);
  std::stable_sort(heard.begin(), heard.end(),
                   [](const HeardDigit& a, const HeardDigit& b) { return a.start_ms < b.start_ms; });
  return heard;
}

std::string HeardDigitString(const std::vector<HeardDigit>& digits) {
  std::string text;
  for (const HeardDigit& digit : digits) text += digit.name;
  return text;
}
