// The waveform view in a real window: what it paints, its scroll bar and its zoom.
#include "editor/signal_view.h"

#include <gtest/gtest.h>

#include <vector>

#include "editor/signal_painter.h"
#include "tests/editor/recording_surface.h"

namespace {

using sonaril_test::CRecordingSurface;
using sonaril_test::DrawCall;

// A visible top-level window holding one signal view.
class SignalViewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"SonarilSignalViewTestHost";
    RegisterClassW(&window_class);  // fails harmlessly when already registered
    host_ = CreateWindowExW(0, L"SonarilSignalViewTestHost", L"signal view", WS_OVERLAPPEDWINDOW, 0, 0, 700,
                            450, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
    ShowWindow(host_, SW_SHOWNOACTIVATE);
    ASSERT_EQ(view_.Create(host_, nullptr, WS_HSCROLL, 0), 1);
    view_.MoveToRect(0, 0, 448, 300);
    GetClientRect(view_.window, &client_);
  }

  void TearDown() override {
    view_.Destroy();
    if (host_ != nullptr) DestroyWindow(host_);
  }

  void Paint() {
    InvalidateRect(view_.window, nullptr, FALSE);
    UpdateWindow(view_.window);
  }

  COLORREF PixelAt(int x, int y) {
    HDC dc = GetDC(view_.window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(view_.window, dc);
    return color;
  }

  SCROLLINFO ScrollBar() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(view_.window, SB_HORZ, &info);
    return info;
  }

  // What the portable painter draws for the view's current state.
  CRecordingSurface Recording() {
    SignalViewState state;
    state.signal_rate = view_.signal_rate;
    state.zoom_level = view_.zoom_level;
    state.signal_count = view_.signal_count;
    state.signal_samples = view_.signal_samples;
    state.h_pos = view_.h_pos;
    state.char_width = view_.char_width;
    state.line_pitch = view_.line_pitch;
    CRecordingSurface surface;
    DrawSignalPicture(&surface, state, DrawRect{client_.left, client_.top, client_.right, client_.bottom});
    return surface;
  }

  HWND host_ = nullptr;
  CSignalView view_;
  RECT client_{};
};

TEST_F(SignalViewWindow, PixelsShowTheWaveformWhereTheRecordingDrawsIt) {
  std::vector<int16_t> samples(48000, 8000);
  view_.zoom_level = 0;
  view_.SetSignal(samples.data(), 48000, 8000);
  Paint();
  std::vector<DrawCall> blue = Recording().CallsInColor(kWaveformColor);
  ASSERT_GE(blue.size(), 3u);
  // A constant signal is one horizontal line: from (23, y) to each next column.
  int32_t y = blue[0].y;
  EXPECT_EQ(blue[1], sonaril_test::LineCall(24, y));
  for (int x : {60, 250, static_cast<int>(client_.right) - 3}) {
    EXPECT_EQ(PixelAt(x, y), kWaveformColor) << "x " << x;
    EXPECT_EQ(PixelAt(x, y - 6), kSignalBackgroundColor) << "x " << x;
  }
  int32_t zero_y = (client_.bottom - 60) / 2 + 30;
  EXPECT_EQ(PixelAt(100, zero_y), kZeroLineColor);
  EXPECT_EQ(PixelAt(100, 30), kPlotBorderColor);
}

TEST_F(SignalViewWindow, TheScrollBarSpansTheSignalAndScrollsInSamples) {
  std::vector<int16_t> samples(48000, 0);
  view_.SetSignal(samples.data(), 48000, 8000);  // zoom level 2: 5 samples a pixel
  Paint();
  int32_t page = 5 * (client_.right - 24);
  SCROLLINFO bar = ScrollBar();
  EXPECT_EQ(bar.nMin, 0);
  EXPECT_EQ(bar.nMax, 48000);
  EXPECT_EQ(static_cast<int32_t>(bar.nPage), page);
  EXPECT_EQ(view_.h_page, page);

  struct Step {
    int request;
    int32_t position;
  } steps[] = {{SB_LINERIGHT, 2}, {SB_LINERIGHT, 4}, {SB_LINELEFT, 2}, {SB_PAGERIGHT, 2 + page},
               {SB_BOTTOM, 48000 - page + 1}, {SB_PAGERIGHT, 48000 - page + 1}, {SB_TOP, 0}, {SB_LINELEFT, 0}};
  for (const Step& step : steps) {
    SendMessageW(view_.window, WM_HSCROLL, MAKEWPARAM(step.request, 0), 0);
    EXPECT_EQ(view_.h_pos, step.position) << "request " << step.request;
    EXPECT_EQ(ScrollBar().nPos, step.position) << "request " << step.request;
  }
}

TEST_F(SignalViewWindow, ANewSignalOfAnotherLengthIsShownFromItsStart) {
  std::vector<int16_t> first(48000, 8000);
  view_.zoom_level = 0;
  view_.SetSignal(first.data(), 48000, 8000);
  Paint();
  view_.SetHorizontalPosition(30000);
  Paint();
  ASSERT_EQ(view_.h_pos, 30000);

  std::vector<int16_t> same_length(48000, 4000);
  view_.SetSignal(same_length.data(), 48000, 8000);
  Paint();
  EXPECT_EQ(view_.h_pos, 30000);

  std::vector<int16_t> shorter(16000, -8000);
  view_.SetSignal(shorter.data(), 16000, 8000);
  Paint();
  EXPECT_EQ(view_.h_pos, 0);
  SCROLLINFO bar = ScrollBar();
  EXPECT_EQ(bar.nPos, 0);
  EXPECT_EQ(bar.nMax, 16000);
  std::vector<DrawCall> blue = Recording().CallsInColor(kWaveformColor);
  ASSERT_FALSE(blue.empty());
  EXPECT_EQ(PixelAt(100, blue[0].y), kWaveformColor);  // already the new signal's level
}

TEST_F(SignalViewWindow, ZoomStopsAtBothEnds) {
  view_.zoom_level = 1;
  EXPECT_TRUE(view_.ZoomIn());
  EXPECT_EQ(view_.zoom_level, 0);
  EXPECT_FALSE(view_.ZoomIn());
  EXPECT_EQ(view_.zoom_level, 0);
  for (int level = 1; level <= 7; ++level) {
    EXPECT_TRUE(view_.ZoomOut());
    EXPECT_EQ(view_.zoom_level, level);
  }
  EXPECT_FALSE(view_.ZoomOut());
  EXPECT_EQ(view_.zoom_level, 7);

  std::vector<int16_t> samples(100000, 0);
  view_.SetSignal(samples.data(), 100000, 8000);
  Paint();
  EXPECT_EQ(static_cast<int32_t>(ScrollBar().nPage), 200 * (client_.right - 24));
}

TEST_F(SignalViewWindow, WithoutASignalOnlyTheFrameGridAndLabelsArePainted) {
  view_.SetSignal(nullptr, 0, 8000);
  Paint();
  EXPECT_EQ(ScrollBar().nMax, 0);
  EXPECT_EQ(view_.signal_count, 0);
  int32_t zero_y = (client_.bottom - 60) / 2 + 30;
  for (int x = 30; x < client_.right - 2; x += 37) {
    EXPECT_NE(PixelAt(x, zero_y), kWaveformColor) << "x " << x;
  }
  EXPECT_EQ(PixelAt(184, 100), kTimeGridColor);
}

}  // namespace
