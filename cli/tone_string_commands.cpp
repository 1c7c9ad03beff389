#include "cli/tone_string_commands.h"

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "files/tone_file.h"
#include "synth/signal_level.h"
#include "tonestring/tone_setting_builder.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"
#include "tonestring/tone_string_parser.h"

namespace {

ToneStringOptions OptionsOf(const ImportRequest& request) {
  ToneStringOptions options;
  options.sampling_frequency = request.rate;
  options.repeat = request.repeat;
  options.hold_ms = request.hold_ms;
  if (request.has_level) options.level_percent = request.level_percent;
  if (request.has_dbm0) options.level_percent = DbfsToPercent(Dbm0ToDbfs(request.dbm0));
  return options;
}

}  // namespace

int ImportToneString(const ImportRequest& request, std::FILE* err) {
  ToneSequence sequence;
  std::string why_not;
  if (!ParseToneString(request.tone_string, &sequence, &why_not)) {
    return Fail(err, kExitUsageError, "import", why_not);
  }
  ToneSetting setting;
  if (!BuildToneSetting(sequence, OptionsOf(request), &setting, &why_not)) {
    return Fail(err, kExitUsageError, "import", why_not);
  }
  WidePath path(request.output_path);
  if (path.get() == nullptr || !SaveToneSetting(setting, path.get())) {
    return Fail(err, kExitFileError, request.output_path, "could not be written");
  }
  return kExitSuccess;
}

int PrintToneString(const std::string& setting_path, const ToneSetting& setting, std::FILE* out,
                    std::FILE* err) {
  ToneSequence sequence;
  std::string why_not;
  if (!ReadToneSequence(setting, &sequence, &why_not)) {
    return Fail(err, kExitUsageError, setting_path, "is not a tone string: " + why_not);
  }
  std::fprintf(out, "%s\n", FormatToneString(sequence).c_str());
  return kExitSuccess;
}
