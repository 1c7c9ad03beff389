#include "files/tone_export.h"

#include <vector>

#include "files/file.h"
#include "files/safe_save_platform.h"
#include "files/wave_file.h"
#include "synth/g711_codec.h"

namespace {

// File creation answers -2 only when the file exists; every other failure is -1.
ExportResult ClassifyCreateFailure(int result) {
  return result == -2 ? ExportResult::Exists : ExportResult::CannotCreate;
}

ExportResult WriteWave(const wchar_t* path, const int16_t* samples, int32_t count,
                       int32_t sampling_frequency, bool overwrite) {
  CWaveFile file;
  AudioFormat format{};
  format.kind = 1;
  format.samples_per_second = sampling_frequency;
  format.channels = 1;
  format.bits_per_sample = 16;
  file.SetFormat(&format);
  int created = file.Create(path, overwrite ? 1 : 0);
  if (created != 0) return ClassifyCreateFailure(created);
  uint32_t bytes = static_cast<uint32_t>(count) * 2u;
  bool written = count == 0 || file.WriteData(samples, bytes);
  file.Close();
  return written ? ExportResult::Written : ExportResult::Incomplete;
}

ExportResult WriteG711(const wchar_t* path, G711Law law, const int16_t* samples, int32_t count,
                       bool overwrite) {
  CFile file;
  int created = file.OpenWrite(path, overwrite ? 1 : 0);
  if (created != 0) return ClassifyCreateFailure(created);
  std::vector<uint8_t> bytes;
  if (!EncodeG711(samples, static_cast<size_t>(count), law, &bytes)) {
    // An empty file would pass for a silent export: leave nothing behind.
    file.Close();
    CString created_path(path);
    safe_save_platform::RemoveFile(created_path);
    return ExportResult::OutOfMemory;
  }
  uint32_t written = count == 0 ? 0 : file.Write(bytes.data(), static_cast<uint32_t>(count));
  file.Close();
  return written == static_cast<uint32_t>(count) ? ExportResult::Written : ExportResult::Incomplete;
}

}  // namespace

ExportResult WriteExport(const wchar_t* path, ExportFormat format, const int16_t* samples,
                         int32_t count, int32_t sampling_frequency, bool overwrite) {
  if (count < 0 || (count > 0 && samples == nullptr)) return ExportResult::CannotCreate;
  switch (format) {
    case ExportFormat::Wave:
      return WriteWave(path, samples, count, sampling_frequency, overwrite);
    case ExportFormat::MuLaw:
      return WriteG711(path, G711Law::MuLaw, samples, count, overwrite);
    case ExportFormat::ALaw:
      return WriteG711(path, G711Law::ALaw, samples, count, overwrite);
  }
  return ExportResult::CannotCreate;
}

uint64_t ExportFileSize(ExportFormat format, int32_t count) {
  uint64_t samples = count > 0 ? static_cast<uint64_t>(count) : 0;
  return format == ExportFormat::Wave ? CWaveFile::kHeaderBytes + 2 * samples : samples;
}
