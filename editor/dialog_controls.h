// Small helpers the edit and export dialogs share for their controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The application icon (10011) at 16x16 as the dialog's small icon.
void SetDialogSmallIcon(HWND dialog);

// Appends text to a drop-down list with value as its item data.
void AddComboEntry(HWND dialog, int combo_id, const wchar_t* text, int32_t value);
// Selects the first entry whose item data is value; no entry is selected when none is.
void SelectComboValue(HWND dialog, int combo_id, int32_t value);
// The item data of the selected entry, or fallback when none is selected.
int32_t SelectedComboValue(HWND dialog, int combo_id, int32_t fallback);

// The field's whole text.
std::wstring FieldText(HWND dialog, int field_id);

// Shows value with "%d".
void ShowFieldNumber(HWND dialog, int field_id, int32_t value);
// Reads at most 63 characters of the field by the edit-field number rule into *value; a
// text that is not a number leaves *value as it was.
void ReadFieldNumber(HWND dialog, int field_id, int32_t* value);

enum class FileNameDialog { Open, Save };
// The system's dialog for one file name (up to 519 characters): Open asks for an existing
// file, Save for a name in an existing folder. filter is the dialog's list of description
// and pattern pairs; default_extension may be null. Empty after Cancel.
std::wstring AskFileName(HWND owner, FileNameDialog kind, const std::wstring& filter,
                         const wchar_t* title, const wchar_t* default_extension);
