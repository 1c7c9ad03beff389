#include <windows.h>

#include "debug/debug_output.h"

namespace {
HMODULE debug_library = nullptr;
}

namespace DebugOutput {

void Bind() {
  debug_library = LoadLibraryW(L"dprint64.dll");
  DebugPrint = SilentSink;
  if (debug_library == nullptr) return;
  FARPROC export_address = GetProcAddress(debug_library, "dwprintf");
  if (export_address != nullptr) {
    // Through void*: the platform types every export as a function without parameters.
    DebugPrint = reinterpret_cast<DebugPrintFunction>(reinterpret_cast<void*>(export_address));
  }
}

void Unbind() {
  DebugPrint = SilentSink;
  if (debug_library == nullptr) return;
  FreeLibrary(debug_library);
  debug_library = nullptr;
}

bool IsLibraryLoaded() { return debug_library != nullptr; }

}  // namespace DebugOutput
