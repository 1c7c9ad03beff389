// Loads any bytes as a tone setting file. Whatever loads must also save, and
// the saved file must load back to the same setting.
#include <cstdlib>
#include <string>

#include "files/string.h"
#include "files/tone_file.h"
#include "fuzz/fuzz_input_file.h"

namespace {

bool SameSetting(const ToneSetting& a, const ToneSetting& b) {
  if (a.sampling_frequency != b.sampling_frequency || a.repeat != b.repeat ||
      a.filter_on != b.filter_on || a.fade != b.fade || a.pattern_total != b.pattern_total) {
    return false;
  }
  const PatternStep* s = a.patterns;
  const PatternStep* t = b.patterns;
  for (; s != nullptr && t != nullptr; s = s->next, t = t->next) {
    if (s->on_off != t->on_off || s->time != t->time || s->is_fade != t->is_fade) return false;
  }
  if (s != nullptr || t != nullptr) return false;
  const ToneEntry* u = a.tones;
  const ToneEntry* v = b.tones;
  for (; u != nullptr && v != nullptr; u = u->next, v = v->next) {
    if (u->type != v->type || u->frequency != v->frequency || u->phase != v->phase ||
        u->start_time != v->start_time || u->end_time != v->end_time || u->level != v->level) {
      return false;
    }
  }
  return u == nullptr && v == nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input = WriteFuzzInput("tone", data, size);
  if (input.empty()) return 0;
  CString input_path;
  input_path.Assign(input.c_str());
  ToneSetting loaded;
  if (!LoadToneSetting(loaded, input_path.GetWide())) return 0;

  CString saved_path;
  saved_path.Assign((input + ".saved").c_str());
  if (!SaveToneSetting(loaded, saved_path.GetWide())) std::abort();
  ToneSetting reloaded;
  if (!LoadToneSetting(reloaded, saved_path.GetWide())) std::abort();
  if (!SameSetting(loaded, reloaded)) std::abort();
  return 0;
}
