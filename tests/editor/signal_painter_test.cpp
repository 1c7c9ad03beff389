#include "editor/signal_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "editor/signal_zoom.h"
#include "tests/editor/recording_surface.h"

namespace {

using sonaril_test::CRecordingSurface;
using sonaril_test::DrawCall;
using sonaril_test::LineCall;
using sonaril_test::MoveCall;
using sonaril_test::PenCall;
using sonaril_test::TextCall;

// A view 260 pixels high: plot from y 30 to 230, half = 100, centre 130.
constexpr int32_t kHeight = 260;
constexpr int32_t kCenter = 130;
constexpr double kPi = 3.14159265358979323846;

DrawRect ClientOf(int32_t width) { return DrawRect{0, 0, width, kHeight}; }

SignalViewState StateOf(int32_t rate, int32_t zoom_level, const std::vector<int16_t>& samples) {
  SignalViewState state;
  state.signal_rate = rate;
  state.zoom_level = zoom_level;
  state.signal_count = static_cast<int32_t>(samples.size());
  state.signal_samples = samples.empty() ? nullptr : samples.data();
  state.char_width = 8;
  state.line_pitch = 15;
  return state;
}

std::string Label(int64_t ms, int32_t zoom_level) {
  wchar_t label[kTimeLabelCapacity];
  int32_t length = FormatTimeLabel(ms, zoom_level, label, kTimeLabelCapacity);
  return std::string(label, label + length);
}

// x positions of the vertical grey grid lines.
std::vector<int32_t> GridXs(const CRecordingSurface& surface) {
  std::vector<int32_t> xs;
  for (const DrawCall& call : surface.CallsInColor(kTimeGridColor)) {
    if (call.kind == DrawCall::Move) xs.push_back(call.x);
  }
  return xs;
}

TEST(SignalZoom, RateClassesAndLevelsGiveTheirTableEntries) {
  struct Case {
    int32_t rate, level, samples_per_pixel, pixels_per_division, ms_per_division;
  } cases[] = {
      {8000, 0, 1, 160, 20},      {8000, 7, 200, 200, 5000},  {8000, 2, 5, 160, 100},
      {0, 2, 5, 160, 100},        {-44100, 0, 1, 160, 20},    {8001, 0, 2, 160, 20},
      {16000, 4, 40, 200, 500},   {16001, 4, 80, 200, 500},   {32000, 6, 400, 160, 2000},
      {32001, 0, 6, 147, 20},     {44100, 0, 6, 147, 20},     {44100, 1, 15, 147, 50},
      {44100, 7, 1500, 147, 5000}, {44101, 0, 6, 160, 20},    {48000, 3, 60, 160, 200},
      {48001, 0, 12, 160, 20},    {96000, 5, 600, 160, 1000}, {96000, 7, 2400, 200, 5000},
      {8000, -3, 1, 160, 20},     {8000, 99, 200, 200, 5000},
  };
  for (const Case& c : cases) {
    ZoomScale scale = LookupZoomScale(c.rate, c.level);
    EXPECT_EQ(scale.samples_per_pixel, c.samples_per_pixel) << c.rate << " Hz, level " << c.level;
    EXPECT_EQ(scale.pixels_per_division, c.pixels_per_division) << c.rate << " Hz, level " << c.level;
    EXPECT_EQ(scale.ms_per_division, c.ms_per_division) << c.rate << " Hz, level " << c.level;
  }
}

TEST(SignalTimeLabel, FormatsHoursMinutesSecondsAndTheFractionOfTheZoomLevel) {
  struct Case {
    int64_t ms;
    int32_t level;
    const char* label;
  } cases[] = {
      {0, 2, "0.00"},          {100, 2, "0.10"},          {59900, 2, "59.90"},
      {60000, 2, "1:00.00"},   {20, 0, "0.02"},           {1999, 1, "1.99"},
      {1500, 3, "1.5"},        {1500, 5, "1.5"},          {5000, 7, "5"},
      {61000, 6, "1:01"},      {3720000, 7, "1:02:00"},   {3720000, 4, "1:02:00.0"},
      {3600000 + 5, 0, "1:00:00.00"},
      {86400000, 7, "0"},                      // the hour wraps after 24
      {86400000 + 3720000, 7, "1:02:00"},      // 25 h 2 min
      {23 * 3600000LL + 59 * 60000 + 59990, 0, "23:59:59.99"},
      {-5, 2, "0.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(Label(c.ms, c.level), c.label) << c.ms << " ms";

  wchar_t small[4];
  EXPECT_EQ(FormatTimeLabel(60000, 2, small, 4), 3);  // cut, terminated
  EXPECT_EQ(std::wstring(small), L"1:0");
  EXPECT_EQ(FormatTimeLabel(0, 2, nullptr, 10), 0);
}

TEST(SignalPicture, FrameIsTheBackgroundThenZeroHalfAmplitudeAndBorderLines) {
  CRecordingSurface surface;
  SignalViewState state = StateOf(0, 2, {});  // rate 0: the frame only
  DrawSignalPicture(&surface, state, ClientOf(400));
  const std::vector<DrawCall>& calls = surface.calls();
  ASSERT_EQ(calls.size(), 15u);
  EXPECT_EQ(calls[0].kind, DrawCall::Fill);
  EXPECT_EQ(calls[0].color, kSignalBackgroundColor);
  EXPECT_EQ(calls[0].rect.right, 400);
  EXPECT_EQ(calls[0].rect.bottom, kHeight);
  std::vector<DrawCall> expected = {
      calls[0],
      PenCall(0xFF00FF), MoveCall(23, 130), LineCall(399, 130),
      PenCall(0x800000), MoveCall(23, 80), LineCall(399, 80), MoveCall(23, 180), LineCall(399, 180),
      PenCall(0x000000), MoveCall(23, 30), LineCall(399, 30), LineCall(399, 230), LineCall(23, 230),
      LineCall(23, 30)};
  EXPECT_EQ(calls, expected);
}

TEST(SignalPicture, OddHeightsPlaceTheHalfAmplitudeLinesAsTheFormulaSays) {
  CRecordingSurface surface;
  SignalViewState state = StateOf(0, 2, {});
  DrawSignalPicture(&surface, state, DrawRect{0, 0, 300, 181});  // d = 121
  std::vector<DrawCall> blue = surface.CallsInColor(kHalfAmplitudeColor);
  ASSERT_EQ(blue.size(), 4u);
  EXPECT_EQ(blue[0], MoveCall(23, 60));            // 121 / 4 + 30
  EXPECT_EQ(blue[2], MoveCall(23, 90 + 30));       // y0 = 60 + 30 = 90; 90 + (181 - 90 - 30) / 2
  ASSERT_EQ(surface.CallsInColor(kZeroLineColor).size(), 2u);
  EXPECT_EQ(surface.CallsInColor(kZeroLineColor)[0], MoveCall(23, 90));
}

TEST(SignalPicture, At8000HzLevel2TheGridIs160PixelsAndLabelsRunToOneMinute) {
  // 60 s at 8000 Hz is 480000 samples, 96000 columns of 5 samples: every division on screen.
  std::vector<int16_t> samples(480000, 0);
  SignalViewState state = StateOf(8000, 2, samples);
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(24 + 600 * 160 + 1));
  std::vector<std::string> expected;
  for (int tenth = 0; tenth < 600; ++tenth) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", tenth / 10, tenth % 10 * 10);
    expected.push_back(text);
  }
  expected.push_back("1:00.00");
  EXPECT_EQ(surface.Labels(), expected);
  std::vector<int32_t> grid = GridXs(surface);
  ASSERT_EQ(grid.size(), 600u);  // none at the plot's left edge
  EXPECT_EQ(grid.front(), 184);
  EXPECT_EQ(grid[1], 344);
  EXPECT_EQ(grid.back(), 24 + 600 * 160);
  // Each grid line runs from the top of the plot to its bottom.
  std::vector<DrawCall> grey = surface.CallsInColor(kTimeGridColor);
  ASSERT_GE(grey.size(), 2u);
  EXPECT_EQ(grey[0], MoveCall(184, 30));
  EXPECT_EQ(grey[1], LineCall(184, 230));
}

TEST(SignalPicture, GridSpacingAndLabelsFollowRateAndZoom) {
  struct Case {
    int32_t rate, level, width;
    std::vector<int32_t> grid;
    std::vector<std::string> labels;
  } cases[] = {
      {8000, 0, 600, {184, 344, 504}, {"0.00", "0.02", "0.04", "0.06"}},
      {8000, 7, 500, {224, 424}, {"0", "5", "10"}},
      {8000, 4, 500, {224, 424}, {"0.0", "0.5", "1.0"}},
      {44100, 0, 640, {171, 318, 465, 612}, {"0.00", "0.02", "0.04", "0.06", "0.08"}},
      {96000, 6, 600, {184, 344, 504}, {"0", "2", "4", "6"}},
  };
  for (const Case& c : cases) {
    CRecordingSurface surface;
    SignalViewState state = StateOf(c.rate, c.level, {});
    DrawSignalPicture(&surface, state, ClientOf(c.width));
    EXPECT_EQ(GridXs(surface), c.grid) << c.rate << " Hz, level " << c.level;
    EXPECT_EQ(surface.Labels(), c.labels) << c.rate << " Hz, level " << c.level;
  }
}

TEST(SignalPicture, LabelsAreCentredAboveTheirLineAndDroppedAtTheLeftEdge) {
  SignalViewState state = StateOf(8000, 2, {});
  state.char_width = 8;
  state.line_pitch = 15;
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(200));
  // y = top + 27 - line_pitch - 5 = 7; "0.00" is 4 characters of 8 pixels.
  std::vector<DrawCall> texts = surface.TextCalls();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], TextCall(24 - 16, 7, "0.00"));
  EXPECT_EQ(texts[1], TextCall(184 - 16, 7, "0.10"));

  state.char_width = 12;  // the first label would start at x = 0: not drawn
  CRecordingSurface wide_font;
  DrawSignalPicture(&wide_font, state, ClientOf(200));
  EXPECT_EQ(wide_font.Labels(), std::vector<std::string>{"0.10"});
}

