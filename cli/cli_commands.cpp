#include "cli/cli_commands.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "cli/analyze_command.h"
#include "cli/check_command.h"
#include "cli/cli_arguments.h"
#include "cli/cli_support.h"
#include "cli/setting_report.h"
#include "cli/tone_string_commands.h"
#include "config/product_version.h"
#include "files/file.h"
#include "files/safe_save.h"
#include "files/safe_save_platform.h"
#include "files/string.h"
#include "files/tone_export.h"
#include "synth/synthesize_tone.h"

namespace {

// The export's file, written beside the target first so that an existing file is only
// ever replaced whole.
bool WriteOutputFile(const std::string& output, ExportFormat format, CToneStream* tone,
                     int32_t hertz) {
  WidePath target(output);
  WidePath temporary(SafeSaveTemporaryPath(output));
  if (target.get() == nullptr || temporary.get() == nullptr) return false;
  ExportResult written =
      WriteExport(temporary.get(), format, tone, tone->remaining(), hertz, true);
  if (written != ExportResult::Written) {
    safe_save_platform::RemoveFile(temporary.text());
    return false;
  }
  if (!safe_save_platform::ReplaceTarget(temporary.text(), target.text())) {
    safe_save_platform::RemoveFile(temporary.text());
    return false;
  }
  return true;
}

// Standard output gets the very bytes the file export writes: they are made in a
// temporary file and copied.
bool WriteStandardOutput(ExportFormat format, CToneStream* tone, int32_t hertz, std::FILE* out) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return false;
  std::random_device random;
  std::string name =
      (folder / ("sonaril-cli-" + std::to_string(random()) + ".out")).u8string();
  WidePath temporary(name);
  if (temporary.get() == nullptr) return false;
  ExportResult written =
      WriteExport(temporary.get(), format, tone, tone->remaining(), hertz, true);
  bool copied = false;
  if (written == ExportResult::Written) {
    CFile file;
    if (file.OpenRead(temporary.get())) {
      copied = true;
      char buffer[65536];
      for (uint64_t done = 0; done < file.size && copied;) {
        uint32_t read = file.Read(buffer, sizeof buffer);
        copied = read > 0 && std::fwrite(buffer, 1, read, out) == read;
        done += read;
      }
      file.Close();
      copied = copied && std::fflush(out) == 0;
    }
  }
  safe_save_platform::RemoveFile(temporary.text());
  return copied;
}

int Render(const CliRequest& request, std::FILE* out, std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(request.setting_path, &setting, err, &exit_code)) return exit_code;
  SettingFacts facts = InspectSetting(setting);
  if (!facts.can_synthesise) return Fail(err, kExitUsageError, request.setting_path, facts.reason);

  // The tone is synthesised while it is written, a run at a time, never held whole.
  CToneStream tone;
  int32_t hertz = setting.sampling_frequency;
  SynthesisRefusal refusal =
      StartToneStream(setting, hertz, facts.repeat_used, setting.filter_on != 0, &tone);
  if (refusal != SynthesisRefusal::None) {
    return Fail(err, kExitUsageError, request.setting_path, DescribeRefusal(refusal));
  }
  bool written = request.output_path == "-"
                     ? WriteStandardOutput(request.format, &tone, hertz, out)
                     : WriteOutputFile(request.output_path, request.format, &tone, hertz);
  if (!written) {
    std::string subject = request.output_path == "-" ? "standard output" : request.output_path;
    return Fail(err, kExitFileError, subject, "could not be written");
  }
  return kExitSuccess;
}

int Info(const CliRequest& request, std::FILE* out, std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(request.setting_path, &setting, err, &exit_code)) return exit_code;
  if (request.tone_string) return PrintToneString(request.setting_path, setting, out, err);
  SettingFacts facts = InspectSetting(setting);
  std::string report = request.json ? FormatSettingJson(request.setting_path, setting, facts)
                                    : FormatSettingText(request.setting_path, setting, facts);
  std::fputs(report.c_str(), out);
  return kExitSuccess;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  CliRequest request;
  std::string error;
  if (!ParseCliArguments(arguments, &request, &error)) return Fail(err, kExitUsageError, "", error);
  switch (request.command) {
    case CliCommand::Help:
      std::fputs(CliUsageText(), out);
      return kExitSuccess;
    case CliCommand::Version:
      std::fprintf(out, "sonaril-cli %s\n", kProductVersion);
      return kExitSuccess;
    case CliCommand::Render:
      return Render(request, out, err);
    case CliCommand::Info:
      return Info(request, out, err);
    case CliCommand::Import:
      return ImportToneString(request.import, err);
    case CliCommand::Analyze:
      return RunAnalyze(request, out, err);
    case CliCommand::Check:
      return RunCheck(request, out, err);
  }
  return kExitUsageError;
}
