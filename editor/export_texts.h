// The export's texts in both languages: the format list, the browse dialog, and the two
// messages about the file. Language 1 gives Japanese, any other value English.
#pragma once
#include <cstdint>
#include <string>

#include "files/tone_export.h"

constexpr int32_t kExportFormatCount = 3;

// The label of an export format in the format list; "" for a value outside 0..2.
const wchar_t* ExportFormatLabel(int32_t export_format, int32_t language);

// The browse dialog's filter: pairs of description and pattern, each ending in a 0
// character, the whole list in one more (so it may not be read as a plain C string).
std::wstring BrowseFilter(int32_t language);
const wchar_t* BrowseTitle(int32_t language);

// Caption of both messages: "Save File" / "ファイル保存".
const wchar_t* SaveFileCaption(int32_t language);
// "<path> has already existed, overwrite ?" / "\"<path>\"は既に存在します。上書きしますか？"
std::wstring OverwriteQuestion(const wchar_t* path, int32_t language);
// "<path> could not be written." / "\"<path>\"を書き込めませんでした。"
std::wstring WriteFailureMessage(const wchar_t* path, int32_t language);
