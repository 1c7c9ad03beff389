#include "files/tone_export.h"

#include <algorithm>
#include <vector>

#include "files/file.h"
#include "files/safe_save_platform.h"
#include "files/wave_file.h"
#include "synth/g711_codec.h"

namespace {

// Samples already in memory, handed over as one run.
class CBufferSource : public CSampleSource {
 public:
  CBufferSource(const int16_t* samples, int32_t count) : samples_(samples), count_(count) {}
  const int16_t* NextRun(int32_t* count) override {
    *count = given_ ? 0 : count_;
    given_ = true;
    return *count > 0 ? samples_ : nullptr;
  }

 private:
  const int16_t* samples_;
  int32_t count_;
  bool given_ = false;
};

// File creation answers -2 only when the file exists; every other failure is -1.
ExportResult ClassifyCreateFailure(int result) {
  return result == -2 ? ExportResult::Exists : ExportResult::CannotCreate;
}

// The next run of at most left samples; null when the source has none.
const int16_t* NextRunOf(CSampleSource* source, int32_t left, int32_t* run) {
  const int16_t* samples = source->NextRun(run);
  if (samples == nullptr || *run <= 0) return nullptr;
  *run = std::min(*run, left);
  return samples;
}

ExportResult WriteWave(const wchar_t* path, CSampleSource* source, int32_t count,
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
  bool written = true;
  for (int32_t done = 0; written && done < count;) {
    int32_t run = 0;
    const int16_t* samples = NextRunOf(source, count - done, &run);
    written = samples != nullptr && file.WriteData(samples, static_cast<uint32_t>(run) * 2u);
    done += run;
  }
  // The header gets its sizes only now; it counts as much as the samples.
  const bool finished = file.Finish();
  return written && finished ? ExportResult::Written : ExportResult::Incomplete;
}

ExportResult WriteG711(const wchar_t* path, G711Law law, CSampleSource* source, int32_t count,
                       bool overwrite) {
  CFile file;
  int created = file.OpenWrite(path, overwrite ? 1 : 0);
  if (created != 0) return ClassifyCreateFailure(created);
  CG711Codec codec;
  codec.BuildTables();
  std::vector<uint8_t> bytes;
  bool written = true;
  for (int32_t done = 0; written && done < count;) {
    int32_t run = 0;
    const int16_t* samples = NextRunOf(source, count - done, &run);
    if (samples == nullptr) {
      written = false;
      break;
    }
    if (!EncodeWithCodec(codec, samples, static_cast<size_t>(run), law, &bytes)) {
      // A part-written file would pass for a shorter export: leave nothing behind.
      file.Close();
      CString created_path(path);
      safe_save_platform::RemoveFile(created_path);
      return ExportResult::OutOfMemory;
    }
    written = file.Write(bytes.data(), static_cast<uint32_t>(run)) == static_cast<uint32_t>(run);
    done += run;
  }
  const bool finished = file.Finish();
  return written && finished ? ExportResult::Written : ExportResult::Incomplete;
}

}  // namespace

ExportResult WriteExport(const wchar_t* path, ExportFormat format, const int16_t* samples,
                         int32_t count, int32_t sampling_frequency, bool overwrite) {
  if (count < 0 || (count > 0 && samples == nullptr)) return ExportResult::CannotCreate;
  CBufferSource source(samples, count);
  return WriteExport(path, format, &source, count, sampling_frequency, overwrite);
}

ExportResult WriteExport(const wchar_t* path, ExportFormat format, CSampleSource* source,
                         int32_t count, int32_t sampling_frequency, bool overwrite) {
  if (count < 0 || source == nullptr) return ExportResult::CannotCreate;
  switch (format) {
    case ExportFormat::Wave:
      return WriteWave(path, source, count, sampling_frequency, overwrite);
    case ExportFormat::MuLaw:
      return WriteG711(path, G711Law::MuLaw, source, count, overwrite);
    case ExportFormat::ALaw:
      return WriteG711(path, G711Law::ALaw, source, count, overwrite);
  }
  return ExportResult::CannotCreate;
}

uint64_t ExportFileSize(ExportFormat format, int32_t count) {
  uint64_t samples = count > 0 ? static_cast<uint64_t>(count) : 0;
  return format == ExportFormat::Wave ? CWaveFile::kHeaderBytes + 2 * samples : samples;
}
