#include "cli/analysis_arguments.h"

#include "cli/number_arguments.h"

namespace {

// Sensible bounds for the tolerances: wider ones would let anything pass.
constexpr double kWidestFrequencyPercent = 50.0;
constexpr double kWidestCadencePercent = 100.0;
constexpr double kWidestCadenceMs = 60000.0;
constexpr double kWidestLevelDb = 60.0;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A positive number, the whole text (after an optional unit), at most widest.
bool ParsePositive(std::string text, const std::string& unit, double widest, double* value) {
  if (!unit.empty() && EndsWith(text, unit)) text.erase(text.size() - unit.size());
  double number = 0.0;
  if (!ReadDecimal(text, &number) || !(number > 0.0) || number > widest) return false;
  *value = number;
  return true;
}

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

// Percent ("10%" or "10") or milliseconds ("40ms").
bool ParseCadence(const std::string& text, CheckTolerances* tolerances) {
  if (EndsWith(text, "ms")) {
    tolerances->cadence_in_ms = true;
    return ParsePositive(text, "ms", kWidestCadenceMs, &tolerances->cadence_ms);
  }
  tolerances->cadence_in_ms = false;
  return ParsePositive(text, "%", kWidestCadencePercent, &tolerances->cadence_percent);
}

// Handles one option that takes a value; false with *error set when it is not valid.
bool ParseValueOption(const std::string& option, const std::string& value, bool is_check, CliRequest* request,
                      bool* rate_given, std::string* error) {
  AnalysisRequest& analysis = request->analysis;
  bool valid = true;
  std::string expected;
  if (option == "-o") {
    request->output_path = value;
    valid = !value.empty();
    expected = "the setting file to write";
  } else if (option == "--format") {
    valid = ParseEncoding(value, &analysis.encoding);
    expected = "wav, mulaw or alaw";
  } else if (option == "--rate") {
    valid = ParseRate(value, &analysis.raw_rate);
    *rate_given = true;
    expected = "a sampling frequency from " + std::to_string(kLowestRecordingRate) + " to " +
               std::to_string(kHighestRecordingRate) + " Hz";
  } else if (is_check && option == "--tolerance-frequency") {
    valid = ParsePositive(value, "%", kWidestFrequencyPercent, &analysis.tolerances.frequency_percent);
    expected = "a percentage above 0, at most 50";
  } else if (is_check && option == "--tolerance-cadence") {
    valid = ParseCadence(value, &analysis.tolerances);
    expected = "a percentage (10%) or milliseconds (40ms) above 0";
  } else if (is_check && option == "--tolerance-level") {
    valid = ParsePositive(value, "dB", kWidestLevelDb, &analysis.tolerances.level_db);
    expected = "decibels above 0, at most 60";
  }
  if (!valid) *error = "invalid value '" + value + "' for " + option + " (use " + expected + ")";
  return valid;
}

bool TakesValue(const std::string& option, bool is_check) {
  if (option == "--format" || option == "--rate") return true;
  if (!is_check && option == "-o") return true;
  return is_check && (option == "--tolerance-frequency" || option == "--tolerance-cadence" ||
                      option == "--tolerance-level");
}

}  // namespace

bool ParseAnalysisArguments(const std::vector<std::string>& arguments, CliRequest* request, std::string* error) {
  *request = CliRequest();
  const std::string& command = arguments[0];
  const bool is_check = command == "check";
  request->command = is_check ? CliCommand::Check : CliCommand::Analyze;
  bool rate_given = false;
  std::vector<std::string> files;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (TakesValue(argument, is_check)) {
      if (i + 1 >= arguments.size()) {
        *error = "option " + argument + " needs a value";
        return false;
      }
      if (!ParseValueOption(argument, arguments[++i], is_check, request, &rate_given, error)) return false;
    } else if (argument == "--json") {
      request->json = true;
    } else if (is_check && argument == "--absolute-levels") {
      request->analysis.tolerances.absolute_levels = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      *error = "unknown option '" + argument + "' for " + command;
      return false;
    } else {
      files.push_back(argument);
    }
  }
  const size_t wanted = is_check ? 2 : 1;
  if (files.size() < wanted) {
    *error = is_check ? "check needs a recording and a setting file" : "analyze needs a recording";
    return false;
  }
  if (files.size() > wanted) {
    *error = "too many files given ('" + files[wanted] + "')";
    return false;
  }
  request->analysis.recording_path = files[0];
  if (is_check) request->setting_path = files[1];
  if (rate_given && request->analysis.encoding == RecordingEncoding::Wave) {
    *error = "--rate is for raw G.711 recordings (--format mulaw or alaw); a WAV file states its rate";
    return false;
  }
  return true;
}
