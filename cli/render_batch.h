// Rendering many settings in one run: files and folders of .ton files into one folder.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

struct BatchJob {
  std::string setting;  // UTF-8
  std::string output;   // UTF-8; empty when the job is refused before rendering
  std::string refusal;  // why it is refused, one sentence
};

// True when `output` names a folder: it ends in a path separator or is an existing folder.
bool NamesFolder(const std::string& output);

// The jobs for the inputs: a file renders to FOLDER/NAME.EXTENSION, the .ton files of a
// folder (searched through its sub-folders, in name order) to FOLDER/ITS NAME/ and the same
// sub-folders.
// Two inputs that would write one output keep the first; the second is refused.
std::vector<BatchJob> PlanBatch(const std::vector<std::string>& inputs, const std::string& folder,
                                const std::string& extension);

// Renders every job through render (which reports its own failure as one line on err and
// returns its exit code), creating sub-folders as needed, and goes on after a failure.
// With progress, a line on err counts the files done. Returns 0 when every job rendered,
// else the highest exit code of those that failed.
int RunBatch(const std::vector<BatchJob>& jobs, bool progress, std::FILE* err,
             const std::function<int(const BatchJob& job)>& render);
