#include "cli/digit_commands.h"

#include <memory>

#include "cli/analysis_arguments.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "cli/number_arguments.h"
#include "digits/digit_sequence.h"
#include "files/tone_file.h"
#include "tonestring/tone_setting_builder.h"

namespace {

struct DigitValues {
  std::vector<std::string> digits;
  std::string output_path;
  std::string rate, on, off, pause, kp, dbm0, level, twist, offset;
  int32_t sampling_frequency = 8000;
  DigitOptions options;
};

void ReadWhole(const CLI::App& command, const std::string& option, const std::string& text, int32_t* value) {
  if (command.count(option) > 0 && !ReadWholeNumber(text, value)) RefuseValue(option, text, "a whole number");
}

void ReadNumber(const CLI::App& command, const std::string& option, const std::string& text, double* value) {
  if (command.count(option) > 0 && !ReadDecimal(text, value)) RefuseValue(option, text, "a number");
}

// --dbm0 LOW,HIGH (or one figure for both).
void ReadLevels(const std::string& text, DigitOptions* options) {
  const size_t comma = text.find(',');
  const std::string low = text.substr(0, comma), high = comma == std::string::npos ? low : text.substr(comma + 1);
  if (!ReadDecimal(low, &options->low_dbm0) || !ReadDecimal(high, &options->high_dbm0)) {
    RefuseValue("--dbm0", text, "the low and the high tone's level in dBm0, such as -9,-7");
  }
}

void ReadDigits(const CLI::App& command, const char* name, DigitValues* given) {
  if (given->digits.size() > 1) RefuseLine("more than one digit string given ('" + given->digits[1] + "')");
  if (given->digits.empty()) RefuseLine(std::string(name) + " needs the digits to send");
  if (given->output_path.empty()) RefuseLine(std::string(name) + " needs an output file: -o OUT.ton");
  ReadWhole(command, "--rate", given->rate, &given->sampling_frequency);
  ReadWhole(command, "--on", given->on, &given->options.on_ms);
  ReadWhole(command, "--off", given->off, &given->options.off_ms);
  ReadWhole(command, "--pause", given->pause, &given->options.pause_ms);
  if (given->options.system == DigitSystem::Mf) ReadWhole(command, "--kp", given->kp, &given->options.kp_on_ms);
  ReadNumber(command, "--level", given->level, &given->options.level_percent);
  ReadNumber(command, "--twist", given->twist, &given->options.twist_db);
  ReadNumber(command, "--offset", given->offset, &given->options.offset_percent);
  if (command.count("--dbm0") > 0) ReadLevels(given->dbm0, &given->options);
  if (command.count("--dbm0") > 0 && command.count("--level") > 0) {
    RefuseLine("give the levels with --dbm0 or with --level, not both");
  }
  if (command.count("--level") > 0 && given->options.level_percent < 0.0) {
    RefuseValue("--level", given->level, "a percentage of full scale from 0 to 100");
  }
}

int WriteDigitSetting(const char* name, const DigitValues& given, std::FILE* err) {
  ToneSequence sequence;
  std::string why_not;
  ToneStringOptions build;
  build.sampling_frequency = given.sampling_frequency;
  ToneSetting setting;
  if (!DigitsToToneSequence(given.digits.front(), given.options, &sequence, &why_not) ||
      !BuildToneSetting(sequence, build, &setting, &why_not)) {
    return Fail(err, kExitUsageError, name, why_not);
  }
  WidePath path(given.output_path);
  if (path.get() == nullptr || !SaveToneSetting(setting, path.get())) {
    return Fail(err, kExitFileError, given.output_path, "could not be written");
  }
  return kExitSuccess;
}

CommandRunner DeclareDigits(CLI::App* command, DigitSystem system, const char* name) {
  auto given = std::make_shared<DigitValues>();
  given->options = DefaultDigitOptions(system);
  command->add_option("digits", given->digits, "the digits, quoted; ',' is a pause");
  command->add_option("-o,--output", given->output_path, "the tone setting file to write")->type_name("OUT.ton");
  command->add_option("--on", given->on, "each digit's tone in ms")->type_name("MS");
  command->add_option("--off", given->off, "the gap after each digit in ms")->type_name("MS");
  command->add_option("--pause", given->pause, "a ',' in ms (default 500)")->type_name("MS");
  if (system == DigitSystem::Mf) command->add_option("--kp", given->kp, "KP's tone in ms (default 100)")->type_name("MS");
  command->add_option("--dbm0", given->dbm0, "the low and the high tone's level in dBm0")->type_name("LOW,HIGH");
  command->add_option("--level", given->level, "every tone at this percent of full scale")->type_name("PERCENT");
  command->add_option("--twist", given->twist, "dB added to the high tone")->type_name("DB");
  command->add_option("--offset", given->offset, "every frequency moved by this percentage")->type_name("PCT");
  command->add_option("--rate", given->rate, "sampling frequency in Hz (default 8000)")->type_name("HZ");
  command->callback([command, name, given] { ReadDigits(*command, name, given.get()); });
  return [name, given](std::FILE*, std::FILE* err) { return WriteDigitSetting(name, *given, err); };
}

CommandRunner DeclareDtmf(CLI::App* command, CliRequest*) { return DeclareDigits(command, DigitSystem::Dtmf, "dtmf"); }
CommandRunner DeclareMf(CLI::App* command, CliRequest*) { return DeclareDigits(command, DigitSystem::Mf, "mf"); }

}  // namespace

const CommandDefinition kDtmfCommand = {
    "dtmf",
    "dtmf \"DIGITS\" -o OUT.ton [--on MS] [--off MS] [--pause MS]\n"
    "                 [--dbm0 LOW,HIGH | --level PERCENT] [--twist DB]\n"
    "                 [--offset PCT] [--rate HZ]",
    "writes the setting that sends DTMF digits (0-9 * # A B C D; ',' pauses):\n"
    "100 ms on, 100 ms off, a pause 500 ms, the low group at -9 dBm0 and the\n"
    "high group at -7 dBm0, 8000 Hz by default.",
    DeclareDtmf,
};

const CommandDefinition kMfCommand = {
    "mf",
    "mf \"DIGITS\" -o OUT.ton [--on MS] [--off MS] [--kp MS] [--pause MS]\n"
    "               [--dbm0 LOW,HIGH | --level PERCENT] [--twist DB]\n"
    "               [--offset PCT] [--rate HZ]",
    "writes the setting that sends MF R1 digits (0-9 KP ST STP ST2P ST3P; ','\n"
    "pauses): 68 ms on, 68 ms off, KP 100 ms, -7 dBm0 per frequency, 8000 Hz by\n"
    "default. MF's levels and twist run as a slope from 700 Hz to 1700 Hz.",
    DeclareMf,
};
