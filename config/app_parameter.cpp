#include "config/app_parameter.h"

#include "config/config_elements.h"
#include "config/product_version.h"
#include "config/resource_name.h"

// The product's web host; only the paths below it differ per language.
#define SONARIL_WEB_HOST L"https://sonaril.example.com"

namespace {

constexpr int32_t kJapanese = 1;
constexpr uint16_t kJapaneseMenu = 10013;
constexpr uint16_t kEnglishMenu = 10014;

// Every resource the program asks the configuration for by number.
constexpr uint16_t kKnownResources[] = {10011, 10013, 10014, 20001, 20002, 20003, 20004, 20005};

}  // namespace

CAppParameter::~CAppParameter() = default;

const wchar_t* CAppParameter::GetVersion() const { return kProductVersionWide; }

const wchar_t* CAppParameter::GetTitle(int32_t language) const {
  return language == kJapanese ? L"Sonaril - トーン生成ツール" : L"Sonaril - Tone Generator";
}

const wchar_t* CAppParameter::GetMenuName(int32_t language) const {
  return GetResourceId(language == kJapanese ? kJapaneseMenu : kEnglishMenu);
}

const wchar_t* CAppParameter::GetHelpUrl(int32_t language) const {
  return language == kJapanese ? SONARIL_WEB_HOST L"/soft/Sonaril/help" : SONARIL_WEB_HOST L"/en/Sonaril/help";
}

int32_t CAppParameter::GetMenuPosition(const wchar_t*) const { return 0; }

const wchar_t* CAppParameter::GetResourceId(int32_t id) const {
  for (uint16_t known : kKnownResources) {
    if (id == known) return MakeResourceName(known);
  }
  return nullptr;
}

void CAppParameter::Setup() {
  main_class_name.Assign(L"SONARIL MAIN WINDOW");
  child_class_name.Assign(L"SONARIL CHILD WINDOW");
  LocateConfigFile();
}

void CAppParameter::Startup() {
  Setup();
  Load();
}

void CAppParameter::ReadConfig(CXml* document, XmlNode* first) {
  CCommConfig::ReadConfig(document, first);
  XmlNode* config = FindElement(first, L"config");
  if (config == nullptr) return;
  CString empty;
  ReadText(FindElement(config->child, L"mon_device_name"), empty, &mon_device_name);
  ReadText(FindElement(config->child, L"mon_device_id"), empty, &mon_device_id);
  repeat = ReadInteger(FindElement(config->child, L"repeat"), 1);
}

bool CAppParameter::WriteConfig(CXml* document, XmlNode* holder) {
  if (!CCommConfig::WriteConfig(document, holder)) return false;
  XmlNode* config = FindElement(holder->child, L"config");
  if (config == nullptr) {
    config = CreateElement(L"config", nullptr);
    if (config == nullptr) return false;
    AppendChild(holder, config);
  }
  return AppendText(config, L"mon_device_name", mon_device_name) &&
         AppendText(config, L"mon_device_id", mon_device_id) &&
         AppendInteger(config, L"repeat", repeat);
}
