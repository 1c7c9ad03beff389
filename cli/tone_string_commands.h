// sonaril-cli's bridge between tone strings and .ton files: `import` and `info --tone-string`.
#pragma once
#include <cstdio>
#include <string>

#include "cli/import_request.h"
#include "synth/tone_setting.h"

// Writes the setting that renders the request's tone string. Exit code 0, 2 when the string
// or an option is refused (nothing written), 1 when the file cannot be written (an existing
// file is then left as it was). Every error is one line on err.
int ImportToneString(const ImportRequest& request, std::FILE* err);

// Prints the setting as a tone string on one line of out and returns 0, or one line on err
// saying why it is not one and returns 2.
int PrintToneString(const std::string& setting_path, const ToneSetting& setting, std::FILE* out,
                    std::FILE* err);
