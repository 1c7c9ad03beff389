// Finding the cycle in a list of segments: the shortest repeating sequence, parts cut by
// the recording, jitter, and recordings that do not repeat.
#include "analysis/cycle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Heard {
  SegmentKind kind;
  double ms;
};

// Segments of the given lengths at 1000 Hz (a sample per millisecond), back to back; the
// first and the last are cut by the recording.
std::vector<Segment> Lay(const std::vector<Heard>& heard) {
  std::vector<Segment> segments;
  int64_t position = 0;
  for (const Heard& part : heard) {
    int64_t length = static_cast<int64_t>(part.ms);
    segments.push_back(Segment{part.kind, position, position + length, false, false});
    position += length;
  }
  segments.front().cut_at_start = true;
  segments.back().cut_at_end = true;
  return segments;
}

struct CycleCase {
  const char* name;
  std::vector<Heard> heard;
  bool repeats;
  std::vector<Heard> cycle;
  std::vector<bool> known;
  size_t whole_cycles;
};

constexpr SegmentKind kOn = SegmentKind::Steady;
constexpr SegmentKind kOff = SegmentKind::Silent;

TEST(FindCycle, ShortestRepeatingSequenceStartingAfterTheLongestSilence) {
  // Nine beeps and a longer one: only the two cut ends would agree with a cycle of all but
  // two segments, which is no evidence of one.
  std::vector<Heard> beeps;
  for (int i = 0; i < 9; ++i) beeps.insert(beeps.end(), {{kOn, 100}, {kOff, 100}});
  beeps.insert(beeps.end(), {{kOn, 300}, {kOff, 100}});
  std::vector<bool> beeps_known(beeps.size(), true);
  beeps_known.front() = beeps_known.back() = false;
  const std::vector<CycleCase> cases = {
      {"nine beeps and a long one", beeps, false, beeps, beeps_known, 0},
      {"on and off", {{kOn, 300}, {kOff, 1000}, {kOn, 500}, {kOff, 1000}, {kOn, 500}, {kOff, 1000}, {kOn, 200}},
       true, {{kOn, 500}, {kOff, 1000}}, {true, true}, 2},
      {"double ring", {{kOff, 1500}, {kOn, 400}, {kOff, 200}, {kOn, 400}, {kOff, 2000}, {kOn, 400}, {kOff, 200},
                       {kOn, 400}, {kOff, 900}},
       true, {{kOn, 400}, {kOff, 200}, {kOn, 400}, {kOff, 2000}}, {true, true, true, true}, 1},
      {"jitter within the match", {{kOn, 100}, {kOff, 500}, {kOn, 510}, {kOff, 490}, {kOn, 500}, {kOff, 300}},
       true, {{kOn, 505}, {kOff, 495}}, {true, true}, 1},
      {"lengths too far apart", {{kOn, 100}, {kOff, 500}, {kOn, 300}, {kOff, 500}, {kOn, 600}}, false,
       {{kOn, 100}, {kOff, 500}, {kOn, 300}, {kOff, 500}, {kOn, 600}}, {false, true, true, true, false}, 0},
      {"started and stopped inside steps", {{kOn, 1300}, {kOff, 4000}, {kOn, 2000}, {kOff, 3000}}, true,
       {{kOn, 2000}, {kOff, 4000}}, {true, true}, 0},
      {"one step heard only in part", {{kOn, 300}, {kOff, 1000}, {kOn, 200}}, false,
       {{kOn, 300}, {kOff, 1000}, {kOn, 200}}, {false, true, false}, 0},
      {"continuous", {{kOn, 5000}}, false, {{kOn, 5000}}, {false}, 0},
  };
  for (const CycleCase& test : cases) {
    Cycle cycle = FindCycle(Lay(test.heard), 1000);
    EXPECT_EQ(cycle.repeats, test.repeats) << test.name;
    ASSERT_EQ(cycle.steps.size(), test.cycle.size()) << test.name;
    for (size_t i = 0; i < test.cycle.size(); ++i) {
      EXPECT_EQ(cycle.steps[i].kind, test.cycle[i].kind) << test.name << " step " << i + 1;
      EXPECT_DOUBLE_EQ(cycle.steps[i].duration_ms, test.cycle[i].ms) << test.name << " step " << i + 1;
      EXPECT_EQ(cycle.steps[i].duration_known, test.known[i]) << test.name << " step " << i + 1;
    }
    EXPECT_EQ(cycle.complete_cycles, test.whole_cycles) << test.name;
  }
  EXPECT_TRUE(FindCycle({}, 8000).steps.empty());
}

}  // namespace
