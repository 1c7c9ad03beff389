// The two facts about the running process that the configuration needs from the
// platform: where the executable lies and which folder the process works in.
#pragma once

#include "files/string.h"

// Full path of the running executable. False, with path cleared, when the
// platform cannot tell. Long paths are returned whole, never cut short.
bool QueryExecutablePath(CString* path);

// The process's working directory, as the platform reports it. False, with path
// cleared, when the platform cannot tell.
bool QueryWorkingDirectory(CString* path);
