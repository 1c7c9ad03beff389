// The export dialog and the export's message boxes, driven for real in both languages.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/dialog.h"
#include "cli/cli_commands.h"
#include "editor/tone_file_dialog.h"
#include "editor/tone_save.h"
#include "files/string.h"
#include "files/tone_export.h"
#include "files/tone_file.h"
#include "resources/resource_ids.h"
#include "synth/synthesize_tone.h"
#include "tests/common/modal_driver.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::CModalDriver;
using sonaril_test::ComboContents;
using sonaril_test::DefaultButton;
using sonaril_test::ItemText;
using sonaril_test::MessageBoxText;
using sonaril_test::Press;
using sonaril_test::ReadAll;
using sonaril_test::ReadCombo;
using sonaril_test::TempDir;
using sonaril_test::TestDataPath;
using sonaril_test::Wide;
using sonaril_test::WindowText;
using sonaril_test::WriteAll;

struct LanguageTexts {
  int language;
  const char* dialog_caption;
  const char* labels[3];
  const char* box_caption;
  const char* browse_title;
};

const LanguageTexts kLanguages[] = {
    {0, "Save Tone File", {"Liner-PCM (WAV File)", "G.711(u-law) (RAW File)", "G.711(A-law) (RAW File)"},
     "Save File", "Save Tone Setting File"},
    {1, u8"トーンファイルの保存", {u8"Liner-PCM (WAV形式)", u8"G.711(u-law) (RAW形式)", u8"G.711(A-law) (RAW形式)"},
     u8"ファイル保存", u8"トーンファイルの保存"},
};

std::wstring Question(const std::wstring& path, int language) {
  return language == 1 ? L"\"" + path + L"\"" + Wide(u8"は既に存在します。上書きしますか？")
                       : path + L" has already existed, overwrite ?";
}

std::wstring Failure(const std::wstring& path, int language) {
  return language == 1 ? L"\"" + path + L"\"" + Wide(u8"を書き込めませんでした。")
                       : path + L" could not be written.";
}

class CLanguageScope {
 public:
  explicit CLanguageScope(int language) {
    app_config = &config_;
    config_.current_language = language;
  }
  ~CLanguageScope() { app_config = nullptr; }

 private:
  CAppParameter config_;
};

std::string Utf8(const std::wstring& wide) {
  CString text(wide.c_str());
  return text.data != nullptr ? std::string(text.data, static_cast<size_t>(text.length)) : std::string();
}

const std::vector<int16_t> kSamples = {0, 1, -1, 500, -500, 32767, -32768, 4321, -4321, 77};
constexpr int32_t kCount = 10;

std::string ReferenceExport(const TempDir& dir, ExportFormat format) {
  std::wstring path = Wide(dir.File("reference.bin").c_str());
  EXPECT_EQ(WriteExport(path.c_str(), format, kSamples.data(), kCount, 8000, true), ExportResult::Written);
  return ReadAll(dir.File("reference.bin"));
}

// What a message box showed.
struct BoxSeen {
  std::wstring text;
  int default_button = 0;
  bool seen = false;
};

constexpr int kEnterKey = 0;

// Reads the box, then clicks button, or with kEnterKey presses Enter where the focus is.
CModalDriver::Action Answer(BoxSeen* seen, int button) {
  return [seen, button](HWND box) {
    seen->seen = true;
    seen->text = MessageBoxText(box);
    seen->default_button = DefaultButton(box);
    if (button != kEnterKey) {
      Press(box, button);
      return;
    }
    HWND focus = GetFocus();
    PostMessageW(focus != nullptr ? focus : box, WM_KEYDOWN, VK_RETURN, 0);
  };
}

void SaveIn(ExportFormat format, const std::wstring& path) {
  if (format == ExportFormat::Wave) SaveWaveFile(nullptr, path.c_str(), kSamples.data(), kCount, 8000);
  else if (format == ExportFormat::MuLaw) SaveG711File(nullptr, path.c_str(), G711Law::MuLaw, kSamples.data(), kCount);
  else SaveG711File(nullptr, path.c_str(), G711Law::ALaw, kSamples.data(), kCount);
}