// At 192 DPI the margins and the labels' offsets double; the time grid keeps its pixels.
TEST(SignalPicture, MarginsAndLabelsGrowWithTheDpi) {
  SignalViewState state = StateOf(8000, 2, {});
  state.dpi = 192;
  state.char_width = 16;
  state.line_pitch = 30;
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, DrawRect{0, 0, 400, 520});
  std::vector<DrawCall> border = surface.CallsInColor(kPlotBorderColor);
  ASSERT_EQ(border.size(), 5u);
  EXPECT_EQ(border[0], MoveCall(47, 60));
  EXPECT_EQ(border[2], LineCall(399, 460));
  // y = 54 - 30 - 10 = 14; "0.00" is 4 characters of 16 pixels around x = 48.
  std::vector<DrawCall> texts = surface.TextCalls();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], TextCall(48 - 32, 14, "0.00"));
  EXPECT_EQ(texts[1], TextCall(208 - 32, 14, "0.10"));
  EXPECT_EQ(GridXs(surface), (std::vector<int32_t>{208, 368}));
  EXPECT_EQ(UpdateSignalScroll(&state, 400).page, (400 - 48) * 5);
}

TEST(SignalPicture, ScrolledGridStaysOnWholeDivisionsOfTime) {
  SignalViewState state = StateOf(8000, 2, {});
  state.h_pos = 7;  // 1 pixel in: the next division is 159 pixels to the right
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(400));
  EXPECT_EQ(GridXs(surface), (std::vector<int32_t>{183, 343}));
  EXPECT_EQ(surface.Labels(), (std::vector<std::string>{"0.10", "0.20"}));
}

