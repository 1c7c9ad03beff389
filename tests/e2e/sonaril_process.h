// The real Sonaril.exe as a test drives it: started in a working folder of the test's own,
// found by its window captions, and never left running when a test ends.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace sonaril_e2e {

// Every wait in these tests is bounded by this, so a broken program fails a test instead of
// hanging the suite.
constexpr DWORD kWaitMs = 30000;

// Polls condition until it holds or timeout_ms has passed; false on time-out.
bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms = kWaitMs);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// A path as Windows programs take it: a Linux path becomes Z:\..., and "/" becomes "\".
std::wstring WindowsPath(const std::string& path);

// Paths handed over by the build (see tests/e2e/CMakeLists.txt), in Windows form.
std::wstring SonarilExePath();
std::wstring CliExePath();
std::string ExamplePath(const std::string& name);
std::string CapturePath();

// Writes a config file (Sonaril.ini) into folder: the given stored language and Repeat
// Play switch, nothing else.
bool WriteConfig(const std::string& folder, int language, int repeat);
// The config file in folder, as text; empty when there is none.
std::string ReadConfig(const std::string& folder);

// One CreateProcessW call: true with *info filled when the process started, false with
// *error set (GetLastError) when it did not.
using ProcessCreator = std::function<bool(PROCESS_INFORMATION* info, DWORD* error)>;

// About one process start in a thousand fails inside Wine before the program runs (Wine
// then logs "failed to map the shared user data"). Seen from inside Wine, CreateProcessW
// fails with ERROR_INTERNAL_ERROR: the new process ended before it had started. Such a
// start is tried again, up to kStartAttempts starts in all, each one noted on standard
// error; any other failure ends at once.
constexpr int kStartAttempts = 5;
bool StartRetryingWineFailures(const ProcessCreator& create, PROCESS_INFORMATION* info);

// Runs a program to its end (bounded) and returns its exit code, or -1000 when it could
// not be started or did not end in time.
int RunToEnd(const std::wstring& exe, const std::wstring& arguments);

class CSonarilProcess {
 public:
  CSonarilProcess() = default;
  // Ends the process if it is still running, so no test leaves a window behind.
  ~CSonarilProcess();
  CSonarilProcess(const CSonarilProcess&) = delete;
  CSonarilProcess& operator=(const CSonarilProcess&) = delete;

  // Starts exe with arguments (the text after the program name) in working_folder.
  bool Start(const std::string& working_folder, const std::wstring& arguments = L"",
             const std::wstring& exe = SonarilExePath());
  // Starts a whole command line (program and arguments, quoted as a shell would) in
  // working_folder.
  bool StartCommandLine(const std::string& working_folder, const std::wstring& command_line);

  // A visible top-level window of this process whose caption is exactly caption; null
  // when none appears in time.
  HWND WaitForWindow(const std::wstring& caption, DWORD timeout_ms = kWaitMs) const;
  // The same without waiting.
  HWND FindWindowByCaption(const std::wstring& caption) const;
  // Waits until no window of this process has that caption.
  bool WaitForWindowGone(const std::wstring& caption) const;

  // Waits for the process to end; its exit code, or -1000 on time-out.
  int WaitForExit(DWORD timeout_ms = kWaitMs);
  bool IsRunning() const;
  void Kill();

  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
};

}  // namespace sonaril_e2e
