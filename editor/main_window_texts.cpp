#include "editor/main_window_texts.h"

#include <string>

const ListColumn kStepColumns[kStepColumnCount] = {
    {L"ON/OFF", L"ON/OFF", 100},
    {L"Time", L"時間", 50},
    {L"Fade In / Fade Out", L"フェードイン/フェードアウト", 50},
};

const ListColumn kToneColumns[kToneColumnCount] = {
    {L"TYPE", L"種別", 100},
    {L"Frequency", L"周波数", 50},
    {L"Phase", L"位相", 50},
    {L"Start Time", L"開始時間", 50},
    {L"End Time", L"終了時間", 50},
    {L"Level", L"出力レベル", 50},
};

namespace {

bool IsJapanese(int32_t language) { return language == 1; }

std::wstring Number(int32_t value) { return std::to_wstring(value); }

std::wstring PathText(const wchar_t* path) { return path == nullptr ? std::wstring() : path; }

}  // namespace

const wchar_t* ColumnHeading(const ListColumn& column, int32_t language) {
  return IsJapanese(language) ? column.japanese : column.english;
}

std::array<std::wstring, kStepColumnCount> StepRowTexts(const PatternStep& step) {
  return {StepKindText(step.on_off), Number(step.time), step.is_fade != 0 ? L"ON" : L"OFF"};
}

std::array<std::wstring, kToneColumnCount> ToneRowTexts(const ToneEntry& tone, int32_t language) {
  return {WaveTypeText(tone.type, language), Number(tone.frequency), Number(tone.phase),
          Number(tone.start_time),           Number(tone.end_time),  Number(tone.level)};
}

std::wstring ToneFileFilter(int32_t language) {
  const wchar_t* tone_files =
      IsJapanese(language) ? L"トーン設定ファイル(*.ton)" : L"Tone setting files(*.ton)";
  const wchar_t* all_files = IsJapanese(language) ? L"全てのファイル(*.*)" : L"All files(*.*)";
  std::wstring filter;
  for (const wchar_t* part : {tone_files, L"*.ton", all_files, L"*.*"}) {
    filter += part;
    filter += L'\0';
  }
  filter += L'\0';
  return filter;
}

const wchar_t* OpenToneFileTitle(int32_t language) {
  return IsJapanese(language) ? L"トーン設定ファイルの読み込み" : L"Load Tone Setting File";
}

const wchar_t* SaveToneFileTitle(int32_t language) {
  return IsJapanese(language) ? L"トーン設定ファイルの保存" : L"Save Tone Setting File";
}

std::wstring OpenFailedMessage(const wchar_t* path, int32_t language) {
  if (IsJapanese(language)) {
    return L"\"" + PathText(path) +
           L"\" をトーン設定ファイルとして読み込めませんでした。現在の設定は変更されていません。";
  }
  return PathText(path) +
         L" could not be read as a tone setting file. The current setting is unchanged.";
}

std::wstring SaveFailedMessage(const wchar_t* path, int32_t language) {
  if (IsJapanese(language)) {
    return L"\"" + PathText(path) +
           L"\" を保存できませんでした。以前のファイルは変更されていません。";
  }
  return PathText(path) + L" could not be saved. The previous file is unchanged.";
}

const wchar_t* RefusalText(SynthesisRefusal reason, int32_t language) {
  const bool ja = IsJapanese(language);
  switch (reason) {
    case SynthesisRefusal::None:
      return ja ? L"この設定は生成できます。" : L"The setting can be synthesised.";
    case SynthesisRefusal::SamplingFrequencyNotPositive:
      return ja ? L"サンプリング周波数は 0 Hz より大きくなければなりません。"
                : L"The sampling frequency must be greater than 0 Hz.";
    case SynthesisRefusal::PatternTotalZero:
      return ja ? L"鳴動パターンの合計時間が 0 ms です。" : L"The pattern total is 0 ms.";
    case SynthesisRefusal::NoTones:
      return ja ? L"音色が 1 つもありません。" : L"The setting has no tones.";
    case SynthesisRefusal::ZeroFrequency:
      return ja ? L"周波数が 0 Hz の音色があります。" : L"A tone has a frequency of 0 Hz.";
    case SynthesisRefusal::Overflow:
      return ja ? L"設定が長すぎるか、値が大きすぎるため生成できません。"
                : L"The setting is too long or its values too large to synthesise.";
    case SynthesisRefusal::EmptyPatternCycle:
      return ja ? L"鳴動パターンのステップの長さを合わせても 1 サンプルになりません。"
                : L"The ring pattern's steps add up to no samples.";
    case SynthesisRefusal::NoSamples:
      return ja ? L"この設定からはサンプルが 1 つも生成されません。"
                : L"The setting yields no samples.";
    case SynthesisRefusal::OutOfMemory:
      return ja ? L"サンプルを格納するメモリが足りません。"
                : L"There is not enough memory for the samples.";
  }
  return ja ? L"この設定は生成できません。" : L"The setting cannot be synthesised.";
}

std::wstring CreateToneRefusalMessage(SynthesisRefusal reason, int32_t language) {
  const wchar_t* lead =
      IsJapanese(language) ? L"トーンを生成できません。" : L"The tone cannot be created. ";
  return lead + std::wstring(RefusalText(reason, language));
}

const wchar_t* CreateToneCaption(int32_t language) {
  return IsJapanese(language) ? L"トーン生成" : L"Create Tone";
}
