#include "editor/export_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/export_texts.h"
#include "files/string.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

std::wstring Wide(const std::string& utf8) {
  CString text;
  text.Assign(utf8.c_str());
  const wchar_t* wide = text.GetWide();
  return wide != nullptr ? std::wstring(wide) : std::wstring();
}

std::wstring WideOf(const char* utf8) { return Wide(utf8); }

TEST(ExportTexts, MessagesNameThePathInBothLanguages) {
  struct Case {
    const char* path;
    int32_t language;
    const char* question;
    const char* failure;
  } cases[] = {
      {"C:\\tones\\a.wav", 0, "C:\\tones\\a.wav has already existed, overwrite ?",
       "C:\\tones\\a.wav could not be written."},
      {"C:\\tones\\a.wav", 1, u8"\"C:\\tones\\a.wav\"は既に存在します。上書きしますか？",
       u8"\"C:\\tones\\a.wav\"を書き込めませんでした。"},
      // A path is text, never a format: "%s" and "%n" in it stay as they are.
      {"50%s%n.wav", 0, "50%s%n.wav has already existed, overwrite ?", "50%s%n.wav could not be written."},
      {u8"音.wav", 1, u8"\"音.wav\"は既に存在します。上書きしますか？", u8"\"音.wav\"を書き込めませんでした。"},
      {"x", 7, "x has already existed, overwrite ?", "x could not be written."},  // not 1: English
  };
  for (const Case& c : cases) {
    std::wstring path = WideOf(c.path);
    EXPECT_EQ(OverwriteQuestion(path.c_str(), c.language), WideOf(c.question)) << c.path;
    EXPECT_EQ(WriteFailureMessage(path.c_str(), c.language), WideOf(c.failure)) << c.path;
  }
  EXPECT_EQ(OverwriteQuestion(nullptr, 0), L" has already existed, overwrite ?");
  EXPECT_EQ(std::wstring(SaveFileCaption(0)), L"Save File");
  EXPECT_EQ(std::wstring(SaveFileCaption(1)), WideOf(u8"ファイル保存"));
}

TEST(ExportTexts, FormatLabelsBrowseFilterAndTitle) {
  const char* english[] = {"Liner-PCM (WAV File)", "G.711(u-law) (RAW File)", "G.711(A-law) (RAW File)"};
  const char* japanese[] = {u8"Liner-PCM (WAV形式)", u8"G.711(u-law) (RAW形式)", u8"G.711(A-law) (RAW形式)"};
  for (int32_t format = 0; format < kExportFormatCount; ++format) {
    EXPECT_EQ(std::wstring(ExportFormatLabel(format, 0)), WideOf(english[format]));
    EXPECT_EQ(std::wstring(ExportFormatLabel(format, 1)), WideOf(japanese[format]));
  }
  EXPECT_EQ(std::wstring(ExportFormatLabel(3, 0)), L"");
  EXPECT_EQ(std::wstring(ExportFormatLabel(-1, 1)), L"");

  std::wstring english_filter(L"WAV files(*.wav)\0*.wav\0All files(*.*)\0*.*\0\0", 43);
  EXPECT_EQ(BrowseFilter(0), english_filter);
  std::wstring japanese_filter = WideOf(u8"WAVファイル(*.wav)") + L'\0' + L"*.wav" + L'\0' +
                                 WideOf(u8"全てのファイル(*.*)") + L'\0' + L"*.*" + L'\0' + L'\0';
  EXPECT_EQ(BrowseFilter(1), japanese_filter);
  EXPECT_EQ(std::wstring(BrowseTitle(0)), L"Save Tone Setting File");
  EXPECT_EQ(std::wstring(BrowseTitle(1)), WideOf(u8"トーンファイルの保存"));
}

