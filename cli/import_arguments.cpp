#include "cli/import_arguments.h"

#include "cli/number_arguments.h"

bool ParseImportArguments(const std::vector<std::string>& arguments, ImportRequest* request,
                          std::string* error) {
  *request = ImportRequest();
  bool have_string = false;
  bool have_output = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool takes_value = argument == "-o" || argument == "--output" || argument == "--rate" ||
                             argument == "--level" || argument == "--dbm0" || argument == "--repeat" ||
                             argument == "--hold";
    if (takes_value) {
      if (i + 1 >= arguments.size()) {
        *error = "option " + argument + " needs a value";
        return false;
      }
      const std::string& value = arguments[++i];
      bool valid = true;
      if (argument == "-o" || argument == "--output") {
        request->output_path = value;
        have_output = !value.empty();
      } else if (argument == "--rate") {
        valid = ReadWholeNumber(value, &request->rate);
      } else if (argument == "--repeat") {
        valid = ReadWholeNumber(value, &request->repeat);
      } else if (argument == "--hold") {
        valid = ReadWholeNumber(value, &request->hold_ms);
      } else if (argument == "--level") {
        valid = ReadWholeNumber(value, &request->level_percent) && request->level_percent >= 1 &&
                request->level_percent <= 100;
        request->has_level = true;
      } else {
        valid = ReadDecimal(value, &request->dbm0);
        request->has_dbm0 = true;
      }
      if (!valid) {
        *error = argument == "--level" ? "--level needs a whole percent from 1 to 100, not '" + value + "'"
               : argument == "--dbm0"  ? "--dbm0 needs a level in dBm0 such as -13, not '" + value + "'"
                                       : argument + " needs a whole number, not '" + value + "'";
        return false;
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      *error = "unknown option '" + argument + "' for import";
      return false;
    } else if (!have_string) {
      request->tone_string = argument;
      have_string = true;
    } else {
      *error = "more than one tone string given ('" + argument + "'); quote the string";
      return false;
    }
  }
  if (!have_string) {
    *error = "import needs a tone string, such as \"440+480/2000,0/4000\"";
    return false;
  }
  if (!have_output) {
    *error = "import needs an output file: -o OUT.ton";
    return false;
  }
  if (request->has_level && request->has_dbm0) {
    *error = "give the level with --level or with --dbm0, not both";
    return false;
  }
  return true;
}