TEST(SignalPicture, CoarseZoomLabelsAnHourAndTwoMinutesAndWrapsAfterADay) {
  // At 8000 Hz, level 7: 200 samples a pixel, 5 s every 200 pixels.
  struct Case {
    int64_t seconds;
    const char* label;
  } cases[] = {{3720, "1:02:00"}, {86400 + 3720, "1:02:00"}, {86400, "0"}, {23 * 3600 + 3595, "23:59:55"}};
  for (const Case& c : cases) {
    SignalViewState state = StateOf(8000, 7, {});
    state.h_pos = static_cast<int32_t>(c.seconds * 8000);
    state.char_width = 1;  // keeps the long label inside the view
    CRecordingSurface surface;
    DrawSignalPicture(&surface, state, ClientOf(100));
    ASSERT_FALSE(surface.Labels().empty());
    EXPECT_EQ(surface.Labels()[0], c.label) << c.seconds << " s";
  }
}

TEST(SignalPicture, WithoutSamplesOnlyFrameGridAndLabelsAreDrawn) {
  for (int32_t count : {0, 5}) {
    std::vector<int16_t> samples(5, 1000);
    SignalViewState state = StateOf(8000, 2, samples);
    state.signal_count = count;
    state.signal_samples = count == 0 ? nullptr : samples.data();
    state.h_pos = count == 0 ? 0 : 5;  // a position at the end shows no waveform either
    CRecordingSurface surface;
    DrawSignalPicture(&surface, state, ClientOf(400));
    EXPECT_TRUE(surface.CallsInColor(kWaveformColor).empty());
    EXPECT_EQ(GridXs(surface).size(), 2u);
    EXPECT_FALSE(surface.Labels().empty());
  }
}

