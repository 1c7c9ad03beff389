#include "debug/debug_output.h"

#include <gtest/gtest.h>

#include "tests/common/debug_capture.h"

namespace {

std::wstring FormatLine(const wchar_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::wstring line = DebugOutput::Format(format, arguments);
  va_end(arguments);
  return line;
}

TEST(DebugOutput, WithoutTheLibraryEverythingIsSilent) {
  DebugOutput::Bind();
  EXPECT_FALSE(DebugOutput::IsLibraryLoaded());
  EXPECT_EQ(DebugPrint, &DebugOutput::SilentSink);
  EXPECT_EQ(DebugPrint(L"CAppMain::OnInitDialog()\n"), 0);
  DebugOutput::Unbind();
  EXPECT_EQ(DebugPrint, &DebugOutput::SilentSink);
  // Callable after Unbind as well.
  EXPECT_EQ(DebugPrint(L"%d\n", 5), 0);
}

TEST(DebugOutput, PercentSTakesAWideStringOnEveryPlatform) {
  EXPECT_EQ(FormatLine(L"ini_file = %s\n", L"C:\\x\\Sonaril.ini"), L"ini_file = C:\\x\\Sonaril.ini\n");
  EXPECT_EQ(FormatLine(L"%-6s|%d|%x\n", L"ab", -3, 255), L"ab    |-3|ff\n");
  EXPECT_EQ(FormatLine(L"100%% done %s", L"now"), L"100% done now");
  EXPECT_EQ(FormatLine(L"trailing %"), L"trailing ");
  EXPECT_EQ(FormatLine(L"unfinished %-5"), L"unfinished ");
}

TEST(DebugOutput, LongLinesAreNotCut) {
  std::wstring long_text(5000, L'x');
  EXPECT_EQ(FormatLine(L"[%s]", long_text.c_str()), L"[" + long_text + L"]");
}

TEST(DebugOutput, CaptureRecordsExactLines) {
  sonaril_test::DebugCapture capture;
  DebugPrint(L"XML parse error (%d)\n", 17);
  EXPECT_TRUE(capture.Contains("XML parse error (17)\n"));
  ASSERT_EQ(capture.Lines().size(), 1u);
}

}  // namespace
