#include "editor/tone_save.h"

#include <string>

#include "app/app_config.h"
#include "editor/export_flow.h"
#include "editor/export_texts.h"
#include "editor/tone_file_dialog.h"
#include "resources/resource_ids.h"

namespace {

// The export's questions and reports as message boxes owned by the main window.
class CMessageBoxPrompter : public CExportPrompter {
 public:
  CMessageBoxPrompter(HWND owner, int language) : owner_(owner), language_(language) {}

  bool ConfirmOverwrite(const wchar_t* path) override {
    std::wstring text = OverwriteQuestion(path, language_);
    return MessageBoxW(owner_, text.c_str(), SaveFileCaption(language_),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }

  void ReportWriteFailure(const wchar_t* path) override {
    std::wstring text = WriteFailureMessage(path, language_);
    MessageBoxW(owner_, text.c_str(), SaveFileCaption(language_), MB_OK | MB_ICONERROR);
  }

 private:
  HWND owner_;
  int language_;
};

void Save(HWND owner, const wchar_t* path, ExportFormat format, const int16_t* samples, int32_t count,
          int32_t sampling_frequency) {
  CMessageBoxPrompter prompter(owner, CurrentLanguage());
  ExportWithPrompts(&prompter, path, format, samples, count, sampling_frequency);
}

}  // namespace

void SaveWaveFile(HWND owner, const wchar_t* path, const int16_t* samples, int32_t count,
                  int32_t sampling_frequency) {
  Save(owner, path, ExportFormat::Wave, samples, count, sampling_frequency);
}

void SaveG711File(HWND owner, const wchar_t* path, G711Law law, const int16_t* samples, int32_t count) {
  // A raw file records no rate: the writer ignores it.
  Save(owner, path, law == G711Law::ALaw ? ExportFormat::ALaw : ExportFormat::MuLaw, samples, count, 8000);
}

void RunToneExport(HWND owner, const int16_t* samples, int32_t count, int32_t sampling_frequency) {
  CToneFileDialog dialog;
  if (OpenModalDialog(&dialog, owner, IDD_EXPORT_JA) != 1) return;
  const wchar_t* path = dialog.file_name.GetWide();
  if (path == nullptr || path[0] == L'\0') return;
  switch (dialog.export_format) {
    case 0: SaveWaveFile(owner, path, samples, count, sampling_frequency); break;
    case 1: SaveG711File(owner, path, G711Law::MuLaw, samples, count); break;
    case 2: SaveG711File(owner, path, G711Law::ALaw, samples, count); break;
    default: break;
  }
}