TEST(SignalWaveform, ColumnsFollowTheirMinimumMaximumAndThePreviousEndPoint) {
  // 8000 Hz, level 1: 2 samples a column. y(v) = 130 - v * 100 / 32767.
  std::vector<int16_t> samples = {
      1000,   2000,    // first column, all positive: start at y(2000) = 124
      32767,  -32767,  // crosses, coming from above the centre (124 < 130), 124 inside: move
      -32767, 32767,   // crosses, coming from below (230): line down, then up
      -1000,  -2000,   // all negative: line to y(-2000) = 136
      -100,   100,     // crosses from below (136): yMin = yMax = 130
      -100,   100,     // from exactly the centre, inside [130, 130]: move
      5000,   -5000,   // from the centre: line to 145, then to 115
      -3000,  3000,    // from above (115), not inside [121, 139]: line to 121, then 139
      20000,  -20000,  // from below (139): line to 191, then 69
      -30000, 30000,   // from above (69), inside [39, 221]: move to 39, line to 221
      7,               // a last short column, positive: line to y(7) = 130
  };
  SignalViewState state = StateOf(8000, 1, samples);
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(100));
  std::vector<DrawCall> expected = {
      MoveCall(23, 124),
      MoveCall(24, 30),  LineCall(24, 230),
      LineCall(25, 230), LineCall(25, 30),
      LineCall(26, 136),
      LineCall(27, 130), LineCall(27, 130),
      MoveCall(28, 130), LineCall(28, 130),
      LineCall(29, 145), LineCall(29, 115),
      LineCall(30, 121), LineCall(30, 139),
      LineCall(31, 191), LineCall(31, 69),
      MoveCall(32, 39),  LineCall(32, 221),
      LineCall(33, 130),
      LineCall(34, 130),  // the end of the signal returns to the centre and stops
  };
  EXPECT_EQ(surface.CallsInColor(kWaveformColor), expected);
}

TEST(SignalWaveform, FirstColumnStartsAtItsExtremeOrTheCentre) {
  struct Case {
    std::vector<int16_t> first_column;
    int32_t start_y;
  } cases[] = {
      {{0, 0}, 130},            // zero counts as positive: y(0)
      {{16384, 100}, 80},       // all positive: the maximum
      {{-16384, -1}, 180},      // all negative: the minimum
      {{-16384, 16384}, 130},   // crossing: the centre
      {{-32768, -32768}, 230},  // -32768 maps like -32767 after truncation
  };
  for (const Case& c : cases) {
    SignalViewState state = StateOf(8000, 1, c.first_column);
    CRecordingSurface surface;
    DrawSignalPicture(&surface, state, ClientOf(60));
    std::vector<DrawCall> blue = surface.CallsInColor(kWaveformColor);
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_EQ(blue[0], MoveCall(23, c.start_y));
    EXPECT_EQ(blue[1], LineCall(24, kCenter));
  }
}

TEST(SignalWaveform, AFullScaleSineOfAWholePeriodAColumnIsAVerticalBarPerPixel) {
  // 1000 Hz at 8000 Hz: 8 samples a period; level 7 reads 200 samples a column.
  std::vector<int16_t> samples(8000);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(32767.0 * std::sin(2.0 * kPi * 1000.0 * i / 8000.0));
  }
  SignalViewState state = StateOf(8000, 7, samples);
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(24 + 39));  // the first column + 39 = 8000 samples
  std::vector<DrawCall> blue = surface.CallsInColor(kWaveformColor);
  ASSERT_FALSE(blue.empty());
  EXPECT_EQ(blue[0], MoveCall(23, kCenter));
  for (int32_t x = 24; x < 63; ++x) {
    // A move to one end followed by a line to the other draws the bar as well.
    int32_t top = 1000, bottom = -1000;
    for (const DrawCall& call : blue) {
      if (call.x == x) {
        top = std::min(top, call.y);
        bottom = std::max(bottom, call.y);
      }
    }
    EXPECT_EQ(top, 30) << "column " << x;
    EXPECT_EQ(bottom, 230) << "column " << x;
  }
}

