#include "digits/digit_check.h"

#include <algorithm>
#include <cmath>

#include "digits/digit_plan.h"

namespace {

// The digit of the system whose pair a part sounds, and how far off it lies; -1 for none.
int PartDigit(const TonePart& part, DigitSystem system, double* deviation) {
  if (part.tones.size() != 2) return -1;
  const double low = std::min(part.tones[0].frequency_hz, part.tones[1].frequency_hz);
  const double high = std::max(part.tones[0].frequency_hz, part.tones[1].frequency_hz);
  const std::vector<PlanDigit>& plan = DigitPlan(system);
  const ReceiverLimits& limits = DigitReceiverLimits(system);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (FrequencyCutShare(limits, low, plan[i].low_hz) <= 1.0 &&
        FrequencyCutShare(limits, high, plan[i].high_hz) <= 1.0) {
      *deviation = std::fabs(low / plan[i].low_hz - 1.0) + std::fabs(high / plan[i].high_hz - 1.0);
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool ReadAs(const ToneSequence& sequence, DigitSystem system, std::vector<ExpectedDigit>* digits, double* deviation) {
  std::vector<ExpectedDigit> read;
  double start_ms = 0.0;
  *deviation = 0.0;
  for (const TonePart& part : sequence.parts) {
    if (part.tones.empty()) {
      if (!read.empty()) read.back().off_ms += part.duration_ms == kLastsForEver ? 0.0 : part.duration_ms;
    } else {
      double off = 0.0;
      const int digit = PartDigit(part, system, &off);
      if (digit < 0 || part.duration_ms == kLastsForEver) return false;
      *deviation += off;
      ExpectedDigit expected;
      expected.system = system;
      expected.digit = digit;
      expected.name = DigitPlan(system)[static_cast<size_t>(digit)].name;
      expected.start_ms = start_ms;
      expected.on_ms = part.duration_ms;
      read.push_back(expected);
    }
    if (part.duration_ms != kLastsForEver) start_ms += part.duration_ms;
  }
  if (read.empty()) return false;
  *digits = read;
  return true;
}

bool SameDigit(const ExpectedDigit& expected, const HeardDigit& heard) {
  return expected.system == heard.system && expected.digit == heard.digit;
}

}  // namespace

bool ReadExpectedDigits(const ToneSequence& sequence, std::vector<ExpectedDigit>* digits) {
  std::vector<ExpectedDigit> dtmf, mf;
  double dtmf_off = 0.0, mf_off = 0.0;
  const bool is_dtmf = ReadAs(sequence, DigitSystem::Dtmf, &dtmf, &dtmf_off);
  const bool is_mf = ReadAs(sequence, DigitSystem::Mf, &mf, &mf_off);
  // DTMF 3 and MF 7 lie within each other's limits: the plan the frequencies lie closer to.
  if (is_dtmf && (!is_mf || dtmf_off <= mf_off)) {
    *digits = dtmf;
    return true;
  }
  if (is_mf) *digits = mf;
  return is_mf;
}

DigitCheck CheckDigits(const std::vector<ExpectedDigit>& expected, const std::vector<HeardDigit>& heard,
                       const std::function<double(double expected_ms)>& allowed_ms) {
  // Edit distance between the two digit strings, then the way back through it.
  const size_t rows = expected.size() + 1, columns = heard.size() + 1;
  std::vector<size_t> cost(rows * columns, 0);
  for (size_t i = 0; i < rows; ++i) cost[i * columns] = i;
  for (size_t j = 0; j < columns; ++j) cost[j] = j;
  for (size_t i = 1; i < rows; ++i) {
    for (size_t j = 1; j < columns; ++j) {
      const size_t replace = cost[(i - 1) * columns + j - 1] + (SameDigit(expected[i - 1], heard[j - 1]) ? 0 : 1);
      cost[i * columns + j] = std::min({replace, cost[(i - 1) * columns + j] + 1, cost[i * columns + j - 1] + 1});
    }
  }
  std::vector<DigitCheckRow> backwards;
  size_t i = expected.size(), j = heard.size();
  while (i > 0 || j > 0) {
    DigitCheckRow row;
    if (i > 0 && j > 0 &&
        cost[i * columns + j] ==
            cost[(i - 1) * columns + j - 1] + (SameDigit(expected[i - 1], heard[j - 1]) ? 0 : 1)) {
      row.expected = static_cast<int>(--i);
      row.heard = static_cast<int>(--j);
      row.verdict = SameDigit(expected[i], heard[j]) ? DigitVerdict::Ok : DigitVerdict::Wrong;
    } else if (i > 0 && cost[i * columns + j] == cost[(i - 1) * columns + j] + 1) {
      row.expected = static_cast<int>(--i);
      row.verdict = DigitVerdict::Missing;
    } else {
      row.heard = static_cast<int>(--j);
      row.verdict = DigitVerdict::Extra;
    }
    backwards.push_back(row);
  }
  DigitCheck check;
  check.rows.assign(backwards.rbegin(), backwards.rend());
  check.pass = true;
  for (DigitCheckRow& row : check.rows) {
    if (row.heard >= 0) {
      const size_t at = static_cast<size_t>(row.heard);
      row.heard_on_ms = heard[at].duration_ms;
      if (at + 1 < heard.size()) row.heard_off_ms = heard[at + 1].start_ms - (heard[at].start_ms + heard[at].duration_ms);
    }
    if (row.expected >= 0 && row.heard >= 0) {
      const ExpectedDigit& sent = expected[static_cast<size_t>(row.expected)];
      const HeardDigit& got = heard[static_cast<size_t>(row.heard)];
      row.on_difference_ms = got.duration_ms - sent.on_ms;
      row.on_ok = std::fabs(row.on_difference_ms) <= allowed_ms(sent.on_ms);
      const bool last = static_cast<size_t>(row.expected) + 1 == expected.size() ||
                        static_cast<size_t>(row.heard) + 1 == heard.size();
      if (last) {
        row.heard_off_ms = -1.0;
      } else {
        row.off_difference_ms = row.heard_off_ms - sent.off_ms;
        row.off_ok = std::fabs(row.off_difference_ms) <= allowed_ms(sent.off_ms);
      }
      if (row.verdict == DigitVerdict::Ok && !(row.on_ok && row.off_ok)) row.verdict = DigitVerdict::Timing;
    }
    if (row.verdict != DigitVerdict::Ok) check.pass = false;
  }
  return check;
}
