#include "cli/render_batch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"

namespace fs = std::filesystem;

namespace {

bool IsSettingFile(const fs::path& path) {
  std::string extension = path.extension().u8string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".ton";
}

// The .ton files under folder with their paths relative to it, in name order; a folder
// that cannot be read is one refused job.
std::vector<std::pair<fs::path, fs::path>> SettingsUnder(const fs::path& folder, std::vector<BatchJob>* refused) {
  std::vector<std::pair<fs::path, fs::path>> found;
  std::error_code error;
  fs::recursive_directory_iterator walk(folder, error), end;
  for (; !error && walk != end; walk.increment(error)) {
    if (walk->is_regular_file(error) && IsSettingFile(walk->path())) {
      found.emplace_back(walk->path(), walk->path().lexically_relative(folder));
    }
  }
  if (error) refused->push_back({folder.u8string(), "", "the folder cannot be read: " + error.message()});
  std::sort(found.begin(), found.end());
  return found;
}

// The folder the output goes into, made when missing; false with *why set when it cannot be.
bool MakeFolderOf(const std::string& output, std::string* why) {
  const fs::path folder = fs::u8path(output).parent_path();
  std::error_code error;
  if (folder.empty() || fs::is_directory(folder, error)) return true;
  fs::create_directories(folder, error);
  if (error) *why = error.message();
  return !error;
}

void ShowProgress(std::FILE* err, size_t done, size_t total) {
  std::fprintf(err, "\rrendered %llu of %llu", static_cast<unsigned long long>(done),
               static_cast<unsigned long long>(total));
  std::fflush(err);
}

// Spaces over the progress line, so that a failure's line starts on a clean one.
void ClearProgress(std::FILE* err) { std::fputs("\r                                          \r", err); }

}  // namespace

bool NamesFolder(const std::string& output) {
  if (!output.empty() && (output.back() == '/' || output.back() == fs::path::preferred_separator)) return true;
  std::error_code error;
  return !output.empty() && output != "-" && fs::is_directory(fs::u8path(output), error);
}

std::vector<BatchJob> PlanBatch(const std::vector<std::string>& inputs, const std::string& folder,
                                const std::string& extension) {
  std::vector<BatchJob> jobs;
  std::set<fs::path> outputs;
  const fs::path target = fs::u8path(folder);
  auto plan = [&](const fs::path& setting, fs::path relative) {
    relative.replace_extension(fs::u8path(extension));
    const fs::path output = (target / relative).lexically_normal();
    if (!outputs.insert(output).second) {
      jobs.push_back({setting.u8string(), "", "not rendered: another setting renders to " + output.u8string()});
    } else {
      jobs.push_back({setting.u8string(), output.u8string(), ""});
    }
  };
  for (const std::string& input : inputs) {
    const fs::path path = fs::u8path(input);
    std::error_code error;
    if (!fs::is_directory(path, error)) {
      plan(path, path.filename());
      continue;
    }
    // The folder keeps its own name under FOLDER, so that two folders given do not mix.
    fs::path whole = fs::absolute(path, error).lexically_normal();
    if (whole.filename().empty()) whole = whole.parent_path();  // "tones/" names "tones"
    const fs::path name = whole.filename();
    for (const auto& found : SettingsUnder(path, &jobs)) plan(found.first, name / found.second);
  }
  return jobs;
}

int RunBatch(const std::vector<BatchJob>& jobs, bool progress, std::FILE* err,
             const std::function<int(const BatchJob& job)>& render) {
  int worst = kExitSuccess;
  size_t failed = 0;
  for (size_t i = 0; i < jobs.size(); ++i) {
    const BatchJob& job = jobs[i];
    if (progress) ClearProgress(err);
    int code = kExitSuccess;
    std::string why;
    if (!job.refusal.empty()) {
      code = Fail(err, kExitUsageError, job.setting, job.refusal);
    } else if (!MakeFolderOf(job.output, &why)) {
      code = Fail(err, kExitFileError, job.output, "its folder cannot be made: " + why);
    } else {
      code = render(job);
    }
    if (code != kExitSuccess) ++failed;
    worst = std::max(worst, code);
    if (progress) ShowProgress(err, i + 1, jobs.size());
  }
  if (progress) ClearProgress(err);
  if (failed > 0) {
    std::fprintf(err, "sonaril-cli: %llu of %llu settings were not rendered\n", static_cast<unsigned long long>(failed),
                 static_cast<unsigned long long>(jobs.size()));
  }
  return worst;
}
