// The program's persistent settings and the paths the window framework needs,
// kept in one small XML file, the config file "Sonaril.ini". The product's own
// values and keys come from the derived class CAppParameter.
#pragma once

#include <cstdint>

#include "files/string.h"
#include "files/xml_document.h"

// Two colours in the platform's COLORREF layout (0x00BBGGRR).
struct ColorPair {
  uint32_t text;
  uint32_t background;
};

// Display names of one colour entry in both languages.
struct ColorLabel {
  const wchar_t* english;
  const wchar_t* japanese;
  int32_t flags[2];  // carried with each label; nothing reads them yet
};

// Platform separator + file name: "\Sonaril.ini" on Windows, "/Sonaril.ini" elsewhere.
extern const wchar_t kConfigFileName[];

class CCommConfig {
 public:
  static constexpr int32_t kColorCount = 2;

  // Collects the executable's folder and the working directory; every setting
  // takes its initial value. The config file is chosen later by Setup.
  CCommConfig();
  virtual ~CCommConfig();
  CCommConfig(const CCommConfig&) = delete;
  CCommConfig& operator=(const CCommConfig&) = delete;

  // Product values; this class answers "0.0.0.0" and empty texts.
  virtual const wchar_t* GetVersion() const;
  virtual const wchar_t* GetTitle(int32_t language) const;
  // A resource name: a text, or an integer id made by MakeResourceName.
  virtual const wchar_t* GetMenuName(int32_t language) const;
  virtual const wchar_t* GetHelpUrl(int32_t language) const;
  virtual int32_t GetMenuPosition(const wchar_t* submenu_name) const;
  // A resource name: a text, an integer id made by MakeResourceName, or null.
  virtual const wchar_t* GetResourceId(int32_t id) const;
  // Fills in the product's names and chooses the config file; nothing here.
  virtual void Setup();
  // Reads the config file into the settings. False when the file is missing
  // or cannot be parsed; then every setting keeps its value.
  virtual bool Load();
  // Writes every setting to ini_file. False when the file could not be
  // written whole; the previous file then stays as it was.
  virtual bool Save();
  // Setup, and for the product also Load.
  virtual void Startup();
  // Takes the values of the first top-level element named "config" among
  // first and its siblings; without one nothing changes.
  virtual void ReadConfig(CXml* document, XmlNode* first);
  // Appends a "config" element holding every setting to holder. False when
  // memory ran out and some setting is missing from it.
  virtual bool WriteConfig(CXml* document, XmlNode* holder);

  // ini_file := the config file in the working directory when one exists
  // there, otherwise the one beside the executable (existing or not).
  void LocateConfigFile();
  // app_path and current_path from the platform. When the executable's path
  // cannot be had, app_path is the working directory.
  void CollectPaths();

  CString main_class_name;   // window class of the main window (single-instance search)
  CString child_class_name;  // window class of the child views
  CString current_path;      // working directory at construction
  CString app_path;          // folder of the executable, without a trailing separator
  CString ini_file;          // full path of the config file; empty until LocateConfigFile
  CString ini_name;          // kConfigFileName; empty until LocateConfigFile
  int32_t current_language = 0;  // language of this run: 0 English, 1 Japanese
  int32_t language = -1;         // stored choice: 0 English, 1 Japanese, -1 not chosen
  CString font_name;             // child view face name; empty lets the view choose
  int32_t font_size = 0;         // child view font height; 0 lets the view choose
  CString temp_path;             // kept and written back
  int32_t log_enabled = 0;       // kept and written back
  CString log_path;              // kept and written back
  int32_t view_toolbar = 1;      // kept and written back
  int32_t view_statusbar = 1;    // kept and written back
  int32_t color_count = kColorCount;
  ColorPair default_colors[kColorCount];  // built in; never changed
  ColorPair colors[kColorCount];          // in force; read from and written to the file
  int32_t label_count = kColorCount;
  ColorLabel color_labels[kColorCount];
};
