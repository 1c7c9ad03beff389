#include "config/comm_config.h"

#include <cstring>
#include <memory>
#include <new>

#include "config/config_elements.h"
#include "config/platform_paths.h"
#include "debug/debug_output.h"
#include "files/file.h"
#include "files/file_name.h"

#ifdef _WIN32
const wchar_t kConfigFileName[] = L"\\Sonaril.ini";
#else
const wchar_t kConfigFileName[] = L"/Sonaril.ini";
#endif

namespace {

constexpr ColorPair kDefaultColors[CCommConfig::kColorCount] = {
    {0x000000, 0xFFFFFF},
    {0xC8C8C8, 0xFFFFFF},
};

const ColorLabel kColorLabels[CCommConfig::kColorCount] = {
    {L"Text Color (Normal)", L"通常のテキスト表示", {0, 0}},
    {L"Line Color", L"罫線の色", {1, 1}},
};

// DebugPrint's "%s" needs a text even where the string is empty.
const wchar_t* Printable(CString& text) {
  const wchar_t* wide = text.GetWide();
  return wide != nullptr ? wide : L"";
}

bool EndsWithSeparator(const CString& folder) {
  if (folder.data == nullptr || folder.length == 0) return false;
  char last = folder.data[folder.length - 1];
  return last == '\\' || last == '/';
}

// path := folder + name, where name starts with a separator that is dropped when
// folder already ends in one (a drive or file system root) or is unknown (then
// the bare name stands for the working directory). False when memory runs out.
bool JoinConfigPath(const CString& folder, const CString& name, CString* path) {
  int32_t folder_length = folder.data != nullptr ? folder.length : 0;
  const char* name_bytes = name.data != nullptr ? name.data : "";
  int32_t name_length = name.data != nullptr ? name.length : 0;
  if ((folder_length == 0 || EndsWithSeparator(folder)) && name_length > 0) {
    ++name_bytes;
    --name_length;
  }
  int64_t total = int64_t{folder_length} + name_length;
  if (total >= INT32_MAX) return false;
  std::unique_ptr<char[]> joined(new (std::nothrow) char[static_cast<size_t>(total) + 1]);
  if (!joined) return false;
  if (folder_length > 0) std::memcpy(joined.get(), folder.data, static_cast<size_t>(folder_length));
  if (name_length > 0) std::memcpy(joined.get() + folder_length, name_bytes, static_cast<size_t>(name_length));
  joined[static_cast<size_t>(total)] = 0;
  path->Assign(joined.get(), static_cast<int32_t>(total));
  return path->data != nullptr;
}

}  // namespace

CCommConfig::CCommConfig() {
  CollectPaths();
  temp_path.Assign(current_path);
  log_path.Assign(current_path);
  for (int32_t i = 0; i < kColorCount; ++i) {
    default_colors[i] = kDefaultColors[i];
    colors[i] = kDefaultColors[i];
    color_labels[i] = kColorLabels[i];
  }
}

CCommConfig::~CCommConfig() = default;

const wchar_t* CCommConfig::GetVersion() const { return L"0.0.0.0"; }

const wchar_t* CCommConfig::GetTitle(int32_t) const { return L""; }

const wchar_t* CCommConfig::GetMenuName(int32_t) const { return L""; }

const wchar_t* CCommConfig::GetHelpUrl(int32_t) const { return L""; }

int32_t CCommConfig::GetMenuPosition(const wchar_t*) const { return 0; }

const wchar_t* CCommConfig::GetResourceId(int32_t) const { return L""; }

void CCommConfig::Setup() {}

void CCommConfig::Startup() { Setup(); }

void CCommConfig::CollectPaths() {
  CString executable;
  bool have_executable = QueryExecutablePath(&executable);
  QueryWorkingDirectory(&current_path);
  CFileName executable_name;
  if (have_executable && executable_name.SetPath(executable.data)) {
    app_path.Assign(executable_name.directory);
  } else {
    // Without it the config file would land in the root of the file system.
    app_path.Assign(current_path);
  }
  DebugPrint(L"app_path     = %s\n", Printable(app_path));
  DebugPrint(L"current_path = %s\n", Printable(current_path));
}

