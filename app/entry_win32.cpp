// The entry of Sonaril.exe: brings the process-wide objects up in order, runs the main
// window, and takes them down again in reverse. Settings are saved when they change, never
// here, so an abrupt end loses nothing already confirmed.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "app/app_config.h"
#include "debug/debug_output.h"
#include "editor/app_main.h"

namespace {

// The main window's result, or 0 when it could not start.
int RunMainWindow(HINSTANCE instance, HINSTANCE previous_instance, const wchar_t* command_line,
                  int show_command) {
  const HRESULT com = CoInitialize(nullptr);
  if (FAILED(com)) {
    DebugPrint(L"Unable to initialize COM: %x\n", static_cast<unsigned>(com));
    return -1;
  }
  CAppMain app;
  const int result =
      static_cast<int>(app.Run(instance, previous_instance, command_line, show_command));
  CoUninitialize();
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous_instance, PWSTR command_line,
                    int show_command) {
  DebugOutput::Bind();
  int exit_code = -1;
  if (app_config == nullptr) app_config = new (std::nothrow) CAppParameter;
  if (app_config != nullptr) {
    // A missing or unreadable config file leaves every setting at its initial value.
    app_config->Startup();
    exit_code = RunMainWindow(instance, previous_instance, command_line, show_command);
  }
  delete app_config;
  app_config = nullptr;
  DebugOutput::Unbind();
  return exit_code;
}