// Answers the overwrite question as told and counts what the user would see.
class CScriptedPrompter : public CExportPrompter {
 public:
  explicit CScriptedPrompter(bool agree) : agree_(agree) {}
  bool ConfirmOverwrite(const wchar_t* path) override {
    questions.push_back(path);
    return agree_;
  }
  void ReportWriteFailure(const wchar_t* path) override { failures.push_back(path); }

  std::vector<std::wstring> questions;
  std::vector<std::wstring> failures;

 private:
  bool agree_;
};

const std::vector<int16_t> kSamples = {0, 1, -1, 1000, -1000, 32767, -32768, 12345};
constexpr ExportFormat kFormats[] = {ExportFormat::Wave, ExportFormat::MuLaw, ExportFormat::ALaw};

ExportResult Export(CExportPrompter* prompter, const std::string& path, ExportFormat format,
                    int32_t rate = 8000) {
  std::wstring wide = Wide(path);
  return ExportWithPrompts(prompter, wide.c_str(), format, kSamples.data(),
                           static_cast<int32_t>(kSamples.size()), rate);
}

TEST(ExportFlow, ANewFileIsWrittenWithoutAQuestion) {
  TempDir dir;
  for (ExportFormat format : kFormats) {
    CScriptedPrompter prompter(false);
    std::string path = dir.File("new" + std::to_string(static_cast<int>(format)));
    EXPECT_EQ(Export(&prompter, path, format), ExportResult::Written);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_EQ(ReadAll(path).size(), ExportFileSize(format, 8));
  }
}

TEST(ExportFlow, AnExistingFileIsAskedAboutNoKeepsItAndYesReplacesIt) {
  TempDir dir;
  for (ExportFormat format : kFormats) {
    std::string path = dir.File("existing.wav");
    ASSERT_TRUE(WriteAll(path, "precious"));
    CScriptedPrompter refuse(false);
    EXPECT_EQ(Export(&refuse, path, format), ExportResult::Exists);
    EXPECT_EQ(refuse.questions, std::vector<std::wstring>{Wide(path)});
    EXPECT_TRUE(refuse.failures.empty());  // declining is not a failure
    EXPECT_EQ(ReadAll(path), "precious");

    CScriptedPrompter agree(true);
    EXPECT_EQ(Export(&agree, path, format), ExportResult::Written);
    EXPECT_EQ(agree.questions.size(), 1u);
    EXPECT_TRUE(agree.failures.empty());
    EXPECT_EQ(ReadAll(path).size(), ExportFileSize(format, 8));
  }
}

TEST(ExportFlow, AMissingFolderIsReportedWithoutAQuestionAndLeavesNoFile) {
  TempDir dir;
  for (ExportFormat format : kFormats) {
    CScriptedPrompter prompter(true);
    std::string path = dir.File("no-such-folder/tone.wav");
    EXPECT_EQ(Export(&prompter, path, format), ExportResult::CannotCreate);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(prompter.failures, std::vector<std::wstring>{Wide(path)});
    EXPECT_TRUE(ReadAll(path).empty());
  }
}

TEST(ExportFlow, AFolderInPlaceOfTheFileIsReportedAndStaysAFolder) {
  TempDir dir;
  for (ExportFormat format : kFormats) {
    CScriptedPrompter prompter(true);  // should the folder pass for a file, Yes is answered
    EXPECT_NE(Export(&prompter, dir.path(), format), ExportResult::Written);
    EXPECT_EQ(prompter.failures.size(), 1u);
    std::string inside = dir.File("still-a-folder.txt");
    EXPECT_TRUE(WriteAll(inside, "x"));
  }
}

TEST(ExportFlow, AWavFormatThatCannotBeDescribedIsReportedAndLeavesNoFile) {
  TempDir dir;
  CScriptedPrompter prompter(true);
  std::string path = dir.File("rate0.wav");
  EXPECT_EQ(Export(&prompter, path, ExportFormat::Wave, 0), ExportResult::CannotCreate);
  EXPECT_EQ(prompter.failures.size(), 1u);
  EXPECT_TRUE(ReadAll(path).empty());
}

}  // namespace
