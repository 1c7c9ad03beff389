// The process-wide debug output. Every diagnostic line of the program goes through
// DebugPrint; without the optional debug library the lines simply vanish.
#pragma once
#include <cstdarg>
#include <string>

// Wide printf-style output; "%s" takes a wide string. The result is never used.
using DebugPrintFunction = int (*)(const wchar_t* format, ...);

// Callable at any time from any thread; written only by Bind and Unbind.
extern DebugPrintFunction DebugPrint;

namespace DebugOutput {

// Looks up the debug library ("dprint64.dll" on Windows, "libdprint64.so" elsewhere) and
// points DebugPrint at its "dwprintf" export, or at the silent built-in sink.
void Bind();
// DebugPrint becomes the silent sink again and the library, if any, is released.
void Unbind();
// True while a debug library is loaded (even one without "dwprintf").
bool IsLibraryLoaded();

// The silent built-in sink.
int SilentSink(const wchar_t* format, ...);

// Formats like DebugPrint's contract says: "%s" is a wide string on every platform.
std::wstring Format(const wchar_t* format, va_list arguments);

}  // namespace DebugOutput