TEST(SignalWaveform, ItStopsAtTheRightEdgeAndStartsAtTheScrollPosition) {
  std::vector<int16_t> samples(1000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 30);
  SignalViewState state = StateOf(8000, 0, samples);
  state.h_pos = 500;
  CRecordingSurface surface;
  DrawSignalPicture(&surface, state, ClientOf(34));  // columns x = 23 .. 33
  std::vector<DrawCall> blue = surface.CallsInColor(kWaveformColor);
  ASSERT_EQ(blue.size(), 11u);
  EXPECT_EQ(blue[0], MoveCall(23, 130 - 15000 * 100 / 32767));
  EXPECT_EQ(blue[10], LineCall(33, 130 - 15300 * 100 / 32767));

  state.h_pos = -40;  // a position before the start shows the start
  CRecordingSurface from_start;
  DrawSignalPicture(&from_start, state, ClientOf(34));
  ASSERT_FALSE(from_start.CallsInColor(kWaveformColor).empty());
  EXPECT_EQ(from_start.CallsInColor(kWaveformColor)[0], MoveCall(23, 130));
  ASSERT_FALSE(from_start.Labels().empty());
  EXPECT_EQ(from_start.Labels()[0], "0.00");
}

TEST(SignalScroll, MaximumIsTheCountAndPageIsSamplesPerPixelTimesThePlotWidth) {
  std::vector<int16_t> samples(48000, 0);
  SignalViewState state = StateOf(8000, 2, samples);
  SignalScrollUpdate update = UpdateSignalScroll(&state, 424);
  EXPECT_TRUE(update.set_bar);
  EXPECT_TRUE(update.reset_position);  // 48000 differs from the initial 300
  EXPECT_EQ(update.maximum, 48000);
  EXPECT_EQ(update.page, 2000);
  EXPECT_EQ(state.h_max, 48000);
  EXPECT_EQ(state.h_page, 2000);

  state.h_pos = 1000;
  update = UpdateSignalScroll(&state, 424);  // nothing changed: the bar is left alone
  EXPECT_FALSE(update.set_bar);
  EXPECT_EQ(state.h_pos, 1000);

  update = UpdateSignalScroll(&state, 624);  // wider: a new page, the position stays
  EXPECT_TRUE(update.set_bar);
  EXPECT_FALSE(update.reset_position);
  EXPECT_EQ(update.page, 3000);
  EXPECT_EQ(state.h_pos, 1000);

  state.zoom_level = 0;  // finer: 1 sample a pixel
  update = UpdateSignalScroll(&state, 624);
  EXPECT_EQ(update.page, 600);
  EXPECT_FALSE(update.reset_position);

  update = UpdateSignalScroll(&state, 10);  // narrower than the margin: an empty page
  EXPECT_EQ(update.page, 0);
}

TEST(SignalScroll, ANewSignalOfAnotherLengthIsShownFromItsFirstSample) {
  std::vector<int16_t> first(48000, 100);
  SignalViewState state = StateOf(8000, 0, first);
  CRecordingSurface ignored;
  PaintSignalView(&ignored, &state, ClientOf(424));
  state.h_pos = 30000;

  std::vector<int16_t> same_length(48000, -100);
  state.signal_samples = same_length.data();
  SignalScrollUpdate update = PaintSignalView(&ignored, &state, ClientOf(424));
  EXPECT_FALSE(update.reset_position);
  EXPECT_EQ(state.h_pos, 30000);

  std::vector<int16_t> shorter(16000, 0);
  shorter[0] = 32767;  // only the first sample is positive
  state.signal_samples = shorter.data();
  state.signal_count = 16000;
  CRecordingSurface surface;
  update = PaintSignalView(&surface, &state, ClientOf(424));
  EXPECT_TRUE(update.reset_position);
  EXPECT_TRUE(update.set_bar);
  EXPECT_EQ(update.maximum, 16000);
  EXPECT_EQ(state.h_pos, 0);
  // The very paint that noticed the new length already shows sample 0.
  std::vector<DrawCall> blue = surface.CallsInColor(kWaveformColor);
  ASSERT_FALSE(blue.empty());
  EXPECT_EQ(blue[0], MoveCall(23, 30));
  ASSERT_FALSE(surface.Labels().empty());
  EXPECT_EQ(surface.Labels()[0], "0.00");
}

}  // namespace
