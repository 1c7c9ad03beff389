// Writing a generated tone to a file: a WAV file of 16-bit mono linear PCM or of 8-bit
// G.711 (u-law or A-law), or bare G.711 bytes. The main window's export and the
// command-line tool both write through here, so their files are identical.
#pragma once
#include <cstdint>

#include "synth/sample_source.h"

enum class ExportFormat : int32_t { Wave = 0, MuLaw = 1, ALaw = 2, WaveMuLaw = 3, WaveALaw = 4 };

enum class ExportResult : int32_t {
  Written = 0,   // every byte reached the file
  Exists,        // the file exists and overwrite was not asked for; it is untouched
  CannotCreate,  // the file could not be created (no such folder, no permission, bad format)
  Incomplete,    // not every byte reached the file: a write, the WAV header or the close failed
  OutOfMemory,   // the G.711 bytes could not be allocated; the created file is removed
};

// Writes count samples at sampling_frequency to path (wide, as the platform's calls take it).
// With overwrite false an existing file is never touched.
ExportResult WriteExport(const wchar_t* path, ExportFormat format, const int16_t* samples,
                         int32_t count, int32_t sampling_frequency, bool overwrite);
// The same for count samples that source hands over a run at a time, as a tone synthesised
// on the way is, so that it is written without ever being held whole. A source that runs
// dry early leaves an Incomplete file.
ExportResult WriteExport(const wchar_t* path, ExportFormat format, CSampleSource* source,
                         int32_t count, int32_t sampling_frequency, bool overwrite);

// Bytes an export of count samples takes on disk.
uint64_t ExportFileSize(ExportFormat format, int32_t count);
