// Saving a whole file without ever destroying the previous one: the new bytes
// go to a temporary file in the same folder, are flushed to disk, and only then
// replace the target in one step.
#pragma once

#include <cstdint>
#include <string>

#include "files/string.h"

// Appended to the target's path to name the temporary file. A stale temporary
// file left by an interrupted save is overwritten by the next save.
constexpr char kSafeSaveSuffix[] = ".saving.tmp";

// The temporary file a safe save of path (UTF-8) writes first, in the same folder: path
// with kSafeSaveSuffix, or, when that would make a file name longer than file systems
// allow (255), a short name made from the path ("~" and eight hex digits, then the
// suffix), so that any file that can be written in place can be saved safely.
std::string SafeSaveTemporaryPath(const std::string& path);

// Writes count bytes as the whole content of path (UTF-8). True only when every
// byte reached the disk and the file was replaced. On any failure the target is
// left exactly as it was, the temporary file is removed, a debug line names the
// failure and the result is false. An empty path fails.
bool SaveFileSafely(const CString& path, const void* bytes, uint32_t count);
