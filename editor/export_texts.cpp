#include "editor/export_texts.h"

namespace {

bool IsJapanese(int32_t language) { return language == 1; }

std::wstring PathText(const wchar_t* path) { return path != nullptr ? path : L""; }

}  // namespace

const wchar_t* ExportFormatLabel(int32_t export_format, int32_t language) {
  static const wchar_t* const kEnglish[kExportFormatCount] = {
      L"Liner-PCM (WAV File)", L"G.711(u-law) (RAW File)", L"G.711(A-law) (RAW File)"};
  static const wchar_t* const kJapanese[kExportFormatCount] = {
      L"Liner-PCM (WAV形式)", L"G.711(u-law) (RAW形式)", L"G.711(A-law) (RAW形式)"};
  if (export_format < 0 || export_format >= kExportFormatCount) return L"";
  return IsJapanese(language) ? kJapanese[export_format] : kEnglish[export_format];
}

std::wstring BrowseFilter(int32_t language) {
  static const wchar_t kEnglish[] = L"WAV files(*.wav)\0*.wav\0All files(*.*)\0*.*\0";
  static const wchar_t kJapanese[] = L"WAVファイル(*.wav)\0*.wav\0全てのファイル(*.*)\0*.*\0";
  // The arrays' own terminator closes the list.
  if (IsJapanese(language)) return std::wstring(kJapanese, sizeof kJapanese / sizeof kJapanese[0]);
  return std::wstring(kEnglish, sizeof kEnglish / sizeof kEnglish[0]);
}

const wchar_t* BrowseTitle(int32_t language) {
  return IsJapanese(language) ? L"トーンファイルの保存" : L"Save Tone Setting File";
}

const wchar_t* SaveFileCaption(int32_t language) {
  return IsJapanese(language) ? L"ファイル保存" : L"Save File";
}

std::wstring OverwriteQuestion(const wchar_t* path, int32_t language) {
  if (IsJapanese(language)) return L"\"" + PathText(path) + L"\"は既に存在します。上書きしますか？";
  return PathText(path) + L" has already existed, overwrite ?";
}

std::wstring WriteFailureMessage(const wchar_t* path, int32_t language) {
  if (IsJapanese(language)) return L"\"" + PathText(path) + L"\"を書き込めませんでした。";
  return PathText(path) + L" could not be written.";
}
