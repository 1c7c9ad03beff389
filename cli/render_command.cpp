#include "cli/render_command.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/render_batch.h"
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

// One setting into one output ("-": standard output), every failure one line on err.
int RenderOne(const std::string& setting_path, const std::string& output_path, ExportFormat format, std::FILE* out,
              std::FILE* err) {
  ToneSetting setting;
  int exit_code = kExitSuccess;
  if (!LoadSetting(setting_path, &setting, err, &exit_code)) return exit_code;
  SettingFacts facts = InspectSetting(setting);
  if (!facts.can_synthesise) return Fail(err, kExitUsageError, setting_path, facts.reason);

  // The tone is synthesised while it is written, a run at a time, never held whole.
  CToneStream tone;
  int32_t hertz = setting.sampling_frequency;
  SynthesisRefusal refusal =
      StartToneStream(setting, hertz, facts.repeat_used, setting.filter_on != 0, &tone);
  if (refusal != SynthesisRefusal::None) {
    return Fail(err, kExitUsageError, setting_path, DescribeRefusal(refusal));
  }
  bool written = output_path == "-" ? WriteStandardOutput(format, &tone, hertz, out)
                                    : WriteOutputFile(output_path, format, &tone, hertz);
  if (!written) {
    std::string subject = output_path == "-" ? "standard output" : output_path;
    return Fail(err, kExitFileError, subject, "could not be written");
  }
  return kExitSuccess;
}

struct RenderFormat {
  const char* name;
  ExportFormat format;
  const char* extension;  // of the files a batch writes
};

constexpr RenderFormat kRenderFormats[] = {
    {"wav", ExportFormat::Wave, ".wav"},
    {"mulaw", ExportFormat::MuLaw, ".ul"},
    {"alaw", ExportFormat::ALaw, ".al"},
    {"wav-mulaw", ExportFormat::WaveMuLaw, ".wav"},
    {"wav-alaw", ExportFormat::WaveALaw, ".wav"},
};

const RenderFormat* FindFormat(const std::string& name) {
  for (const RenderFormat& known : kRenderFormats) {
    if (name == known.name) return &known;
  }
  return nullptr;
}

// Batches of more than a few files show how far they are.
constexpr size_t kFilesWithoutProgress = 4;

// What render takes beside the request's fields.
struct RenderValues {
  std::vector<std::string> settings;
  std::string format = "wav";
  bool quiet = false;
  const char* extension = nullptr;  // of the format chosen, once the line has parsed
};

void ReadRender(RenderValues* given, CliRequest* request) {
  if (given->settings.empty()) RefuseLine("render needs a setting file");
  const RenderFormat* format = FindFormat(given->format);
  if (format == nullptr) RefuseLine("unknown format '" + given->format + "' (use wav, mulaw, alaw, wav-mulaw or wav-alaw)");
  request->format = format->format;
  given->extension = format->extension;
  if (request->output_path.empty()) RefuseLine("render needs an output file: -o OUT (or -o - for standard output)");
  request->setting_path = given->settings.front();
  const bool several = given->settings.size() > 1 || NamesFolder(request->setting_path);
  if (several && !NamesFolder(request->output_path)) {
    RefuseLine("several settings render into a folder: -o FOLDER/ (not '" + request->output_path + "')");
  }
}

int RunRender(const CliRequest& request, const RenderValues& given, std::FILE* out, std::FILE* err) {
  if (!NamesFolder(request.output_path)) return RenderOne(request.setting_path, request.output_path, request.format, out, err);
  const std::vector<BatchJob> jobs = PlanBatch(given.settings, request.output_path, given.extension);
  const bool progress = request.error_is_terminal && !given.quiet && jobs.size() > kFilesWithoutProgress;
  return RunBatch(jobs, progress, err, [&](const BatchJob& job) {
    return RenderOne(job.setting, job.output, request.format, out, err);
  });
}

CommandRunner DeclareRender(CLI::App* command, CliRequest* request) {
  request->command = CliCommand::Render;
  auto given = std::make_shared<RenderValues>();
  command->add_option("settings", given->settings, "the tone settings (.ton files or folders of them)");
  command->add_option("-o,--output", request->output_path,
                      "the file to write, - for standard output, or the folder (FOLDER/) for several")
      ->type_name("OUT");
  command->add_option("--format", given->format,
                      "wav (16-bit PCM, the default), mulaw or alaw (raw G.711), wav-mulaw or wav-alaw (G.711 in WAV)")
      ->type_name("FORMAT");
  command->add_flag("-q,--quiet", given->quiet, "no progress line while rendering several files");
  command->callback([request, given] { ReadRender(given.get(), request); });
  return [request, given](std::FILE* out, std::FILE* err) { return RunRender(*request, *given, out, err); };
}

}  // namespace

const CommandDefinition kRenderCommand = {
    "render",
    "render SETTING.ton -o OUT [--format wav|mulaw|alaw|wav-mulaw|wav-alaw]\n"
    "render SETTING.ton|FOLDER... -o FOLDER/ [--format FORMAT] [--quiet]",
    "synthesises the tone setting and writes it as a WAV file (16-bit mono PCM),\n"
    "raw G.711 u-law or A-law, or G.711 u-law or A-law in a WAV file (8-bit,\n"
    "format tag 7 or 6); -o - writes to standard output. Several settings, or\n"
    "folders of them (searched through their sub-folders, which are kept), render\n"
    "into the folder -o names, each NAME.ton as NAME.wav, .ul or .al; a file that\n"
    "fails is named and the rest go on.",
    DeclareRender,
};
