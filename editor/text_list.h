// Report-style list views of texts, and UTF-8 texts for the platform's wide calls: what the
// tone library and recording check dialogs share.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TextColumn {
  const wchar_t* english;
  const wchar_t* japanese;
  int width;  // dialog units, so that columns grow with the dialog's font and DPI
};

// Grid lines, full-row selection and the columns in the given language.
void SetUpTextColumns(HWND dialog, int list_id, const std::vector<TextColumn>& columns, int32_t language);
// Appends a row of UTF-8 cells.
void AddTextRow(HWND dialog, int list_id, const std::vector<std::string>& cells);
// The first selected row, or -1.
int SelectedTextRow(HWND dialog, int list_id);

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