constexpr ExportFormat kFormats[] = {ExportFormat::Wave, ExportFormat::MuLaw, ExportFormat::ALaw};

TEST(ExportMessages, TheOverwriteQuestionNamesTheFileDefaultsToNoAndNoKeepsTheFile) {
  TempDir dir;
  for (const LanguageTexts& texts : kLanguages) {
    for (ExportFormat format : kFormats) {
      CLanguageScope scope(texts.language);
      std::string path = dir.File("existing.wav");
      ASSERT_TRUE(WriteAll(path, "keep these bytes"));
      std::wstring wide = Wide(path.c_str());
      BoxSeen question;
      CModalDriver driver;
      // Enter answers as No does.
      driver.Expect(Wide(texts.box_caption), Answer(&question, format == ExportFormat::Wave ? kEnterKey : IDNO));
      driver.Run([&] { SaveIn(format, wide); });
      EXPECT_TRUE(driver.AllHandled());
      EXPECT_TRUE(driver.unexpected().empty());  // no failure message after No
      EXPECT_EQ(question.text, Question(wide, texts.language));
      EXPECT_EQ(question.default_button, IDNO);
      EXPECT_EQ(ReadAll(path), "keep these bytes");
    }
  }
}

TEST(ExportMessages, YesReplacesTheExistingFile) {
  TempDir dir;
  for (const LanguageTexts& texts : kLanguages) {
    for (ExportFormat format : kFormats) {
      CLanguageScope scope(texts.language);
      std::string path = dir.File("replace.bin");
      ASSERT_TRUE(WriteAll(path, std::string(5000, 'z')));  // longer than the export
      BoxSeen question;
      CModalDriver driver;
      driver.Expect(Wide(texts.box_caption), Answer(&question, IDYES));
      driver.Run([&] { SaveIn(format, Wide(path.c_str())); });
      EXPECT_TRUE(question.seen);
      EXPECT_TRUE(driver.unexpected().empty());
      EXPECT_EQ(ReadAll(path), ReferenceExport(dir, format));
    }
  }
}

