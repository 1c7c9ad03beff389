#include "synth/tone_setting.h"

const wchar_t* StepKindText(int32_t on_off) {
  switch (on_off) {
    case Off: return L"OFF";
    case On: return L"ON";
    case RampDown: return L"100% -> 0%";
    case RampUp: return L"0% -> 100%";
    default: return L"";
  }
}

const wchar_t* WaveTypeText(int32_t type, int32_t language) {
  static const wchar_t* const kEnglish[] = {L"Sine Wave", L"Square Wave", L"Triangle Wave",
                                            L"Sawtooth Wave"};
  static const wchar_t* const kJapanese[] = {L"正弦波", L"矩形波", L"三角波", L"ノコギリ波"};
  if (type < Sine || type > Sawtooth) return L"";
  return language == 1 ? kJapanese[type] : kEnglish[type];
}
