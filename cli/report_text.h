// Text building the command reports share: printf-style formatting and the names of step
// kinds.
#pragma once
#include <cstdint>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A wide text (the program's display texts) as UTF-8; empty when it cannot be converted.
std::string Utf8(const wchar_t* text);

// "ON", "OFF", "100% -> 0%", "0% -> 100%"; "gain N" for any other value.
std::string StepKindName(int32_t on_off);
