#include "cli/render_command.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/setting_report.h"
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

int RunRender(const CliRequest& request, std::FILE* out, std::FILE* err) {
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

bool ParseFormat(const std::string& name, ExportFormat* format) {
  if (name == "wav") *format = ExportFormat::Wave;
  else if (name == "mulaw") *format = ExportFormat::MuLaw;
  else if (name == "alaw") *format = ExportFormat::ALaw;
  else return false;
  return true;
}

CommandRunner DeclareRender(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Render;
  auto settings = std::make_shared<std::vector<std::string>>();
  auto format = std::make_shared<std::string>("wav");
  command->add_option("settings", *settings, "the tone setting to render");
  command->add_option("-o,--output", request->output_path, "the file to write; - for standard output")
      ->type_name("OUT");
  command->add_option("--format", *format, "wav (16-bit PCM, the default), mulaw or alaw (raw G.711)")
      ->type_name("FORMAT");
  command->callback([request, settings, format] {
    if (settings->empty()) RefuseLine("render needs a setting file");
    if (settings->size() > 1) RefuseLine("more than one setting file given ('" + (*settings)[1] + "')");
    request->setting_path = settings->front();
    if (!ParseFormat(*format, &request->format)) {
      RefuseLine("unknown format '" + *format + "' (use wav, mulaw or alaw)");
    }
    if (request->output_path.empty()) RefuseLine("render needs an output file: -o OUT (or -o - for standard output)");
  });
  return [request](std::FILE* out, std::FILE* err) { return RunRender(*request, out, err); };
}

}  // namespace

const CommandDefinition kRenderCommand = {
    "render",
    "render SETTING.ton -o OUT [--format wav|mulaw|alaw]",
    "synthesises the tone setting and writes it as a WAV file (16-bit mono PCM),\n"
    "raw G.711 u-law or raw G.711 A-law; -o - writes to standard output.",
    DeclareRender,
};
