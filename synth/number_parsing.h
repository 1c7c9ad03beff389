// Numbers typed into the edit fields and the repeat count. Only the first 63 characters
// of a text are read. Overloads take narrow (UTF-8) or wide text.
#pragma once
#include <cstdint>
#include <string_view>

// Blanks (space, tab), one optional "-", then decimal digits accumulated in 32 bits with
// wrapping. Empty text, blanks only or a lone "-" give 0. Any other character after that
// rejects the whole field: returns false and leaves *value as it was.
bool ParseFieldNumber(std::string_view text, int32_t* value);
bool ParseFieldNumber(std::wstring_view text, int32_t* value);

// The same reading over the whole text, without the 63-character cut: for stored
// values, where a long run of leading zeros must not change the number.
bool ParseDecimalText(std::string_view text, int32_t* value);

// Like ParseFieldNumber, but a text that stops at another character still counts: the
// digits read up to it are used, without the sign ("7x" gives 7, "-5x" gives 5).
int32_t ParseRepeatCount(std::string_view text);
int32_t ParseRepeatCount(std::wstring_view text);

// The repeat count every synthesis uses: 0 or less gives 1, more than 100 gives 100.
int32_t ClampRepeat(int32_t repeat);
