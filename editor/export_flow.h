// One export as the user sees it: the file is written; an existing file is replaced only
// after the user agrees; any failure is reported. The questions and reports go through a
// CExportPrompter, message boxes in the window.
#pragma once
#include <cstdint>

#include "files/tone_export.h"

class CExportPrompter {
 public:
  virtual ~CExportPrompter() = default;
  // True when the existing file at path may be replaced.
  virtual bool ConfirmOverwrite(const wchar_t* path) = 0;
  // Tells the user that path could not be written (whole).
  virtual void ReportWriteFailure(const wchar_t* path) = 0;
};

// Writes count samples at sampling_frequency to path in format. The question comes only
// when the file really exists; declining it leaves the file untouched and reports nothing.
// Every other outcome but Written is reported. Returns what happened last.
ExportResult ExportWithPrompts(CExportPrompter* prompter, const wchar_t* path, ExportFormat format,
                               const int16_t* samples, int32_t count, int32_t sampling_frequency);
