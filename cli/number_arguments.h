// Numbers given as option values on sonaril-cli's command line: the whole text must be the
// number, so "8k", " 8000" or "1e400" are refused rather than half read.
#pragma once
#include <cstdint>
#include <string>

// An optional "-" and decimal digits that fit in 32 bits, nothing else.
bool ReadWholeNumber(const std::string& text, int32_t* value);
// A finite decimal number (as strtod reads it) that takes the whole text.
bool ReadDecimal(const std::string& text, double* value);
