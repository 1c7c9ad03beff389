#include "tests/config/config_test_support.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace sonaril_test {

std::string Text(const CString& text) {
  return text.data != nullptr ? std::string(text.data, static_cast<size_t>(text.length)) : std::string();
}

Settings SettingsOf(const CAppParameter& config) {
  Settings settings = {
      {"language", std::to_string(config.language)},
      {"font_name", Text(config.font_name)},
      {"font_size", std::to_string(config.font_size)},
      {"temp_path", Text(config.temp_path)},
      {"log_enabled", std::to_string(config.log_enabled)},
      {"log_path", Text(config.log_path)},
      {"view_toolbar", std::to_string(config.view_toolbar)},
      {"view_statusbar", std::to_string(config.view_statusbar)},
      {"mon_device_name", Text(config.mon_device_name)},
      {"mon_device_id", Text(config.mon_device_id)},
      {"repeat", std::to_string(config.repeat)},
  };
  for (int i = 0; i < CCommConfig::kColorCount; ++i) {
    std::string prefix = "color" + std::to_string(i);
    settings[prefix + ".text"] = std::to_string(config.colors[i].text);
    settings[prefix + ".background"] = std::to_string(config.colors[i].background);
  }
  return settings;
}

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& folder) {
  std::error_code error;
  previous_ = fs::current_path(error).u8string();
  if (error) return;
  fs::current_path(fs::u8path(folder), error);
  ok_ = !error;
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
  std::error_code ignored;
  if (ok_) fs::current_path(fs::u8path(previous_), ignored);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  return folder + "\\" + name;
#else
  return folder + "/" + name;
#endif
}

StartFolders::StartFolders() {
  std::error_code ignored;
  fs::create_directories(fs::u8path(root_.File("work")), ignored);
  fs::create_directories(fs::u8path(root_.File("program")), ignored);
  working_.reset(new ScopedWorkingDirectory(root_.File("work")));
  // The platform's own spelling of the folder, so texts compare with what the
  // configuration reports.
  work_ = fs::current_path(ignored).u8string();
  program_ = (fs::u8path(work_).parent_path() / "program").u8string();
}

std::string StartFolders::WorkConfigFile() const { return JoinPath(work_, "Sonaril.ini"); }

std::string StartFolders::ProgramConfigFile() const { return JoinPath(program_, "Sonaril.ini"); }

std::unique_ptr<CAppParameter> StartFolders::SetUp() const {
  std::unique_ptr<CAppParameter> config(new CAppParameter);
  config->app_path.Assign(program_.c_str());
  config->Setup();
  return config;
}

std::unique_ptr<CAppParameter> StartFolders::Start() const {
  std::unique_ptr<CAppParameter> config = SetUp();
  config->Load();
  return config;
}

}  // namespace sonaril_test
