#include "files/tone_file.h"

#include <cwchar>
#include <new>

#include "files/xml_document.h"

namespace {

bool IsNamed(const XmlNode* node, const wchar_t* name) {
  return node->name != nullptr && node->name->Equals(name);
}

// Appends the new steps behind a tail pointer and sums them once at the end,
// so a file with very many steps loads in linear time.
void ReadSteps(ToneSetting& setting, const XmlNode* patterns) {
  PatternStep** link = &setting.patterns;
  while (*link != nullptr) link = &(*link)->next;
  bool appended = false;
  for (const XmlNode* node = patterns->child; node != nullptr; node = node->next) {
    if (!IsNamed(node, L"pattern")) continue;
    PatternStep* step = new (std::nothrow) PatternStep;
    if (step == nullptr) continue;
    step->on_off = GetInt(FindElement(node->child, L"on_off"), 1);
    step->time = GetInt(FindElement(node->child, L"time"), -1);
    step->is_fade = GetInt(FindElement(node->child, L"is_fade"), 0) != 0 ? 1 : 0;
    *link = step;
    link = &step->next;
    appended = true;
  }
  if (appended) setting.RecomputePatternTotal();
}

void ReadTones(ToneSetting& setting, const XmlNode* tones) {
  ToneEntry** link = &setting.tones;
  while (*link != nullptr) link = &(*link)->next;
  for (const XmlNode* node = tones->child; node != nullptr; node = node->next) {
    if (!IsNamed(node, L"tone")) continue;
    ToneEntry* tone = new (std::nothrow) ToneEntry;
    if (tone == nullptr) continue;
    tone->type = GetInt(FindElement(node->child, L"type"), 0);
    tone->frequency = GetInt(FindElement(node->child, L"frequency"), 1000);
    tone->phase = GetInt(FindElement(node->child, L"phase"), 0);
    tone->start_time = GetInt(FindElement(node->child, L"start_time"), 0);
    tone->end_time = GetInt(FindElement(node->child, L"end_time"), -1);
    tone->level = GetInt(FindElement(node->child, L"level"), 100);
    *link = tone;
    link = &tone->next;
  }
}

// Builds elements under one parent, keeping the last child so long lists are
// appended in linear time. Remembers whether any element could not be made.
class CElementAppender {
 public:
  explicit CElementAppender(XmlNode* parent) : parent_(parent), last_(parent->child) {
    while (last_ != nullptr && last_->next != nullptr) last_ = last_->next;
    kept_last_ = last_;
  }

  XmlNode* Add(const wchar_t* name, const wchar_t* text) {
    XmlNode* element = CreateElement(name, text);
    if (element == nullptr) {
      complete = false;
      return nullptr;
    }
    if (last_ == nullptr) {
      parent_->child = element;
    } else {
      last_->next = element;
    }
    last_ = element;
    return element;
  }

  void AddNumber(const wchar_t* name, int32_t value) {
    wchar_t text[16];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", value);
    Add(name, text);
  }

  // Frees every element added through this appender; the parent's older
  // children stay.
  void Discard() {
    XmlNode** link = kept_last_ == nullptr ? &parent_->child : &kept_last_->next;
    FreeTree(*link);
    *link = nullptr;
    last_ = kept_last_;
  }

  bool complete = true;

 private:
  XmlNode* parent_;
  XmlNode* last_;
  XmlNode* kept_last_;  // the parent's last child before this appender added any
};

bool BuildSteps(const ToneSetting& setting, XmlNode* patterns) {
  CElementAppender steps(patterns);
  bool complete = true;
  for (const PatternStep* step = setting.patterns; step != nullptr; step = step->next) {
    XmlNode* pattern = steps.Add(L"pattern", nullptr);
    if (pattern == nullptr) return false;
    CElementAppender values(pattern);
    values.AddNumber(L"on_off", step->on_off);
    values.AddNumber(L"time", step->time);
    values.AddNumber(L"is_fade", step->is_fade != 0 ? 1 : 0);
    complete = complete && values.complete;
  }
  return complete;
}

bool BuildTones(const ToneSetting& setting, XmlNode* tones) {
  CElementAppender entries(tones);
  bool complete = true;
  for (const ToneEntry* tone = setting.tones; tone != nullptr; tone = tone->next) {
    XmlNode* element = entries.Add(L"tone", nullptr);
    if (element == nullptr) return false;
    CElementAppender values(element);
    values.AddNumber(L"type", tone->type);
    values.AddNumber(L"frequency", tone->frequency);
    values.AddNumber(L"phase", tone->phase);
    values.AddNumber(L"start_time", tone->start_time);
    values.AddNumber(L"end_time", tone->end_time);
    values.AddNumber(L"level", tone->level);
    complete = complete && values.complete;
  }
  return complete;
}

// setting.path := path in UTF-8, empty when it has no text.
void StorePath(ToneSetting& setting, const CString& path) {
  if (path.data != nullptr) {
    setting.path.assign(path.data, static_cast<size_t>(path.length));
  } else {
    setting.path.clear();
  }
}

}  // namespace

void ReadToneTree(ToneSetting& setting, XmlNode* first) {
  setting.sampling_frequency =
      GetInt(FindElement(first, L"sampling_frequency"), kToneFileDefaultSamplingFrequency);
  setting.repeat = GetInt(FindElement(first, L"repeat"), kToneFileDefaultRepeat);
  setting.filter_on = GetInt(FindElement(first, L"filter_on"), 0) != 0 ? 1 : 0;
  setting.fade = GetInt(FindElement(first, L"fade"), kToneFileDefaultFade);
  if (const XmlNode* patterns = FindElement(first, L"patterns")) ReadSteps(setting, patterns);
  if (const XmlNode* tones = FindElement(first, L"tones")) ReadTones(setting, tones);
}

bool BuildToneTree(const ToneSetting& setting, XmlNode* holder) {
  CElementAppender top(holder);
  top.AddNumber(L"sampling_frequency", setting.sampling_frequency);
  top.AddNumber(L"repeat", setting.repeat);
  top.AddNumber(L"filter_on", setting.filter_on != 0 ? 1 : 0);
  if (setting.fade != kToneFileDefaultFade) top.AddNumber(L"fade", setting.fade);
  XmlNode* patterns = top.Add(L"patterns", nullptr);
  XmlNode* tones = top.Add(L"tones", nullptr);
  bool complete = top.complete && BuildSteps(setting, patterns) && BuildTones(setting, tones);
  // A file missing some steps or tones must not replace a good one.
  if (!complete) top.Discard();
  return complete;
}

bool LoadToneSetting(ToneSetting& setting, const wchar_t* path) {
  if (path == nullptr) return false;
  CString file_path(path);
  StorePath(setting, file_path);
  CXml xml;
  return xml.LoadDocument(file_path, [&setting](XmlNode* first) { ReadToneTree(setting, first); });
}

bool SaveToneSetting(ToneSetting& setting, const wchar_t* path) {
  if (path != nullptr) {
    StorePath(setting, CString(path));
  } else if (setting.path.empty()) {
    return false;
  }
  CString file_path;
  file_path.Assign(setting.path.c_str(), static_cast<int32_t>(setting.path.size()));
  CXml xml;
  return xml.SaveDocument(file_path, [&setting](XmlNode* holder) { BuildToneTree(setting, holder); });
}
