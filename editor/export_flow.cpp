#include "editor/export_flow.h"

ExportResult ExportWithPrompts(CExportPrompter* prompter, const wchar_t* path, ExportFormat format,
                               const int16_t* samples, int32_t count, int32_t sampling_frequency) {
  ExportResult result = WriteExport(path, format, samples, count, sampling_frequency, false);
  if (result == ExportResult::Exists) {
    if (!prompter->ConfirmOverwrite(path)) return result;
    result = WriteExport(path, format, samples, count, sampling_frequency, true);
  }
  if (result != ExportResult::Written) prompter->ReportWriteFailure(path);
  return result;
}