TEST(ExportMessages, AMissingFolderGivesTheErrorMessageAndNoFile) {
  TempDir dir;
  for (const LanguageTexts& texts : kLanguages) {
    for (ExportFormat format : kFormats) {
      CLanguageScope scope(texts.language);
      std::string path = dir.File("no-such-folder\\tone.wav");
      std::wstring wide = Wide(path.c_str());
      BoxSeen failure;
      CModalDriver driver;
      driver.Expect(Wide(texts.box_caption), Answer(&failure, IDOK));
      driver.Run([&] { SaveIn(format, wide); });
      EXPECT_TRUE(driver.unexpected().empty());  // one box only: no overwrite question
      EXPECT_EQ(failure.text, Failure(wide, texts.language));
      EXPECT_TRUE(ReadAll(path).empty());
      EXPECT_EQ(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
    }
  }
}

// The window's save functions and sonaril-cli write the same bytes for the same setting.
TEST(ExportMessages, SavedFilesAreByteIdenticalToTheCommandLineTool) {
  TempDir dir;
  CLanguageScope scope(0);
  std::string setting_path = TestDataPath("../../examples/busy-japan.ton");
  ToneSetting setting;
  ASSERT_TRUE(LoadToneSetting(setting, Wide(setting_path.c_str()).c_str()));
  std::vector<int16_t> samples;
  ASSERT_EQ(SynthesizeTone(setting, setting.sampling_frequency, setting.repeat, setting.filter_on != 0, &samples),
            SynthesisRefusal::None);
  int32_t count = static_cast<int32_t>(samples.size());
  const char* names[] = {"wav", "mulaw", "alaw"};
  for (int i = 0; i < 3; ++i) {
    std::string window_path = dir.File(std::string("window.") + names[i]);
    std::wstring wide = Wide(window_path.c_str());
    CModalDriver driver;
    driver.Run([&] {
      if (i == 0) SaveWaveFile(nullptr, wide.c_str(), samples.data(), count, setting.sampling_frequency);
      else SaveG711File(nullptr, wide.c_str(), i == 1 ? G711Law::MuLaw : G711Law::ALaw, samples.data(), count);
    });
    EXPECT_TRUE(driver.unexpected().empty());
    std::string tool_path = dir.File(std::string("tool.") + names[i]);
    std::FILE* sink = std::fopen(dir.File("cli.txt").c_str(), "wb");
    ASSERT_NE(sink, nullptr);
    ASSERT_EQ(RunCli({"render", setting_path, "-o", tool_path, "--format", names[i]}, sink, sink), kExitSuccess);
    std::fclose(sink);
    std::string written = ReadAll(window_path);
    EXPECT_EQ(written.size(), i == 0 ? 56u + 2u * samples.size() : samples.size());
    EXPECT_EQ(written, ReadAll(tool_path)) << names[i];
  }
}

TEST(ExportDialog, OpensWithAnEmptyNameAndTheWavFormatEveryTime) {
  TempDir dir;
  for (const LanguageTexts& texts : kLanguages) {
    CLanguageScope scope(texts.language);
    std::string path = dir.File(std::string("first-") + std::to_string(texts.language) + ".al");
    std::vector<ComboContents> formats;
    std::vector<std::wstring> names;
    std::vector<int> defaults;
    auto look = [&](HWND dialog) {
      formats.push_back(ReadCombo(dialog, IDC_EXPORT_FORMAT));
      names.push_back(ItemText(dialog, IDC_EXPORT_FILE_NAME));
      defaults.push_back(DefaultButton(dialog));
    };
    CModalDriver first;
    first.Expect(Wide(texts.dialog_caption), [&](HWND dialog) {
      look(dialog);
      SetDlgItemTextW(dialog, IDC_EXPORT_FILE_NAME, Wide(path.c_str()).c_str());
      SendDlgItemMessageW(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, 2, 0);
      Press(dialog, IDOK);
    });
    first.Run([&] { RunToneExport(nullptr, kSamples.data(), kCount, 8000); });
    EXPECT_TRUE(first.AllHandled());
    EXPECT_TRUE(first.unexpected().empty());
    EXPECT_EQ(ReadAll(path), ReferenceExport(dir, ExportFormat::ALaw));

    CModalDriver second;
    second.Expect(Wide(texts.dialog_caption), [&](HWND dialog) {
      look(dialog);
      Press(dialog, IDCANCEL);
    });
    second.Run([&] { RunToneExport(nullptr, kSamples.data(), kCount, 8000); });
    EXPECT_TRUE(second.AllHandled());

    ASSERT_EQ(formats.size(), 2u);
    std::vector<std::wstring> labels;
    for (const char* label : texts.labels) labels.push_back(Wide(label));
    for (int opening = 0; opening < 2; ++opening) {
      EXPECT_EQ(formats[opening].texts, labels);
      EXPECT_EQ(formats[opening].data, (std::vector<LRESULT>{0, 1, 2}));
      EXPECT_EQ(formats[opening].selected, 0) << "opening " << opening;
      EXPECT_EQ(names[opening], L"") << "opening " << opening;
      EXPECT_EQ(defaults[opening], IDCANCEL);
    }
  }
}

TEST(ExportDialog, EveryFormatWritesItsFileAndCancelOrAnEmptyNameWriteNothing) {
  TempDir dir;
  CLanguageScope scope(0);
  struct Case {
    int index;            // format entry selected
    const char* name;     // typed; null: left empty
    int button;
    ExportFormat format;  // what the file must hold
    bool written;
  } cases[] = {
      {0, "a.wav", IDOK, ExportFormat::Wave, true},
      {1, "b.wav", IDOK, ExportFormat::MuLaw, true},  // a raw export keeps a .wav name unchanged
      {2, "c", IDOK, ExportFormat::ALaw, true},       // no extension is added
      {1, "d.ul", IDCANCEL, ExportFormat::MuLaw, false},
      {0, nullptr, IDOK, ExportFormat::Wave, false},
  };
  for (const Case& c : cases) {
    std::string path = c.name != nullptr ? dir.File(c.name) : std::string();
    CModalDriver driver;
    driver.Expect(L"Save Tone File", [&](HWND dialog) {
      if (c.name != nullptr) SetDlgItemTextW(dialog, IDC_EXPORT_FILE_NAME, Wide(path.c_str()).c_str());
      SendDlgItemMessageW(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(c.index), 0);
      Press(dialog, c.button);
    });
    driver.Run([&] { RunToneExport(nullptr, kSamples.data(), kCount, 8000); });
    EXPECT_TRUE(driver.AllHandled());
    EXPECT_TRUE(driver.unexpected().empty());  // no message box in any of these
    if (c.name != nullptr) {
      EXPECT_EQ(ReadAll(path), c.written ? ReferenceExport(dir, c.format) : std::string()) << c.name;
    }
  }
}

TEST(ExportDialog, ALongTypedNameIsTakenWhole) {
  CLanguageScope scope(0);
  for (size_t length : {520u, 521u, 1000u}) {
    std::wstring name = L"C:\\" + std::wstring(length - 9, L'n') + L"\\x.wav";
    ASSERT_EQ(name.size(), length);
    CToneFileDialog dialog;
    CModalDriver driver;
    driver.Expect(L"Save Tone File", [&](HWND window) {
      SetDlgItemTextW(window, IDC_EXPORT_FILE_NAME, name.c_str());
      Press(window, IDOK);
    });
    INT_PTR result = driver.Run([&] { return OpenModalDialog(&dialog, nullptr, IDD_EXPORT_JA); });
    EXPECT_EQ(result, 1);
    const wchar_t* taken = dialog.file_name.GetWide();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(std::wstring(taken), name) << length << " characters";
    EXPECT_EQ(dialog.export_format, 0);
  }
}

TEST(ExportDialog, BrowsingPutsTheChosenNameIntoTheField) {
  TempDir dir;
  for (const LanguageTexts& texts : kLanguages) {
    CLanguageScope scope(texts.language);
    std::wstring chosen = Wide(dir.File("browsed.wav").c_str());
    std::wstring field_text;
    CModalDriver driver;
    driver.Expect(Wide(texts.dialog_caption), [&](HWND dialog) { Press(dialog, IDC_EXPORT_BROWSE); });
    driver.Expect(Wide(texts.browse_title), [&](HWND browser) {
      // The name box of the save dialog (a combo box's edit or a plain edit).
      HWND name_box = GetDlgItem(browser, 0x47C);  // cmb13
      if (name_box == nullptr) name_box = GetDlgItem(browser, 0x480);  // edt1
      SetWindowTextW(name_box, chosen.c_str());
      Press(browser, IDOK);
    });
    auto name_filled = [](HWND dialog) {
      return GetDlgItem(dialog, IDC_EXPORT_FILE_NAME) != nullptr && !ItemText(dialog, IDC_EXPORT_FILE_NAME).empty();
    };
    driver.ExpectAgain(Wide(texts.dialog_caption), name_filled, [&](HWND dialog) {
      field_text = ItemText(dialog, IDC_EXPORT_FILE_NAME);
      Press(dialog, IDCANCEL);
    });
    driver.Run([&] { RunToneExport(nullptr, kSamples.data(), kCount, 8000); });
    EXPECT_TRUE(driver.AllHandled());
    EXPECT_FALSE(driver.timed_out());
    EXPECT_EQ(Utf8(field_text).size() >= 11 ? Utf8(field_text).substr(Utf8(field_text).size() - 11) : "",
              "browsed.wav");
  }
}

}  // namespace
