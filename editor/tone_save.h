// The main window's export: the export dialog, then the file written from the generated
// samples. An existing file is replaced only after the user agrees (the question's default
// is No); a file that cannot be written whole is reported in a message box.
#pragma once
#include <windows.h>

#include <cstdint>

#include "synth/g711_codec.h"

// "Save File": runs the export dialog (owner: the main window) and writes the samples in
// the chosen format to the chosen name. Nothing happens after Cancel or with an empty name.
void RunToneExport(HWND owner, const int16_t* samples, int32_t count, int32_t sampling_frequency);

// count samples at sampling_frequency as a WAV file of 16-bit mono linear PCM at path.
void SaveWaveFile(HWND owner, const wchar_t* path, const int16_t* samples, int32_t count,
                  int32_t sampling_frequency);
// count samples as bare G.711 bytes of the law at path, one a sample, no header.
void SaveG711File(HWND owner, const wchar_t* path, G711Law law, const int16_t* samples, int32_t count);