void CCommConfig::LocateConfigFile() {
  ini_name.Assign(kConfigFileName);
  CString candidate;
  CFile probe;
  if (JoinConfigPath(current_path, ini_name, &candidate) && probe.OpenRead(candidate)) {
    probe.Close();
    ini_file.Assign(candidate);
  } else {
    JoinConfigPath(app_path, ini_name, &ini_file);
  }
  DebugPrint(L"ini_file = %s\n", Printable(ini_file));
}

bool CCommConfig::Load() {
  CXml document;
  return document.LoadDocument(ini_file, [this, &document](XmlNode* first) { ReadConfig(&document, first); });
}

bool CCommConfig::Save() {
  CXml document;
  bool saved = document.SaveDocument(ini_file, [this, &document](XmlNode* holder) {
    if (WriteConfig(&document, holder)) return;
    // A file missing some settings would lose them at the next start: write nothing.
    FreeTree(holder->child);
    holder->child = nullptr;
  });
  if (!saved) DebugPrint(L"CCommConfig::Save() error\n");
  return saved;
}

void CCommConfig::ReadConfig(CXml*, XmlNode* first) {
  XmlNode* config = FindElement(first, L"config");
  if (config == nullptr) return;
  XmlNode* keys = config->child;
  language = ReadInteger(FindElement(keys, L"language"), -1);
  ReadText(FindElement(keys, L"font_name"), CString(), &font_name);
  font_size = ReadInteger(FindElement(keys, L"font_size"), 0);
  ReadText(FindElement(keys, L"temp_path"), current_path, &temp_path);
  log_enabled = ReadInteger(FindElement(keys, L"log_enabled"), 0);
  ReadText(FindElement(keys, L"log_path"), current_path, &log_path);
  view_toolbar = ReadInteger(FindElement(keys, L"view_toolbar"), 1);
  view_statusbar = ReadInteger(FindElement(keys, L"view_statusbar"), 1);

  XmlNode* color_table = FindElement(keys, L"colors");
  if (color_table == nullptr) return;
  for (XmlNode* entry = color_table->child; entry != nullptr; entry = entry->next) {
    if (entry->name == nullptr || !entry->name->Equals(L"color")) continue;
    int32_t index = ReadInteger(FindElement(entry->child, L"index"), color_count);
    if (index < 0 || index >= color_count) continue;
    const ColorPair& fallback = default_colors[index];
    colors[index].text = static_cast<uint32_t>(
        ReadInteger(FindElement(entry->child, L"text"), static_cast<int32_t>(fallback.text)));
    colors[index].background = static_cast<uint32_t>(
        ReadInteger(FindElement(entry->child, L"background"), static_cast<int32_t>(fallback.background)));
  }
}

bool CCommConfig::WriteConfig(CXml*, XmlNode* holder) {
  XmlNode* config = CreateElement(L"config", nullptr);
  if (config == nullptr) return false;
  AppendChild(holder, config);
  bool complete = AppendInteger(config, L"language", language) &&
                  AppendText(config, L"font_name", font_name) &&
                  AppendInteger(config, L"font_size", font_size) &&
                  AppendText(config, L"temp_path", temp_path) &&
                  AppendInteger(config, L"log_enabled", log_enabled) &&
                  AppendText(config, L"log_path", log_path) &&
                  AppendInteger(config, L"view_toolbar", view_toolbar) &&
                  AppendInteger(config, L"view_statusbar", view_statusbar);
  if (!complete) return false;
  XmlNode* color_table = CreateElement(L"colors", nullptr);
  if (color_table == nullptr) return false;
  AppendChild(config, color_table);
  for (int32_t i = 0; i < color_count; ++i) {
    XmlNode* entry = CreateElement(L"color", nullptr);
    if (entry == nullptr) return false;
    AppendChild(color_table, entry);
    if (!AppendInteger(entry, L"index", i) ||
        !AppendInteger(entry, L"text", static_cast<int32_t>(colors[i].text)) ||
        !AppendInteger(entry, L"background", static_cast<int32_t>(colors[i].background))) {
      return false;
    }
  }
  return true;
}
