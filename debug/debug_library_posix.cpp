#include <dlfcn.h>

#include "debug/debug_output.h"

namespace {
void* debug_library = nullptr;
}

namespace DebugOutput {

void Bind() {
  debug_library = dlopen("libdprint64.so", RTLD_NOW);
  DebugPrint = SilentSink;
  if (debug_library == nullptr) return;
  void* export_address = dlsym(debug_library, "dwprintf");
  if (export_address != nullptr) DebugPrint = reinterpret_cast<DebugPrintFunction>(export_address);
}

void Unbind() {
  DebugPrint = SilentSink;
  if (debug_library == nullptr) return;
  dlclose(debug_library);
  debug_library = nullptr;
}

bool IsLibraryLoaded() { return debug_library != nullptr; }

}  // namespace DebugOutput
