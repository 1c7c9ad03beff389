#include "tests/e2e/sonaril_process.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/common/test_paths.h"

namespace sonaril_e2e {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

struct CaptionSearch {
  DWORD process_id;
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM parameter) {
  CaptionSearch* search = reinterpret_cast<CaptionSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (*search->caption != text) return TRUE;
  search->found = window;
  return FALSE;
}

// This process's environment for a program it starts, with Wine's debug channels all off:
// a start that failed inside Wine is recognised and retried here, so its log line must not
// reach the test's own output, where the Wine wrapper would take it for a failed start of
// the test itself.
std::vector<wchar_t> ChildEnvironment() {
  std::vector<wchar_t> block;
  wchar_t* current = GetEnvironmentStringsW();
  if (current == nullptr) return block;
  for (const wchar_t* entry = current; *entry != L'\0'; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, L"WINEDEBUG=", 10) == 0) continue;
    block.insert(block.end(), entry, entry + wcslen(entry) + 1);
  }
  FreeEnvironmentStringsW(current);
  const wchar_t quiet[] = L"WINEDEBUG=-all";
  block.insert(block.end(), quiet, quiet + wcslen(quiet) + 1);
  block.push_back(L'\0');
  return block;
}

// Starts the command line (program and arguments) in folder (null: this process's folder).
bool StartProgram(const std::wstring& line, const wchar_t* folder, PROCESS_INFORMATION* info) {
  std::vector<wchar_t> environment = ChildEnvironment();
  return StartRetryingWineFailures(
      [&](PROCESS_INFORMATION* started, DWORD* error) {
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        const BOOL ok = CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                                       CREATE_UNICODE_ENVIRONMENT,
                                       environment.empty() ? nullptr : environment.data(),
                                       folder, &startup, started);
        *error = ok ? ERROR_SUCCESS : GetLastError();
        return ok != FALSE;
      },
      info);
}

}  // namespace

bool StartRetryingWineFailures(const ProcessCreator& create, PROCESS_INFORMATION* info) {
  for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
    DWORD error = ERROR_SUCCESS;
    if (create(info, &error)) return true;
    if (error != ERROR_INTERNAL_ERROR) return false;
    std::fprintf(stderr, "sonaril_process: Wine failed to start the program (attempt %d)\n", attempt);
  }
  return false;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (GetTickCount64() < deadline) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                        nullptr, 0);
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], count);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(count, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], count,
                      nullptr, nullptr);
  return utf8;
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring wide = Widen(!path.empty() && path[0] == '/' ? "Z:" + path : path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::wstring SonarilExePath() { return WindowsPath(Environment("SONARIL_EXE")); }
std::wstring CliExePath() { return WindowsPath(Environment("SONARIL_CLI")); }
std::string ExamplePath(const std::string& name) {
  return Narrow(WindowsPath(Environment("SONARIL_EXAMPLES") + "/" + name));
}
std::string CapturePath() { return Narrow(WindowsPath(Environment("SONARIL_AUDIO_CAPTURE"))); }

bool WriteConfig(const std::string& folder, int language, int repeat) {
  const std::string text = "<?xml version=\"1.0\" ?>\r\n<config><language>" +
                           std::to_string(language) + "</language>\r\n<repeat>" +
                           std::to_string(repeat) + "</repeat>\r\n</config>\r\n";
  return sonaril_test::WriteAll(folder + "\\Sonaril.ini", text);
}

std::string ReadConfig(const std::string& folder) {
  return sonaril_test::ReadAll(folder + "\\Sonaril.ini");
}

int RunToEnd(const std::wstring& exe, const std::wstring& arguments) {
  PROCESS_INFORMATION info = {};
  if (!StartProgram(L"\"" + exe + L"\" " + arguments, nullptr, &info)) return -1000;
  CloseHandle(info.hThread);
  DWORD code = static_cast<DWORD>(-1000);
  if (WaitForSingleObject(info.hProcess, kWaitMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  } else {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

CSonarilProcess::~CSonarilProcess() {
  Kill();
  if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
  if (info_.hThread != nullptr) CloseHandle(info_.hThread);
}

bool CSonarilProcess::Start(const std::string& working_folder, const std::wstring& arguments,
                            const std::wstring& exe) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  return StartCommandLine(working_folder, line);
}

bool CSonarilProcess::StartCommandLine(const std::string& working_folder,
                                       const std::wstring& command_line) {
  const std::wstring folder = Widen(working_folder);
  return StartProgram(command_line, folder.c_str(), &info_);
}

HWND CSonarilProcess::FindWindowByCaption(const std::wstring& caption) const {
  CaptionSearch search = {info_.dwProcessId, &caption, nullptr};
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND CSonarilProcess::WaitForWindow(const std::wstring& caption, DWORD timeout_ms) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowByCaption(caption)) != nullptr || !IsRunning(); },
          timeout_ms);
  return found;
}

bool CSonarilProcess::WaitForWindowGone(const std::wstring& caption) const {
  return WaitFor([&] { return FindWindowByCaption(caption) == nullptr; });
}

int CSonarilProcess::WaitForExit(DWORD timeout_ms) {
  if (info_.hProcess == nullptr) return -1000;
  if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1000;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<int>(code);
}

bool CSonarilProcess::IsRunning() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void CSonarilProcess::Kill() {
  if (IsRunning()) {
    TerminateProcess(info_.hProcess, 0xDEAD);
    WaitForSingleObject(info_.hProcess, kWaitMs);
  }
}

}  // namespace sonaril_e2e
