// Sonaril's own configuration: its window class names, version, titles, menus,
// help address and resource ids, and the three settings the main window keeps
// across runs (output device and Repeat Play).
#pragma once

#include <cstdint>

#include "config/comm_config.h"

class CAppParameter : public CCommConfig {
 public:
  CAppParameter() = default;
  ~CAppParameter() override;

  // Language 1 gives the Japanese value, any other language the English one.
  const wchar_t* GetVersion() const override;
  const wchar_t* GetTitle(int32_t language) const override;
  const wchar_t* GetMenuName(int32_t language) const override;
  const wchar_t* GetHelpUrl(int32_t language) const override;
  int32_t GetMenuPosition(const wchar_t* submenu_name) const override;
  // The id itself, made by MakeResourceName, for the program's icons and menus
  // (10011, 10013, 10014, 20001 to 20005); null for any other id.
  const wchar_t* GetResourceId(int32_t id) const override;
  // Sets the window class names and chooses the config file.
  void Setup() override;
  // Setup, then Load.
  void Startup() override;
  void ReadConfig(CXml* document, XmlNode* first) override;
  bool WriteConfig(CXml* document, XmlNode* holder) override;

  CString mon_device_name;  // output device last chosen in the main window
  CString mon_device_id;    // that device's identifying text from the renderer
  // Repeat Play: nonzero means on. Off until a config file is loaded; a
  // "config" element without "repeat" turns it on.
  int32_t repeat = 0;
};
