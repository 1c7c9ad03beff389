// The operating system's side of SaveFileSafely.
#pragma once

#include "files/string.h"

namespace safe_save_platform {

// Replaces target by source in one step (source disappears); false when the
// target was not replaced.
bool ReplaceTarget(const CString& source, const CString& target);
// Removes a file, ignoring failure.
void RemoveFile(const CString& path);

}  // namespace safe_save_platform
