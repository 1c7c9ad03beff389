// Paths longer than the classic limit, for the wide Win32 file calls.
#pragma once
#include <string>

// path as the calls take it: unchanged up to 259 characters; a longer one in its
// extended-length form ("\\?\" before the full path, "\\?\UNC\" for a network path), in
// which the calls take paths of up to 32767 characters. Empty for a null path.
std::wstring CallablePath(const wchar_t* path);
