#include "cli/analysis_arguments.h"

#include "cli/command_definition.h"
#include "cli/number_arguments.h"

namespace {

bool ParseEncoding(const std::string& name, RecordingEncoding* encoding) {
  if (name == "wav") *encoding = RecordingEncoding::Wave;
  else if (name == "mulaw") *encoding = RecordingEncoding::MuLaw;
  else if (name == "alaw") *encoding = RecordingEncoding::ALaw;
  else return false;
  return true;
}

bool ParseRate(const std::string& text, int32_t* rate) {
  int32_t value = 0;
  if (!ReadWholeNumber(text, &value)) return false;
  if (value < kLowestRecordingRate || value > kHighestRecordingRate) return false;
  *rate = value;
  return true;
}

}  // namespace

void RefuseValue(const std::string& option, const std::string& value, const std::string& expected) {
  RefuseLine("invalid value '" + value + "' for " + option + " (use " + expected + ")");
}

void AddRecordingOptions(CLI::App* command, RecordingOptions* options) {
  command->add_option("--format", options->format, "wav (the default) or raw G.711: mulaw or alaw")
      ->type_name("FORMAT");
  command->add_option("--rate", options->rate, "sampling frequency of a raw recording (default 8000)")
      ->type_name("HZ");
  command->add_option("--channel", options->channel, "the channel to measure (default 1, the first)")
      ->type_name("N");
}

void ReadRecordingOptions(const CLI::App& command, const RecordingOptions& options, AnalysisRequest* request) {
  if (!ParseEncoding(options.format, &request->encoding)) RefuseValue("--format", options.format, "wav, mulaw or alaw");
  const bool rate_given = command.count("--rate") > 0;
  if (rate_given && !ParseRate(options.rate, &request->raw_rate)) {
    RefuseValue("--rate", options.rate,
                "a sampling frequency from " + std::to_string(kLowestRecordingRate) + " to " +
                    std::to_string(kHighestRecordingRate) + " Hz");
  }
  if (command.count("--channel") > 0 && (!ReadWholeNumber(options.channel, &request->channel) || request->channel < 1)) {
    RefuseValue("--channel", options.channel, "a channel number from 1");
  }
  if (rate_given && request->encoding == RecordingEncoding::Wave) {
    RefuseLine("--rate is for raw G.711 recordings (--format mulaw or alaw); a WAV file states its rate");
  }
}
