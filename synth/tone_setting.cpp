#include "synth/tone_setting.h"

#include <utility>

#include "synth/wrapping_arithmetic.h"

namespace {

template <typename Node>
void FreeList(Node*& head) {
  while (head != nullptr) {
    Node* next = head->next;
    delete head;
    head = next;
  }
}

template <typename Node>
void AppendToList(Node*& head, Node* node) {
  if (node == nullptr) return;
  Node** link = &head;
  while (*link != nullptr) link = &(*link)->next;
  *link = node;
}

template <typename Node>
Node* NodeAt(Node* head, int32_t index) {
  if (index < 0) return nullptr;
  Node* node = head;
  for (int32_t i = 0; node != nullptr && i < index; ++i) node = node->next;
  return node;
}

template <typename Node>
int32_t CountList(const Node* head) {
  int32_t count = 0;
  for (; head != nullptr; head = head->next) ++count;
  return count;
}

template <typename Node>
bool DeleteFromList(Node*& head, int32_t index) {
  if (index < 0) return false;
  Node** link = &head;
  for (int32_t i = 0; *link != nullptr && i < index; ++i) link = &(*link)->next;
  Node* doomed = *link;
  if (doomed == nullptr) return false;
  *link = doomed->next;
  delete doomed;
  return true;
}

// Exchanges everything but the links, so the rows swap places and the list stays intact.
template <typename Node>
bool SwapContents(Node* head, int32_t first, int32_t second) {
  Node* a = NodeAt(head, first);
  Node* b = NodeAt(head, second);
  if (a == nullptr || b == nullptr) return false;
  Node* a_next = a->next;
  Node* b_next = b->next;
  std::swap(*a, *b);
  a->next = a_next;
  b->next = b_next;
  return true;
}

// Gains of one stretch of a step, offsets first .. first + count - 1, of a step of
// length samples. Written as simple loops per kind so each vectorises.
void WriteStepGains(const PatternStep& step, int64_t length, int64_t first, int64_t count,
                    int32_t fade_length, double* gains) {
  const double n = static_cast<double>(length);
  if (step.on_off == RampDown) {
    for (int64_t k = 0; k < count; ++k) gains[k] = static_cast<double>(length - first - k) / n;
    return;
  }
  if (step.on_off == RampUp) {
    for (int64_t k = 0; k < count; ++k) gains[k] = static_cast<double>(first + k) / n;
    return;
  }
  const double constant = static_cast<double>(step.on_off);
  if (step.is_fade == 0 || step.on_off == Off) {
    for (int64_t k = 0; k < count; ++k) gains[k] = constant;
    return;
  }
  const double f = static_cast<double>(fade_length);
  for (int64_t k = 0; k < count; ++k) {
    const int64_t offset = first + k;
    const int64_t remaining = length - offset;
    if (offset < fade_length) {
      gains[k] = static_cast<double>(offset) / f;
    } else if (remaining <= fade_length) {
      gains[k] = static_cast<double>(remaining) / f;
    } else {
      gains[k] = constant;
    }
  }
}

}  // namespace

ToneSetting::~ToneSetting() {
  FreeList(patterns);
  FreeList(tones);
}

void ToneSetting::Clear() {
  FreeList(patterns);
  FreeList(tones);
  path.clear();
  sampling_frequency = 8000;
  pattern_total = 0;
  fade = 400;
  filter_on = 0;
}

void ToneSetting::AppendStep(PatternStep* step) {
  AppendToList(patterns, step);
  RecomputePatternTotal();
}

void ToneSetting::AppendTone(ToneEntry* tone) { AppendToList(tones, tone); }

void ToneSetting::RecomputePatternTotal() {
  int32_t total = 0;
  for (const PatternStep* step = patterns; step != nullptr; step = step->next) {
    total = WrappingAdd(total, step->time);
  }
  pattern_total = total;
}

int ToneSetting::FillEnvelope(double* gains) {
  const int32_t fade_length = fade > 0 ? sampling_frequency / fade : 1;
  int32_t filled = 0;
  while (filled < kSynthesisBlockSamples) {
    const bool pass_from_cycle_start = pattern_position == 0;
    const int32_t filled_before_pass = filled;
    int32_t step_start = 0;
    for (const PatternStep* step = patterns; step != nullptr; step = step->next) {
      const int32_t length = WrappingMultiply(step->time, sampling_frequency) / 1000;
      const int32_t step_end = WrappingAdd(step_start, length);
      if (pattern_position < step_end && length != 0) {
        const int64_t offset =
            pattern_position > step_start ? int64_t{pattern_position} - step_start : 0;
        const int64_t left_in_step = int64_t{length} - offset;
        if (left_in_step > 0) {
          const int64_t space = kSynthesisBlockSamples - filled;
          const int64_t count = left_in_step < space ? left_in_step : space;
          WriteStepGains(*step, length, offset, count, fade_length, gains + filled);
          filled += static_cast<int32_t>(count);
          pattern_position = WrappingAdd(pattern_position, static_cast<int32_t>(count));
          if (filled == kSynthesisBlockSamples) return kSynthesisBlockSamples;
        }
      }
      step_start = step_end;
    }
    pattern_position = 0;
    // A whole cycle from its start that yields no gain never will: give silence instead
    // of spinning for ever.
    if (pass_from_cycle_start && filled == filled_before_pass) {
      for (int32_t k = filled; k < kSynthesisBlockSamples; ++k) gains[k] = 0.0;
      return kSynthesisBlockSamples;
    }
  }
  return kSynthesisBlockSamples;
}

PatternStep* ToneSetting::StepAt(int32_t index) const { return NodeAt(patterns, index); }
ToneEntry* ToneSetting::ToneAt(int32_t index) const { return NodeAt(tones, index); }
int32_t ToneSetting::StepCount() const { return CountList(patterns); }
int32_t ToneSetting::ToneCount() const { return CountList(tones); }

bool ToneSetting::DeleteStep(int32_t index) {
  if (!DeleteFromList(patterns, index)) return false;
  RecomputePatternTotal();
  return true;
}

bool ToneSetting::DeleteTone(int32_t index) { return DeleteFromList(tones, index); }

bool ToneSetting::SwapSteps(int32_t first, int32_t second) {
  return SwapContents(patterns, first, second);
}

bool ToneSetting::SwapTones(int32_t first, int32_t second) {
  return SwapContents(tones, first, second);
}
